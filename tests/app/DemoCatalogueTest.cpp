#include "tests/app/MainWindowHarness.h"
#include "ui_TfMain.h"

#include "app/DemoCatalogue.h"
#include "app/ProgramFolderSetup.h"
#include "checks/CheckQueries.h"
#include "engine/DBEngine.h"
#include "engine/DaoError.h"
#include "engine/Database.h"
#include "engine/FileFormat.h"
#include "framework/data/TField.h"
#include "platform/ProfileFile.h"
#include "stocktaking/MissingBooksQuery.h"
#include "tests/support/EngineRows.h"
#include "tests/support/Fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <map>
#include <set>

using testsupport::queryRows;
using testsupport::TempFolder;

namespace {

constexpr CatalogueCheck kChecks[] = {CatalogueCheck::AlleDaten, CatalogueCheck::OhneTitel, CatalogueCheck::OhneAutor,
                                      CatalogueCheck::GleicherAutTit, CatalogueCheck::Sonderzeichen};

// "name type size" of every field, and "name unique primary" of every index, of a table.
std::set<std::string> describe(const QString& path, const std::string& table)
{
    dao::DBEngine engine;
    auto db = engine.openDatabase(path.toStdString(), 0, true);
    auto def = db->tableDefs().item(table);
    std::set<std::string> out;
    for (int i = 0; i < def->fields().count(); ++i) {
        const auto f = def->fields().item(i);
        out.insert("field " + f->name() + " " + std::to_string(f->type()) + " " + std::to_string(f->size()));
    }
    for (int i = 0; i < def->indexes().count(); ++i) {
        const auto x = def->indexes().item(i);
        out.insert("index " + x->name() + (x->unique() ? " unique" : "") + (x->primary() ? " primary" : ""));
    }
    db->close();
    return out;
}

double count(const QString& path, const QString& sql) { return queryRows(path, sql)[0].toArray()[0].toDouble(); }

} // namespace

TEST(DemoCatalogue, HasTheTablesFieldsAndIndexesOfAGenuineCatalogue)
{
    TempFolder dir;
    demo::CreateDemoCatalogue(dir.file("demo.mdb"), 300);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"demo.mdb"}) << "no journal or partial file left";
    EXPECT_EQ(dao::detectFileFormat(dir.file("demo.mdb").toStdString()), dao::FileFormat::Sqlite);
    const QString genuine = testsupport::fixturePath("catalogue/veltrano.mdb");
    ASSERT_TRUE(describe(genuine, "TITEL").count("field HAUPTTITEL 10 255"));
    ASSERT_TRUE(describe(genuine, "EXEMPLAR").count("index EXEMPLARNUMMER unique"));
    for (const std::string table : {"TITEL", "EXEMPLAR", "Benutzer Daten"})
        EXPECT_EQ(describe(dir.file("demo.mdb"), table), describe(genuine, table)) << table;
}

TEST(DemoCatalogue, SameSizeGivesTheSameCatalogueAndEveryCheckFindsRows)
{
    TempFolder dir;
    const demo::DemoCatalogueSize size = demo::CreateDemoCatalogue(dir.file("a.mdb"), 4000);
    demo::CreateDemoCatalogue(dir.file("b.mdb"), 4000);
    EXPECT_EQ(size.copies, 4000);
    EXPECT_EQ(count(dir.file("a.mdb"), "SELECT Count(*) FROM EXEMPLAR"), 4000);
    EXPECT_EQ(count(dir.file("a.mdb"), "SELECT Count(*) FROM TITEL"), size.titles);

    for (CatalogueCheck check : kChecks) {
        const QJsonArray rows = queryRows(dir.file("a.mdb"), CheckQuery(check));
        EXPECT_GT(rows.size(), 0) << CheckTitle(check).toStdString();
        EXPECT_EQ(rows, queryRows(dir.file("b.mdb"), CheckQuery(check))) << CheckTitle(check).toStdString();
    }
    // The faults the checks do not look for are there too: copies whose title
    // record is missing, and title records without copies.
    EXPECT_GT(count(dir.file("a.mdb"), "SELECT Count(*) FROM EXEMPLAR WHERE TITEL IS NULL OR TITEL NOT IN "
                                        "(SELECT Buchungsnummer FROM TITEL)"),
              0);
    EXPECT_GT(count(dir.file("a.mdb"), "SELECT Count(*) FROM TITEL WHERE Buchungsnummer NOT IN "
                                        "(SELECT TITEL FROM EXEMPLAR WHERE TITEL IS NOT NULL)"),
              0);
    // Every value keeps the sizes of its Jet type, and the copies have locations.
    const QJsonArray withinSizes{QJsonArray{-1, -1, -1, -1}};
    EXPECT_EQ(queryRows(dir.file("a.mdb"), "SELECT Max(Len(HAUPTTITEL)) <= 255, Max(Len(HAUPTEINTRAG)) <= 50, "
                                           "Max(Len(VERLAG)) <= 100, Min(JAHR) >= 1900 FROM TITEL"),
              withinSizes);
    const QJsonArray locations =
        queryRows(dir.file("a.mdb"), "SELECT STANDORT FROM EXEMPLAR GROUP BY STANDORT ORDER BY STANDORT");
    EXPECT_TRUE(locations.contains(QJsonArray{QJsonValue()}));
    EXPECT_TRUE(locations.contains(QJsonArray{"Magazin"}));
    EXPECT_TRUE(locations.contains(QJsonArray{"Lesesaal"}));
}

TEST(DemoCatalogue, SpecialCharactersAndUmlautsSurviveTheRoundTrip)
{
    TempFolder dir;
    demo::CreateDemoCatalogue(dir.file("demo.mdb"), 50);
    const QJsonArray special = queryRows(dir.file("demo.mdb"), CheckQuery(CatalogueCheck::Sonderzeichen));
    QStringList titles;
    for (const QJsonValue& row : special)
        titles << row.toArray()[1].toString();
    EXPECT_TRUE(titles.contains(QStringLiteral("Über 30° im Schatten")));
    EXPECT_TRUE(titles.contains(QStringLiteral("Wohnen auf 40 m² ( Band 2) "))) << "the trailing blank is kept";
    EXPECT_EQ(queryRows(dir.file("demo.mdb"), CheckQuery(CatalogueCheck::GleicherAutTit))[0].toArray()[2],
              QStringLiteral("HÖLZL"));
}

TEST(DemoCatalogue, NeverOverwritesAndLeavesNothingBehindOnFailure)
{
    TempFolder dir;
    dir.write("demo.mdb", "mine");
    try {
        demo::CreateDemoCatalogue(dir.file("demo.mdb"), 10);
        FAIL() << "an existing file was overwritten";
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), 3204);
    }
    EXPECT_EQ(dir.read("demo.mdb"), "mine");

    EXPECT_THROW(demo::CreateDemoCatalogue(dir.file("missing/demo.mdb"), 10), dao::DaoError);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"demo.mdb"});
}

TEST(ProgramFolderSetup, FirstStartGetsDemoAndInventoryAndLaterStartsKeepWhatIsThere)
{
    TempFolder dir;
    const QString folder = dir.file("quillstock/");
    const setup::SetupResult first = setup::PrepareProgramFolder(folder);
    EXPECT_TRUE(first.folderMade && first.demoCatalogueMade && first.inventoryMade);
    EXPECT_TRUE(QFileInfo(folder + "REPORTS").isDir());
    const platform::ProfileFile settings(folder + "Quillstock.ini");
    EXPECT_EQ(settings.readString("GLOBAL", "PATH", {}), folder + "Demo-Katalog.mdb");

    // Lists recorded since, and the user's own catalogue, stay as they are.
    dao::DBEngine engine;
    auto db = engine.openDatabase((folder + "db_inv.mdb").toStdString());
    db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Sommer')");
    db->close();
    const setup::SetupResult again = setup::PrepareProgramFolder(folder);
    EXPECT_FALSE(again.folderMade || again.demoCatalogueMade || again.inventoryMade);
    EXPECT_EQ(queryRows(folder + "db_inv.mdb", "SELECT Bezeichnung FROM inventurliste"),
              QJsonArray{QJsonArray{"Sommer"}});

    settings.writeString("GLOBAL", "PATH", "/srv/veltrano/veltrano.mdb");
    QFile::remove(folder + "Demo-Katalog.mdb");
    EXPECT_FALSE(setup::PrepareProgramFolder(folder).demoCatalogueMade);
    EXPECT_EQ(settings.readString("GLOBAL", "PATH", {}), "/srv/veltrano/veltrano.mdb");

    // A settings file without a catalogue gets the demo catalogue again.
    dir.write("quillstock/Quillstock.ini", "[GLOBAL]\r\n");
    EXPECT_TRUE(setup::PrepareProgramFolder(folder).demoCatalogueMade);
    EXPECT_EQ(settings.readString("GLOBAL", "PATH", {}), folder + "Demo-Katalog.mdb");
}

TEST(ProgramFolderSetup, TheProgramRunsOnThePreparedFolder)
{
    MainWindowHarness h;
    setup::PrepareProgramFolder(h.dir.path());
    TfMain& w = h.start();
    EXPECT_TRUE(h.ui->messageTexts().isEmpty()) << h.ui->messageTexts().join("|").toStdString();
    ASSERT_TRUE(w.DB_Veltrano.Connected());
    EXPECT_EQ(dao::detectFileFormat(h.dir.file("db_Vel.mdb").toStdString()), dao::FileFormat::Sqlite);

    // Every check runs on the copy of the demo catalogue and finds rows.
    for (CatalogueCheck check : kChecks) {
        w.TB_Veltrano.Close();
        w.TB_Veltrano.SetSQL(CheckQuery(check));
        w.TB_Veltrano.Open();
        EXPECT_GT(w.TB_Veltrano.RecordCount(), 0) << CheckTitle(check).toStdString();
    }

    // A list with the first three copies captured: the missing books are all other copies.
    const QJsonArray all = queryRows(h.dir.file("db_Vel.mdb"), CheckQuery(CatalogueCheck::AlleDaten));
    ASSERT_GT(all.size(), 3);
    w.ui->Button1->click();
    for (int i = 0; i < 3; ++i) {
        w.ui->ed_BuchNr->setText(QString::number(all[i].toArray()[0].toInt()));
        w.ed_BuchNrKeyPress(w.ui->ed_BuchNr, QChar(13));
    }
    ASSERT_EQ(w.InventoryCount(), 3);
    const QString listIdx = w.TB_Master.FieldByName("IDX")->AsString();
    const QJsonArray missing =
        queryRows(h.dir.file("db_Vel.mdb"), MissingBooksQuery(h.dir.file("db_inv.mdb"), listIdx));
    EXPECT_EQ(missing.size(), all.size() - 3);
    EXPECT_EQ(missing[0], all[3]);
}

TEST(ProgramFolderSetup, JournalOfAnEarlierCopyIsNotPlayedIntoTheNewCopy)
{
    // A program stopped hard leaves the journal of its copy of an engine
    // catalogue behind; here one that empties the copy's EXEMPLAR.
    MainWindowHarness h;
    setup::PrepareProgramFolder(h.dir.path());
    QFile::copy(h.dir.file("Demo-Katalog.mdb"), h.dir.file("db_Vel.mdb"));
    {
        dao::DBEngine engine;
        auto db = engine.openDatabase(h.dir.file("db_Vel.mdb").toStdString());
        db->execute("DELETE FROM EXEMPLAR");
        ASSERT_TRUE(QFile::copy(h.dir.file("db_Vel.mdb-wal"), h.dir.file("stale-wal")));
        db->close();
    }
    QFile::remove(h.dir.file("db_Vel.mdb"));
    QFile::rename(h.dir.file("stale-wal"), h.dir.file("db_Vel.mdb-wal"));

    TfMain& w = h.start();
    w.btn_AlleDatenClick(nullptr);
    EXPECT_EQ(w.TB_Veltrano.RecordCount(), queryRows(h.dir.file("Demo-Katalog.mdb"),
                                                     CheckQuery(CatalogueCheck::AlleDaten)).size());
}
