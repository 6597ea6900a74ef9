// DBEngine, workspaces, query definitions with parameters, recordsets on tables.
#include "EngineTestSupport.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace enginetest;

using enginetest::errorOf;

namespace {

class ObjectModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = folder.file("db_inv.mdb").toStdString();
        makeSampleInventory(engine, path);
        db = engine.openDatabase(path);
    }
    testsupport::TempFolder folder;
    dao::DBEngine engine;
    std::string path;
    std::shared_ptr<dao::Database> db;
};


} // namespace

TEST_F(ObjectModel, EngineAndWorkspacesBehaveAsDaosDo)
{
    EXPECT_EQ(engine.version(), "3.6");
    EXPECT_EQ(dao::DBEngine("3.5").version(), "3.5");
    engine.setSystemDB("");
    engine.setDefaultUser("Admin");
    engine.setDefaultPassword("");
    engine.setDefaultType(dao::dbUseJet);
    auto ws = engine.createWorkspace("DaoWorkspace", "Admin", "", dao::dbUseJet);
    engine.appendWorkspace(ws);
    EXPECT_EQ(engine.workspaces().count(), 2);
    EXPECT_EQ(engine.workspaces().item("daoworkspace")->name(), "DaoWorkspace");
    EXPECT_EQ(errorOf([&] { engine.workspaces().item("nope"); }), 3265);
    auto other = ws->openDatabase(path, 0, false, ";UID=Admin;PWD=;");
    EXPECT_EQ(ws->databases().count(), 1);
    EXPECT_EQ(other->name(), path);
    engine.idle(dao::dbFreeLocks);
    engine.idle(dao::dbRefreshCache);
    ws->close();
    EXPECT_FALSE(other->isOpen());
    EXPECT_EQ(errorOf([&] { ws->openDatabase(path); }), 3420);
}

TEST_F(ObjectModel, ReadOnlyOpenRefusesWrites)
{
    auto ro = engine.openDatabase(path, 0, true);
    EXPECT_FALSE(ro->updatable());
    EXPECT_EQ(errorOf([&] { ro->execute("DELETE FROM inventur", dao::dbFailOnError); }), 3027);
    auto rs = ro->openRecordset("inventur");
    EXPECT_FALSE(rs->updatable());
    EXPECT_EQ(rs->recordCount(), 35);
}

TEST_F(ObjectModel, SavedQueriesKeepTheirSqlAndParameters)
{
    auto q = db->createQueryDef("Liste", "PARAMETERS [Welche] Long; SELECT NR FROM inventur WHERE Inventurliste = [Welche] ORDER BY NR");
    EXPECT_EQ(errorOf([&] { db->createQueryDef("liste", "SELECT * FROM inventur"); }), 3012);
    ASSERT_EQ(q->parameters().count(), 1);
    EXPECT_EQ(q->parameters().item(0)->name(), "Welche");
    EXPECT_EQ(q->parameters().item(0)->type(), dao::dbLong);
    EXPECT_EQ(errorOf([&] { q->openRecordset(); }), 3061);
    q->parameter("Welche")->setValue(dao::Variant(2));
    auto rs = q->openRecordset(dao::dbOpenSnapshot);
    EXPECT_EQ(rowsOf(*rs), QJsonArray({QJsonArray{8}, QJsonArray{8}, QJsonArray{1003}, QJsonArray{4711},
                                       QJsonArray{999999}}));
    q->setMaxRecords(2);
    rs = q->openRecordset();
    rs->moveLast();
    EXPECT_EQ(rs->recordCount(), 2);

    // Saved in the file: a second connection lists and runs it by name.
    dao::DBEngine other;
    auto second = other.openDatabase(path);
    ASSERT_TRUE(second->queryDefs().contains("LISTE"));
    EXPECT_EQ(second->queryDefs().item("Liste")->sql(), q->sql());
    EXPECT_EQ(errorOf([&] { second->openRecordset("Liste"); }), 3061);
    second->deleteQueryDef("Liste");
    EXPECT_EQ(errorOf([&] { second->queryDefs().item("Liste"); }), 3265);
    db->queryDefs().refresh();
    EXPECT_FALSE(db->queryDefs().contains("Liste"));
}

TEST_F(ObjectModel, UndeclaredNamesAreParametersToo)
{
    auto q = db->createQueryDef("", "SELECT NR FROM inventur WHERE NR > [Ab] AND Inventurliste = [Liste] ORDER BY NR");
    EXPECT_TRUE(q->temporary());
    EXPECT_EQ(q->parameters().count(), 2);
    q->parameter("Ab")->setValue(dao::Variant(4000));
    EXPECT_EQ(errorOf([&] { q->openRecordset(); }), 3061);
    q->parameter("Liste")->setValue(dao::Variant(2));
    auto rs = q->openRecordset();
    EXPECT_EQ(rowsOf(*rs), QJsonArray({QJsonArray{4711}, QJsonArray{999999}}));
    db->queryDefs().refresh();
    EXPECT_EQ(db->queryDefs().count(), 0);
}

TEST_F(ObjectModel, ActionQueryDefsReportRecordsAffected)
{
    auto q = db->createQueryDef("Loeschen", "DELETE FROM inventur WHERE Inventurliste = 2");
    EXPECT_EQ(q->type(), dao::dbQDelete);
    q->execute(dao::dbFailOnError);
    EXPECT_EQ(q->recordsAffected(), 5);
    db->execute("UPDATE inventur SET Inventurliste = 3 WHERE Inventurliste = 1", dao::dbFailOnError);
    EXPECT_EQ(db->recordsAffected(), 30);
}

TEST_F(ObjectModel, TableRecordsetsWalkTheWholeTable)
{
    auto rs = db->openRecordset("inventurliste");
    EXPECT_EQ(rs->type(), dao::dbOpenTable);
    EXPECT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(rs->value("Bezeichnung").toText(), "Inventur vom: 01.07.2025");
    rs->move(1);
    EXPECT_EQ(rs->value("IDX").toLong(), 2);
    rs->move(5);
    EXPECT_TRUE(rs->eof());
    EXPECT_EQ(errorOf([&] { rs->move(1); }), 3021);
    rs->move(-1);
    EXPECT_EQ(rs->value("IDX").toLong(), 2);
    auto field = rs->field("IDX");
    EXPECT_EQ(field->attributes() & dao::dbAutoIncrField, dao::dbAutoIncrField);
    EXPECT_EQ(field->attributes() & dao::dbUpdatableField, 0);
    EXPECT_EQ(rs->field("Bezeichnung")->attributes() & dao::dbUpdatableField, dao::dbUpdatableField);
    EXPECT_EQ(errorOf([&] { rs->field("Nope"); }), 3265);
    EXPECT_EQ(errorOf([&] { rs->field("Bezeichnung")->property("Format"); }), 3270);
    EXPECT_EQ(rs->field("Bezeichnung")->property("Size")->value().toLong(), 50);

    auto fwd = db->openRecordset("SELECT NR FROM inventur ORDER BY NR", dao::dbOpenForwardOnly);
    EXPECT_EQ(errorOf([&] { fwd->movePrevious(); }), 3251);
    EXPECT_EQ(errorOf([&] { fwd->moveFirst(); }), 3251);
    int n = 0;
    while (!fwd->eof()) {
        ++n;
        fwd->moveNext();
    }
    EXPECT_EQ(n, 35);

    auto empty = db->openRecordset("SELECT NR FROM inventur WHERE NR < 0");
    EXPECT_TRUE(empty->bof());
    EXPECT_TRUE(empty->eof());
    EXPECT_EQ(empty->recordCount(), 0);
    EXPECT_EQ(empty->absolutePosition(), -1);
    EXPECT_EQ(errorOf([&] { empty->moveFirst(); }), 3021);
    EXPECT_EQ(errorOf([&] { empty->moveNext(); }), 3021);
}

TEST_F(ObjectModel, SelectIntoCopiesRowsIntoANewTable)
{
    db->execute("SELECT NR, Inventurliste INTO Kopie FROM inventur WHERE Inventurliste = 2", dao::dbFailOnError);
    EXPECT_EQ(db->recordsAffected(), 5);
    db->tableDefs().refresh();
    auto kopie = db->tableDefs().item("Kopie");
    EXPECT_EQ(kopie->fields().item("NR")->type(), dao::dbLong);
    EXPECT_EQ(kopie->recordCount(), 5);
}

TEST_F(ObjectModel, ASavedQueryServesAsATableInFrom)
{
    db->createQueryDef("ZweiteListe", "SELECT NR FROM inventur WHERE Inventurliste = 2");
    auto rs = db->openRecordset("SELECT DISTINCT NR FROM ZweiteListe ORDER BY NR DESC");
    EXPECT_EQ(rowsOf(*rs), QJsonArray({QJsonArray{999999}, QJsonArray{4711}, QJsonArray{1003}, QJsonArray{8}}));
    EXPECT_EQ(rs->field("NR")->type(), dao::dbLong);
    auto byName = db->openRecordset("ZweiteListe");
    byName->moveLast();
    EXPECT_EQ(byName->recordCount(), 5);
    db->queryDefs().item("ZweiteListe")->setSql("SELECT NR FROM inventur WHERE Inventurliste = 1");
    rs = db->openRecordset("SELECT count(*) AS n FROM ZweiteListe");
    EXPECT_EQ(rs->value(0).toLong(), 30);
}

TEST_F(ObjectModel, DefaultValuesReadAsDaoShowsThem)
{
    db->execute("CREATE TABLE vorgaben (A TEXT(20) DEFAULT \"neu\", B TEXT(20) DEFAULT 'it''s \"x\"', C LONG DEFAULT 7)");
    auto rs = db->openRecordset("vorgaben", dao::dbOpenDynaset);
    EXPECT_EQ(rs->field("A")->property("DefaultValue")->value().toText(), "\"neu\"");
    EXPECT_EQ(rs->field("B")->jetDefaultValue(), "\"it's \"\"x\"\"\"");
    EXPECT_EQ(rs->field("C")->jetDefaultValue(), "7");
    rs->addNew();
    rs->update();
    rs->moveFirst();
    EXPECT_EQ(rs->value("A").toText(), "neu") << "the stored expression still gives the value";
    EXPECT_EQ(rs->value("B").toText(), "it's \"x\"");
}

TEST_F(ObjectModel, EnginesComeFromTheirProgIdsAndOdbcDirectWorkspacesConnectApart)
{
    auto shared = dao::DBEngine::create("DAO.DBEngine.36");
    EXPECT_EQ(shared->version(), "3.6");
    EXPECT_FALSE(shared->isPrivate());
    auto own = dao::DBEngine::create("dao.privatedbengine.35");
    EXPECT_EQ(own->version(), "3.5");
    EXPECT_TRUE(own->isPrivate());
    EXPECT_EQ(own->progId(), "DAO.PrivateDBEngine.35");
    EXPECT_EQ(errorOf([] { dao::DBEngine::create("DAO.DBEngine.120"); }), 429);

    // A Jet workspace neither has a cursor driver nor opens connections.
    auto jet = engine.createWorkspace("Jet", "Admin", "", dao::dbUseJet);
    EXPECT_EQ(errorOf([&] { jet->setDefaultCursorDriver(dao::dbUseServerCursor); }), 3251);
    EXPECT_EQ(errorOf([&] { jet->openConnection("Katalog", dao::dbDriverNoPrompt, false, "ODBC;DSN=Katalog;"); }),
              3251);

    auto direct = engine.createWorkspace("Direkt", "Admin", "", dao::dbUseODBC);
    EXPECT_EQ(direct->defaultCursorDriver(), dao::dbUseDefaultCursor);
    direct->setDefaultCursorDriver(dao::dbUseClientBatchCursor);
    EXPECT_EQ(direct->defaultCursorDriver(), dao::dbUseClientBatchCursor);
    EXPECT_EQ(errorOf([&] { direct->setDefaultCursorDriver(7); }), 3001);
    // No ODBC driver manager is reached from here: the call fails as an ODBC call does.
    EXPECT_EQ(errorOf([&] { direct->openConnection("Katalog", dao::dbDriverNoPrompt, false, "ODBC;DSN=Katalog;"); }),
              3146);
    EXPECT_EQ(errorOf([&] { direct->openDatabase(path); }), 3146) << "its databases are ODBC data sources too";
    direct->close();
    EXPECT_EQ(errorOf([&] { direct->openConnection("Katalog"); }), 3420);
}
