// Engine-made SQLite databases: Jet metadata, auto-increment, Jet's rules on
// writes, transactions and durability across connections.
#include "EngineTestSupport.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace enginetest;

namespace {

class EngineDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = folder.file("db_inv.mdb").toStdString();
        db = engine.createDatabase(path, dao::dbLangGeneral);
        db->execute("CREATE TABLE inventurliste (IDX COUNTER PRIMARY KEY, Bezeichnung TEXT(50))", dao::dbFailOnError);
        db->execute("CREATE TABLE inventur (IDX COUNTER PRIMARY KEY, NR LONG, Inventurliste LONG)", dao::dbFailOnError);
    }
    long errorOf(const std::string& sql)
    {
        try {
            db->execute(sql, dao::dbFailOnError);
        } catch (const dao::DaoError& e) {
            return e.number();
        }
        return 0;
    }
    testsupport::TempFolder folder;
    dao::DBEngine engine;
    std::string path;
    std::shared_ptr<dao::Database> db;
};

} // namespace

TEST_F(EngineDatabase, FileIsSqliteInWalModeWithTheMetadataHidden)
{
    EXPECT_EQ(folder.read("db_inv.mdb").left(16), QByteArray("SQLite format 3\0", 16));
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(raw, "PRAGMA journal_mode", -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "wal");
    sqlite3_finalize(st);
    sqlite3_close(raw);
    std::vector<std::string> names;
    for (const auto& t : db->tableDefs())
        names.push_back(t->name());
    EXPECT_EQ(names, (std::vector<std::string>{"inventur", "inventurliste"}));
}

TEST_F(EngineDatabase, TableDefsKeepJetTypesSizesAttributesAndIndexes)
{
    db->execute("CREATE INDEX ListeNr ON inventur (Inventurliste, NR DESC)", dao::dbFailOnError);
    db->tableDefs().refresh();
    auto inv = db->tableDefs().item("INVENTUR");
    auto idx = inv->fields().item("IDX");
    EXPECT_EQ(idx->type(), dao::dbLong);
    EXPECT_EQ(idx->attributes() & dao::dbAutoIncrField, dao::dbAutoIncrField);
    EXPECT_EQ(inv->fields().item("NR")->attributes() & dao::dbUpdatableField, dao::dbUpdatableField);
    auto liste = db->tableDefs().item("inventurliste");
    EXPECT_EQ(liste->fields().item("Bezeichnung")->type(), dao::dbText);
    EXPECT_EQ(liste->fields().item("Bezeichnung")->size(), 50);
    auto listeNr = inv->indexes().item("ListeNr");
    EXPECT_FALSE(listeNr->unique());
    ASSERT_EQ(listeNr->fields().count(), 2);
    EXPECT_EQ(listeNr->fields().item(1)->name(), "NR");
    EXPECT_EQ(listeNr->fields().item(1)->attributes(), dao::dbDescending);
    bool hasPrimary = false;
    for (const auto& x : inv->indexes())
        hasPrimary = hasPrimary || x->primary();
    EXPECT_TRUE(hasPrimary);
    EXPECT_GT(inv->lastUpdated().toDouble(), 40000);
    auto rs = db->openRecordset("inventur");
    EXPECT_EQ(rs->type(), dao::dbOpenTable);
    EXPECT_TRUE(rs->updatable());
}

TEST_F(EngineDatabase, AutoIncrementValuesAreNeverReusedAfterADelete)
{
    db->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (1, 1)", dao::dbFailOnError);
    db->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (2, 1)", dao::dbFailOnError);
    db->execute("DELETE FROM inventur WHERE NR = 2", dao::dbFailOnError);
    EXPECT_EQ(db->recordsAffected(), 1);
    db->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (3, 1)", dao::dbFailOnError);
    auto rs = db->openRecordset("SELECT IDX, NR FROM inventur ORDER BY IDX");
    EXPECT_EQ(rowsOf(*rs), QJsonArray({QJsonArray{1, 1}, QJsonArray{3, 3}}));
}

TEST_F(EngineDatabase, WritesThatBreakJetsRulesGiveJetsErrors)
{
    db->execute("CREATE TABLE t (ID LONG PRIMARY KEY, Name TEXT(5) NOT NULL, Small BYTE)", dao::dbFailOnError);
    db->execute("INSERT INTO t (ID, Name) VALUES (1, 'abc')", dao::dbFailOnError);
    EXPECT_EQ(errorOf("INSERT INTO t (ID, Name) VALUES (1, 'xyz')"), 3022);
    EXPECT_EQ(errorOf("INSERT INTO t (ID, Name) VALUES (2, 'much too long')"), 3163);
    EXPECT_EQ(errorOf("INSERT INTO t (ID) VALUES (3)"), 3314);
    EXPECT_EQ(errorOf("INSERT INTO t (ID, Name, Small) VALUES (4, 'a', 256)"), 3349);
    EXPECT_EQ(errorOf("INSERT INTO inventur (NR, Inventurliste) VALUES (2147483648, 1)"), 3349);
    EXPECT_EQ(errorOf("INSERT INTO inventur (NR, Inventurliste) VALUES (-2147483649, 1)"), 3349);
    EXPECT_EQ(errorOf("INSERT INTO inventur (NR, Inventurliste) VALUES (2147483647, 1)"), 0);
    EXPECT_EQ(errorOf("CREATE TABLE t (X LONG)"), 3010);
    // Without dbFailOnError the failing row is skipped and nothing is raised.
    db->execute("INSERT INTO t (ID, Name) VALUES (1, 'dup')");
    EXPECT_EQ(db->recordsAffected(), 0);
    auto rs = db->openRecordset("SELECT * FROM t");
    rs->moveLast();
    EXPECT_EQ(rs->recordCount(), 1);
}

TEST_F(EngineDatabase, ACommittedInsertIsVisibleToASecondConnection)
{
    db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Liste A')", dao::dbFailOnError);
    dao::DBEngine other;
    auto second = other.openDatabase(path);
    auto rs = second->openRecordset("SELECT Bezeichnung FROM inventurliste");
    EXPECT_EQ(rowsOf(*rs), QJsonArray({QJsonArray{"Liste A"}}));

    db->beginTrans();
    db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Liste B')", dao::dbFailOnError);
    db->commitTrans();
    rs = second->openRecordset("SELECT count(*) AS n FROM inventurliste");
    EXPECT_EQ(rs->value(0).toLong(), 2);
}

TEST_F(EngineDatabase, RollbackLeavesNothing)
{
    auto ws = engine.workspaces().item(0);
    ws->beginTrans();
    db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('weg')", dao::dbFailOnError);
    db->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (5, 1)", dao::dbFailOnError);
    ws->rollback();
    auto rs = db->openRecordset("SELECT count(*) AS n FROM inventur");
    EXPECT_EQ(rs->value(0).toLong(), 0);
    db->close();
    auto again = engine.openDatabase(path);
    rs = again->openRecordset("SELECT count(*) AS n FROM inventurliste");
    EXPECT_EQ(rs->value(0).toLong(), 0);
    try {
        ws->commitTrans();
        FAIL() << "commit without a transaction";
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), 3034);
    }
}

TEST_F(EngineDatabase, TextComparesWithoutRegardToCase)
{
    db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Müller')", dao::dbFailOnError);
    auto rs = db->openRecordset("SELECT IDX FROM inventurliste WHERE Bezeichnung = 'MÜLLER'");
    EXPECT_FALSE(rs->eof());
}

TEST_F(EngineDatabase, DropTableRemovesTableAndMetadata)
{
    db->execute("CREATE TABLE weg (A LONG)", dao::dbFailOnError);
    db->execute("DROP TABLE weg", dao::dbFailOnError);
    db->tableDefs().refresh();
    EXPECT_FALSE(db->tableDefs().contains("weg"));
    EXPECT_EQ(errorOf("DROP TABLE weg"), 3376);
}

TEST_F(EngineDatabase, ColumnTypesKeepJetsValues)
{
    db->execute("CREATE TABLE werte (ID COUNTER PRIMARY KEY, Datum DATETIME, Preis CURRENCY, Da YESNO, Notiz MEMO, "
                "Zahl DOUBLE, Klein BYTE, Ganz SHORT)",
                dao::dbFailOnError);
    db->execute("INSERT INTO werte (Datum, Preis, Da, Notiz, Zahl, Klein, Ganz) VALUES (#1/15/2003 13:05:00#, "
                "1.23456, True, 'lang', 0.5, 255, -32768)",
                dao::dbFailOnError);
    auto rs = db->openRecordset("werte");
    EXPECT_EQ(rs->field("Datum")->type(), dao::dbDate);
    EXPECT_EQ(rs->value("Datum").toText(), "2003-01-15 13:05:00");
    EXPECT_DOUBLE_EQ(rs->value("Datum").toDouble(), dao::jetDateFromParts(2003, 1, 15, 13, 5));
    EXPECT_EQ(rs->field("Preis")->type(), dao::dbCurrency);
    EXPECT_EQ(rs->value("Preis").toText(), "1.2346");
    EXPECT_EQ(rs->value("Da").type(), dao::VarType::Boolean);
    EXPECT_EQ(rs->value("Da").toLong(), -1);
    EXPECT_EQ(rs->field("Notiz")->type(), dao::dbMemo);
    EXPECT_EQ(rs->value("Klein").type(), dao::VarType::Byte);
    EXPECT_EQ(rs->field("Ganz")->type(), dao::dbInteger);
    EXPECT_EQ(rs->value("Ganz").toLong(), -32768);
    // The stored currency is rounded too, so comparisons in SQL see four decimals.
    auto exact = db->openRecordset("SELECT ID FROM werte WHERE Preis = 1.2346");
    EXPECT_FALSE(exact->eof());
    auto yes = db->openRecordset("SELECT ID FROM werte WHERE Da = True");
    EXPECT_FALSE(yes->eof());
    EXPECT_EQ(errorOf("INSERT INTO werte (Ganz) VALUES (32768)"), 3349);
    EXPECT_EQ(errorOf("INSERT INTO werte (Zahl) VALUES ('keine Zahl')"), 3464);
}
