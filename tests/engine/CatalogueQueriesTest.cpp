// The five catalogue checks and the capture's duplicate test, exactly as the
// program builds them, on the genuine Access catalogue fixture.
#include "EngineTestSupport.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

class CatalogueQueries : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = folder.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb").toStdString();
        db = engine.openDatabase(path);
    }
    testsupport::TempFolder folder;
    dao::DBEngine engine;
    std::string path;
    std::shared_ptr<dao::Database> db;
};

// The query text a check sends: the documented SQL, in Windows-1252 as the program hands it over.
std::string checkSql(const QJsonObject& query)
{
    const QByteArray bytes = query.value("sql").toString().toLatin1();
    return std::string(bytes.constData(), bytes.size());
}

} // namespace

TEST_F(CatalogueQueries, EveryCheckReturnsTheDocumentedRowsInOrder)
{
    const QJsonObject queries = expectedQueries();
    ASSERT_EQ(queries.size(), 5);
    for (const QString& key : queries.keys()) {
        SCOPED_TRACE(key.toStdString());
        const QJsonObject q = queries.value(key).toObject();
        auto rs = db->openRecordset(checkSql(q), dao::dbOpenDynaset, 0, dao::dbOptimistic);
        const QJsonArray rows = rowsOf(*rs);
        EXPECT_EQ(rows.size(), q.value("count").toInt());
        EXPECT_EQ(rows, q.value("rows").toArray());
    }
}

TEST_F(CatalogueQueries, ChecksAreBuiltFromTheBaseTextAsTheProgramDoes)
{
    // The same texts assembled from the base text match the documented ones byte for byte.
    const QJsonObject queries = expectedQueries();
    EXPECT_EQ(baseQuery() + " ORDER BY EXEMPLAR.EXEMPLARNUMMER", checkSql(queries.value("alle").toObject()));
    EXPECT_EQ(baseQuery() + " AND TITEL.HAUPTTITEL =  TITEL.HAUPTEINTRAG ORDER BY EXEMPLAR.EXEMPLARNUMMER",
              checkSql(queries.value("titel_gleich_autor").toObject()));
}

TEST_F(CatalogueQueries, ResultFieldsReportTheJetTypesOfTheirSourceColumns)
{
    auto rs = db->openRecordset(baseQuery() + " ORDER BY EXEMPLAR.EXEMPLARNUMMER");
    ASSERT_EQ(rs->fields().count(), 3);
    EXPECT_EQ(rs->field("BUCHNR")->type(), dao::dbLong);
    EXPECT_EQ(rs->field("TITEL")->type(), dao::dbText);
    EXPECT_EQ(rs->field("TITEL")->size(), 255);
    EXPECT_EQ(rs->field("AUTOR")->type(), dao::dbText);
    EXPECT_EQ(rs->field("AUTOR")->size(), 50);
    EXPECT_EQ(rs->field(0)->name(), "BUCHNR");
    EXPECT_EQ(rs->field("buchnr")->sourceField(), "EXEMPLARNUMMER");
    EXPECT_EQ(rs->field("TITEL")->sourceTable(), "TITEL");
    EXPECT_EQ(rs->value("BUCHNR").type(), dao::VarType::Long);
    EXPECT_FALSE(rs->updatable());
}

TEST_F(CatalogueQueries, RecordCountFollowsVisitedRowsUntilMoveLast)
{
    auto rs = db->openRecordset(baseQuery() + " ORDER BY EXEMPLAR.EXEMPLARNUMMER", dao::dbOpenDynaset);
    EXPECT_FALSE(rs->bof());
    EXPECT_EQ(rs->recordCount(), 1);
    rs->moveLast();
    EXPECT_EQ(rs->recordCount(), 67);
    EXPECT_EQ(rs->value("BUCHNR").toLong(), 2147483647);
    EXPECT_EQ(rs->absolutePosition(), 66);
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_THROW(rs->field("BUCHNR")->value(), dao::DaoError);
    rs->movePrevious();
    EXPECT_EQ(rs->value(0).toLong(), 2147483647);
    rs->moveFirst();
    rs->movePrevious();
    EXPECT_TRUE(rs->bof());
    try {
        rs->movePrevious();
        FAIL() << "MovePrevious at BOF";
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), 3021);
    }
}

TEST_F(CatalogueQueries, TextColumnsKeepNullApartFromEmptyText)
{
    auto rs = db->openRecordset("SELECT HAUPTTITEL, HAUPTEINTRAG FROM TITEL WHERE Buchungsnummer = 104");
    EXPECT_TRUE(rs->value(0).isNull());
    rs = db->openRecordset("SELECT HAUPTTITEL, HAUPTEINTRAG FROM TITEL WHERE Buchungsnummer = 106");
    EXPECT_FALSE(rs->value(0).isNull());
    EXPECT_EQ(rs->value(0).toText(), "");
    rs = db->openRecordset("SELECT HAUPTTITEL FROM TITEL WHERE Buchungsnummer = 130");
    EXPECT_EQ(rs->value(0).toText(), "Preise in \u20ac und \u201aRabatte\u2018");
}

TEST_F(CatalogueQueries, OtherColumnTypesReadAsJetStoresThem)
{
    auto rs = db->openRecordset("EXEMPLAR", dao::dbOpenTable);
    EXPECT_EQ(rs->recordCount(), 70);
    auto ex = db->openRecordset("SELECT PREIS, AUSGELIEHEN, STANDORT FROM EXEMPLAR WHERE EXEMPLARNUMMER = 1");
    EXPECT_EQ(ex->field("PREIS")->type(), dao::dbCurrency);
    EXPECT_DOUBLE_EQ(ex->value("PREIS").toDouble(), 12.87);
    EXPECT_EQ(ex->field("AUSGELIEHEN")->type(), dao::dbBoolean);
    EXPECT_TRUE(ex->value("AUSGELIEHEN").toBool());
    EXPECT_EQ(ex->value("AUSGELIEHEN").toLong(), -1);
    auto t = db->openRecordset("SELECT JAHR, ERFASST FROM TITEL WHERE Buchungsnummer = 101");
    EXPECT_EQ(t->field("JAHR")->type(), dao::dbInteger);
    EXPECT_EQ(t->value("JAHR").toLong(), 1983);
    EXPECT_EQ(t->field("ERFASST")->type(), dao::dbDate);
    EXPECT_EQ(t->value("ERFASST").toText(), "2018-02-24 17:49:11");
    auto users = db->openRecordset("SELECT [Voller Name] FROM [Benutzer Daten] ORDER BY [Benutzer Nr]");
    EXPECT_EQ(rowsOf(*users), QJsonArray({QJsonArray{"Müller, Maria"}, QJsonArray{"König, Jörg"},
                                          QJsonArray{QJsonValue::Null}}));
}

TEST_F(CatalogueQueries, TableDefsDescribeTheAccessTables)
{
    auto& defs = db->tableDefs();
    auto titel = defs.item("titel");
    EXPECT_EQ(titel->name(), "TITEL");
    EXPECT_EQ(titel->fields().item("HAUPTTITEL")->size(), 255);
    EXPECT_EQ(titel->fields().item("Buchungsnummer")->type(), dao::dbLong);
    auto pk = titel->indexes().item("PrimaryKey");
    EXPECT_TRUE(pk->primary());
    EXPECT_TRUE(pk->unique());
    EXPECT_EQ(pk->fields().item(0)->name(), "Buchungsnummer");
    auto exemplar = defs.item("EXEMPLAR");
    EXPECT_TRUE(exemplar->indexes().item("EXEMPLARNUMMER")->unique());
    EXPECT_FALSE(exemplar->indexes().item("TITEL")->unique());
    EXPECT_GT(exemplar->dateCreated().toDouble(), 30000);
    bool sawSystem = false;
    for (const auto& t : defs)
        if (t->name() == "MSysObjects")
            sawSystem = (t->attributes() & dao::dbSystemObject) == dao::dbSystemObject;
    EXPECT_TRUE(sawSystem);
    EXPECT_EQ(db->version(), "4.0");
    EXPECT_EQ(db->collatingOrder(), dao::dbSortGeneral);
    EXPECT_FALSE(db->updatable());
}
