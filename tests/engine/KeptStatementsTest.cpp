// Statements and translations the engine keeps by their text: the same text
// run again after the schema changed, inside and after transactions, and
// from several recordsets at once, reads what the database holds now.
#include "EngineTestSupport.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

class KeptStatements : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = engine.createDatabase(folder.file("kept.mdb").toStdString(), dao::dbLangGeneral);
        db->execute("CREATE TABLE t (IDX COUNTER PRIMARY KEY, NR LONG)", dao::dbFailOnError);
        for (int nr : {30, 10, 20})
            db->execute("INSERT INTO t (NR) VALUES (" + std::to_string(nr) + ")", dao::dbFailOnError);
    }
    QJsonArray rows(const std::string& sql) { return rowsOf(*db->openRecordset(sql, dao::dbOpenDynaset)); }

    testsupport::TempFolder folder;
    dao::DBEngine engine;
    std::shared_ptr<dao::Database> db;
};

} // namespace

TEST_F(KeptStatements, TheSameTextAfterATableWasMadeAnewShowsItsNewColumns)
{
    const std::string all = "SELECT * FROM t ORDER BY NR";
    EXPECT_EQ(rows(all), (QJsonArray{QJsonArray{2, 10}, QJsonArray{3, 20}, QJsonArray{1, 30}}));
    db->execute("DROP TABLE t", dao::dbFailOnError);
    db->execute("CREATE TABLE t (IDX COUNTER PRIMARY KEY, NR LONG, Titel TEXT(20))", dao::dbFailOnError);
    db->execute("INSERT INTO t (NR, Titel) VALUES (5, 'neu')", dao::dbFailOnError);
    EXPECT_EQ(rows(all), (QJsonArray{QJsonArray{1, 5, "neu"}}));

    // A table-type recordset reads its rows by the same kept texts.
    auto table = db->openRecordset("t", dao::dbOpenTable);
    EXPECT_EQ(table->fields().count(), 3);
    EXPECT_EQ(table->value(2).toText(), "neu");
}

TEST_F(KeptStatements, ATableRolledBackIsGoneForTheTextThatNamedIt)
{
    db->beginTrans();
    db->execute("CREATE TABLE u (NR LONG)", dao::dbFailOnError);
    db->execute("INSERT INTO u (NR) VALUES (1)", dao::dbFailOnError);
    EXPECT_EQ(rows("SELECT NR FROM u"), (QJsonArray{QJsonArray{1}}));
    db->rollback();
    EXPECT_EQ(errorOf([&] { rows("SELECT NR FROM u"); }), 3078);
}

TEST_F(KeptStatements, RecordsetsOnTheSameTextReadTheirOwnRows)
{
    auto up = db->openRecordset("SELECT NR FROM t ORDER BY NR", dao::dbOpenDynaset);
    auto down = db->openRecordset("SELECT NR FROM t ORDER BY NR", dao::dbOpenDynaset);
    down->moveLast();
    std::vector<int> seen;
    for (; !up->eof(); up->moveNext(), down->movePrevious())
        seen.insert(seen.end(), {up->value(0).toLong(), down->value(0).toLong()});
    EXPECT_EQ(seen, (std::vector<int>{10, 30, 20, 20, 30, 10}));

    // A write between two reads of a kept statement shows at the next read.
    auto editable = db->openRecordset("SELECT * FROM t ORDER BY NR", dao::dbOpenDynaset);
    editable->edit();
    editable->setValue("NR", dao::Variant::longValue(11));
    editable->update();
    up->moveFirst();
    EXPECT_EQ(up->value(0).toLong(), 11);
}

TEST_F(KeptStatements, AParameterisedActionRunsAgainWithNewValues)
{
    auto insert = db->createQueryDef({}, "PARAMETERS [Nummer] Long; INSERT INTO t (NR) VALUES ([Nummer])");
    for (int nr : {40, 50}) {
        insert->parameter("Nummer")->setValue(dao::Variant::longValue(nr));
        insert->execute(dao::dbFailOnError);
    }
    EXPECT_EQ(rows("SELECT NR FROM t WHERE NR >= 40 ORDER BY NR"), (QJsonArray{QJsonArray{40}, QJsonArray{50}}));
    // A value that breaks a rule stops that run only; the next one runs.
    db->execute("CREATE UNIQUE INDEX Eindeutig ON t (NR)", dao::dbFailOnError);
    insert->parameter("Nummer")->setValue(dao::Variant::longValue(50));
    EXPECT_EQ(errorOf([&] { insert->execute(dao::dbFailOnError); }), 3022);
    insert->parameter("Nummer")->setValue(dao::Variant::longValue(60));
    insert->execute(dao::dbFailOnError);
    EXPECT_EQ(rows("SELECT COUNT(*) FROM t"), (QJsonArray{QJsonArray{6}}));
}
