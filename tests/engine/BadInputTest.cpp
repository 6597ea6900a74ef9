// Bad files, names and statements give Jet's errors, never a crash.
#include "EngineTestSupport.h"

#include "tests/support/Fixtures.h"
#include "tests/support/TempFolder.h"

#include <QFile>
#include <QRandomGenerator>
#include <functional>
#include <gtest/gtest.h>

using namespace enginetest;

using enginetest::errorOf;

namespace {


class BadInput : public ::testing::Test {
protected:
    testsupport::TempFolder folder;
    dao::DBEngine engine;
};

} // namespace

TEST_F(BadInput, MissingFilesAndFoldersGiveJetsFileErrors)
{
    const std::string missing = folder.file("nichtda.mdb").toStdString();
    try {
        engine.openDatabase(missing);
        FAIL();
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), 3024);
        EXPECT_EQ(e.description(), "Could not find file '" + missing + "'.");
    }
    EXPECT_EQ(errorOf([&] { engine.openDatabase(folder.file("nodir/x.mdb").toStdString()); }), 3044);
    EXPECT_EQ(errorOf([&] { engine.createDatabase(folder.file("nodir/x.mdb").toStdString(), dao::dbLangGeneral); }),
              3044);
}

TEST_F(BadInput, TruncatedAndRandomFilesAreUnrecognizedFormats)
{
    const QByteArray genuine = [] {
        QFile f(testsupport::fixturePath("catalogue/veltrano.mdb"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    folder.write("half.mdb", genuine.left(10000));
    folder.write("header.mdb", genuine.left(100));
    folder.write("empty.mdb", QByteArray());
    QByteArray noise(65536, '\0');
    QRandomGenerator rng(4711);
    for (auto& c : noise)
        c = static_cast<char>(rng.bounded(256));
    folder.write("noise.mdb", noise);
    QByteArray sqliteHeaderOnly = QByteArray("SQLite format 3\0", 16) + noise.left(4000);
    folder.write("badsqlite.mdb", sqliteHeaderOnly);
    for (const char* name : {"half.mdb", "header.mdb", "empty.mdb", "noise.mdb", "badsqlite.mdb"}) {
        SCOPED_TRACE(name);
        const std::string path = folder.file(name).toStdString();
        try {
            engine.openDatabase(path);
            FAIL() << "opened";
        } catch (const dao::DaoError& e) {
            EXPECT_EQ(e.number(), 3343);
            EXPECT_EQ(e.description(), "Unrecognized database format '" + path + "'.");
        }
    }
    // Cut at a page boundary: the catalogue or the table's pages are missing. Jet's error, never partial rows.
    for (int pages : {2, 3, 8, 16, 25, 30, 35}) {
        SCOPED_TRACE(pages);
        folder.write("cut.mdb", genuine.left(4096 * pages));
        const long error = errorOf([&] {
            dao::DBEngine fresh;
            auto db = fresh.openDatabase(folder.file("cut.mdb").toStdString());
            db->openRecordset("SELECT count(*) FROM EXEMPLAR");
        });
        EXPECT_TRUE(error == 3343 || error == 3078) << error;
    }
}

TEST_F(BadInput, UnknownTablesAndFieldsGive3078And3061)
{
    auto db = engine.openDatabase(folder.copyFixture("catalogue/veltrano.mdb").toStdString());
    try {
        db->openRecordset("SELECT * FROM KATALOG");
        FAIL();
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), 3078);
        EXPECT_NE(e.description().find("'KATALOG'"), std::string::npos);
    }
    EXPECT_EQ(errorOf([&] { db->openRecordset("KATALOG"); }), 3078);
    EXPECT_EQ(errorOf([&] { db->openRecordset("KATALOG", dao::dbOpenTable); }), 3011);
    EXPECT_EQ(errorOf([&] { db->tableDefs().item("KATALOG"); }), 3265);
    try {
        db->openRecordset("SELECT EXEMPLARNUMMER, Wert1, Wert2 FROM EXEMPLAR WHERE Wert1 > 3");
        FAIL();
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), 3061);
        EXPECT_EQ(e.description(), "Too few parameters. Expected 2.");
    }
    EXPECT_EQ(errorOf([&] { db->openRecordset("SELECT TITEL.NOPE FROM TITEL"); }), 3061);
}

TEST_F(BadInput, AccessDatabasesRefuseEveryWriteToTheirData)
{
    const QString path = folder.copyFixture("catalogue/veltrano.mdb");
    const QByteArray before = folder.read("veltrano.mdb");
    auto db = engine.openDatabase(path.toStdString());
    EXPECT_EQ(errorOf([&] { db->execute("DELETE FROM EXEMPLAR", dao::dbFailOnError); }), 3027);
    EXPECT_EQ(errorOf([&] { db->execute("INSERT INTO TITEL (Buchungsnummer) VALUES (1)", dao::dbFailOnError); }),
              3027);
    EXPECT_EQ(errorOf([&] { db->execute("CREATE TABLE neu (A LONG)", dao::dbFailOnError); }), 3027);
    // A saved query lives in memory while the database is open; the file stays as it was.
    db->createQueryDef("q", "SELECT * FROM TITEL");
    EXPECT_EQ(db->openRecordset("SELECT count(*) FROM q")->value(0).toLong(), 45) << "the titles of the catalogue";
    db->deleteQueryDef("q");
    auto rs = db->openRecordset("SELECT count(*) AS n FROM EXEMPLAR");
    EXPECT_EQ(rs->value(0).toLong(), 70);
    EXPECT_EQ(folder.read("veltrano.mdb"), before);
    // Writing into an Access database named by IN is refused the same way.
    const std::string inv = folder.copyFixture("inventory/db_inv-sample.mdb").toStdString();
    auto local = engine.createDatabase(folder.file("local.mdb").toStdString(), dao::dbLangGeneral);
    EXPECT_EQ(errorOf([&] {
                  local->execute("DELETE FROM inventur IN '" + inv + "'", dao::dbFailOnError);
              }),
              3027);
}

TEST_F(BadInput, StatementsThatAreNotQueriesOrNotActionsAreRefused)
{
    auto db = engine.createDatabase(folder.file("x.mdb").toStdString(), dao::dbLangGeneral);
    db->execute("CREATE TABLE t (A LONG)", dao::dbFailOnError);
    EXPECT_EQ(errorOf([&] { db->execute("SELECT * FROM t"); }), 3065);
    EXPECT_EQ(errorOf([&] { db->openRecordset("SELECT * FROM t", dao::dbOpenTable); }), 3219);
    EXPECT_EQ(errorOf([&] { db->openRecordset("t", dao::dbOpenDynamic); }), 3251);
    EXPECT_EQ(errorOf([&] { db->openRecordset("t", dao::dbOpenDynaset, dao::dbConsistent | dao::dbInconsistent); }),
              3001);
    EXPECT_EQ(errorOf([&] { db->execute("SELECT * INTO [Out#txt] IN 'C:\\exp' [Lotus WK1;] FROM t"); }), 3170);
    EXPECT_EQ(errorOf([&] { engine.openDatabase(folder.file("x.mdb").toStdString(), 0, false, "dBASE IV;"); }), 3170);
    EXPECT_EQ(errorOf([&] { engine.createDatabase(folder.file("x.mdb").toStdString(), dao::dbLangGeneral); }), 3204);
    EXPECT_EQ(errorOf([&] { engine.createDatabase(folder.file("y.mdb").toStdString(), "German"); }), 3424);
}

TEST_F(BadInput, ObjectsOfAClosedDatabaseAreNoLongerSet)
{
    auto db = engine.createDatabase(folder.file("x.mdb").toStdString(), dao::dbLangGeneral);
    db->execute("CREATE TABLE t (A LONG)", dao::dbFailOnError);
    db->execute("INSERT INTO t (A) VALUES (1)", dao::dbFailOnError);
    auto rs = db->openRecordset("t");
    auto field = rs->field("A");
    db->close();
    EXPECT_EQ(errorOf([&] { db->openRecordset("t"); }), 3420);
    EXPECT_EQ(errorOf([&] { db->execute("DELETE FROM t"); }), 3420);
    EXPECT_EQ(errorOf([&] { rs->moveNext(); }), 3420);
    EXPECT_EQ(errorOf([&] { field->value(); }), 3420);
    EXPECT_EQ(errorOf([&] { db->close(); }), 3420);
}

TEST_F(BadInput, CorruptedPagesGiveAnErrorOrRowsNeverACrash)
{
    QFile f(testsupport::fixturePath("catalogue/veltrano.mdb"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray genuine = f.readAll();
    QRandomGenerator rng(20261206);
    for (int round = 0; round < 25; ++round) {
        QByteArray bytes = genuine;
        const int pages = round % 2 ? 12 : static_cast<int>(bytes.size() / 4096);
        for (int n = static_cast<int>(rng.bounded(1, 40)); n > 0; --n)
            bytes[static_cast<qsizetype>(rng.bounded(4096, 4096 * pages))] = static_cast<char>(rng.bounded(256));
        folder.write("corrupt.mdb", bytes);
        try {
            dao::DBEngine fresh;
            auto db = fresh.openDatabase(folder.file("corrupt.mdb").toStdString());
            auto rs = db->openRecordset(baseQuery() + " ORDER BY EXEMPLAR.EXEMPLARNUMMER");
            rowsOf(*rs);
        } catch (const dao::DaoError& e) {
            EXPECT_GE(e.number(), 3000) << "round " << round;
        }
    }
}

TEST(BadInputFunctions, AFailingJetFunctionRaisesItsOwnError)
{
    testsupport::TempFolder dir;
    dao::DBEngine engine;
    auto db = engine.createDatabase(dir.file("f.mdb").toStdString(), dao::dbLangGeneral);
    db->execute("CREATE TABLE t (a LONG)");
    db->execute("INSERT INTO t (a) VALUES (1)");
    try {
        db->openRecordset("SELECT CLng(3000000000) FROM t", 4)->moveFirst();
        FAIL() << "CLng of a number beyond a Long must fail";
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), 6);
        EXPECT_EQ(e.description(), "Overflow.");
    }
}
