#include "tests/app/MainWindowHarness.h"
#include "ui_TfMain.h"

#include "platform/Version.h"
#include "tests/support/Fixtures.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kNotFound = QStringLiteral(
    "Veltrano.mdb wurde nicht gefunden, stellen Sie die korrekte Datei ein\r\nund starten Sie das Programm neu!");

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

TEST(Startup, WithoutSettingsFileTheDefaultPathIsShownAndReportedMissing)
{
    MainWindowHarness h;
    TfMain& w = h.start();
    EXPECT_EQ(w.ui->Label1->text(), QStringLiteral("c:\\Programme\\Veltrano\\veltrano.mdb"));
    EXPECT_EQ(w.windowTitle(), "::: Quillstock [" + platform::versionText() + "] :::");
    EXPECT_EQ(h.ui->messageTexts(), QStringList{kNotFound});
    EXPECT_EQ(h.ui->messages()[0].caption, "Quillstock -Toolbox for Veltrano");
    EXPECT_EQ(h.ui->messages()[0].icon, MessageIcon::None);
    EXPECT_FALSE(h.dir.exists("Quillstock.ini")) << "nothing is written until the user chooses";
}

TEST(Startup, EmptyPathOrFolderCountsAsMissingAndRemovesTheOldCopy)
{
    for (const QString& path : {QString(), QStringLiteral("<folder>")}) {
        MainWindowHarness h;
        h.setCatalogue(path == "<folder>" ? h.dir.path() : path);
        h.dir.write("db_Vel.mdb", "old copy");
        TfMain& w = h.start();
        EXPECT_EQ(w.CataloguePath(), path == "<folder>" ? h.dir.path() : QString());
        EXPECT_EQ(h.ui->messageTexts(), QStringList{kNotFound});
        EXPECT_FALSE(h.dir.exists("db_Vel.mdb"));
    }
}

TEST(Startup, TwoStartsLeaveExactlyOneCopyOfTheSecondStart)
{
    MainWindowHarness h;
    const QString catalogue = h.dir.copyFixture("catalogue/veltrano.mdb", "Katalog.mdb");
    h.setCatalogue(catalogue);
    h.addInventory();
    h.start();
    h.stop();
    // Another genuine Access file takes the catalogue's place before the second start.
    h.dir.copyFixture("inventory/db_inv-sample.mdb", "Katalog.mdb");
    ASSERT_NE(h.dir.read("Katalog.mdb"), h.dir.read("db_Vel.mdb"));
    h.start();
    EXPECT_EQ(h.dir.read("db_Vel.mdb"), h.dir.read("Katalog.mdb"));
    EXPECT_EQ(filesIn(h.dir.path()).count("db_Vel.mdb"), 1);
    // The open inventory database has its journal files beside it.
    EXPECT_EQ(filesIn(h.dir.path()).filter(QRegularExpression("^(?!.*-(wal|shm)$)")),
              (QStringList{"Katalog.mdb", "Quillstock.ini", "db_Vel.mdb", "db_inv.mdb"}))
        << "no temporary file is left behind";
    EXPECT_TRUE(h.ui->messageTexts().isEmpty()) << h.ui->messageTexts().join("|").toStdString();
}

TEST(Startup, CataloguePathWithQuotesAndUmlautsIsCopied)
{
    MainWindowHarness h;
    QDir(h.dir.path()).mkpath(QStringLiteral("Bücherei 'Süd' \"alt\""));
    const QString catalogue =
        h.dir.copyFixture("catalogue/veltrano.mdb", QStringLiteral("Bücherei 'Süd' \"alt\"/veltrano ä.mdb"));
    h.setCatalogue(catalogue);
    h.addInventory();
    TfMain& w = h.start();
    EXPECT_EQ(w.ui->Label1->text(), catalogue);
    EXPECT_TRUE(w.DB_Veltrano.Connected());
    EXPECT_EQ(h.dir.read("db_Vel.mdb"), h.dir.read(QStringLiteral("Bücherei 'Süd' \"alt\"/veltrano ä.mdb")));
    EXPECT_TRUE(h.ui->messageTexts().isEmpty());
}

TEST(Startup, BinarySettingsFileGivesTheDefault)
{
    MainWindowHarness h;
    QByteArray junk;
    for (int i = 0; i < 2000; ++i)
        junk.append(char((i * 31 + 7) & 0xFF));
    h.dir.write("Quillstock.ini", junk);
    TfMain& w = h.start();
    EXPECT_EQ(w.CataloguePath(), TfMain::DefaultCataloguePath);
    EXPECT_EQ(h.ui->messageTexts(), QStringList{kNotFound});
}

TEST(Startup, ACopyThatCannotBeWrittenIsReportedWithItsReason)
{
    // A folder in the place of the backup copy can be neither deleted nor
    // written over, also by root: the copy fails as in a read-only folder.
    MainWindowHarness h;
    h.setCatalogue(h.dir.copyFixture("catalogue/veltrano.mdb"));
    QDir().mkpath(h.dir.file("db_Vel.mdb"));
    h.start();
    ASSERT_EQ(h.ui->messages().size(), 1u);
    EXPECT_EQ(h.ui->messages()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(h.ui->messages()[0].text, "Die Sicherheitskopie \"" + h.dir.file("db_Vel.mdb") +
                                            "\" der Veltrano-Datenbank kann nicht angelegt werden: Filename refers to "
                                            "a directory\r\nSchaffen Sie Platz oder Schreibrechte und starten Sie das "
                                            "Programm neu!");
    EXPECT_FALSE(h.main->DB_Veltrano.Connected());
    EXPECT_FALSE(h.main->DB_INV.Connected());
    EXPECT_FALSE(h.copyDlg->isVisible());
}

TEST(Startup, ProgramFolderThatCannotBeReadGivesTheDefaults)
{
    MainWindowHarness h;
    h.dir.write("plainfile", "x");
    TfMain& w = h.start(h.dir.file("plainfile/prog"));
    EXPECT_EQ(w.CataloguePath(), TfMain::DefaultCataloguePath);
    EXPECT_EQ(h.ui->messageTexts(), QStringList{kNotFound});
}

TEST(Startup, SettingsTabIsSelectedWhateverTabWasActive)
{
    MainWindowHarness h;
    TfMain& w = h.create();
    w.ui->PageControl1->setCurrentIndex(2);
    w.ui->gb_Erfassung->setTitle(QStringLiteral("vorhandene Buch-Nummern "));
    w.show();
    EXPECT_EQ(w.ui->PageControl1->currentWidget(), w.ui->TabSheet1);
    EXPECT_EQ(w.ui->gb_Erfassung->title(), QStringLiteral("vorhandene Buch-Nummern "))
        << "selecting a tab from code is no tab change";
}

TEST(Startup, ProgressWindowIsShownAroundTheCopy)
{
    MainWindowHarness h;
    h.setCatalogue(h.dir.copyFixture("catalogue/veltrano-100k.mdb"));
    h.addInventory();
    int shows = 0;
    bool visibleDuringCopy = false;
    struct Spy : QObject {
        std::function<void(QEvent*)> f;
        bool eventFilter(QObject*, QEvent* e) override
        {
            f(e);
            return false;
        }
    } spy;
    spy.f = [&](QEvent* e) {
        if (e->type() == QEvent::Show)
            ++shows;
        if (e->type() == QEvent::Paint)
            visibleDuringCopy = h.copyDlg->isVisible();
    };
    h.copyDlg->installEventFilter(&spy);
    h.start();
    EXPECT_EQ(shows, 1);
    EXPECT_TRUE(visibleDuringCopy);
    EXPECT_FALSE(h.copyDlg->isVisible());
    EXPECT_FALSE(h.copyDlg->Timer1->isActive());
    EXPECT_FALSE(h.copyDlg->Animate1->Active());
    EXPECT_GE(h.copyDlg->RepaintCount(), 1);
    EXPECT_EQ(h.copyDlg->Caption(), QStringLiteral("Erstelle eine Sicherheitskopie der Veltrano-Datenbank..."));
    EXPECT_TRUE(h.copyDlg->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(h.copyDlg->Timer1->interval(), 250);
    EXPECT_EQ(h.copyDlg->size(), QSize(469, 105));
}

TEST(Startup, BothConnectionsOpenAndCloseWithTheWindow)
{
    MainWindowHarness h;
    TfMain& w = h.startOnSampleCatalogue();
    EXPECT_TRUE(w.DB_Veltrano.Connected());
    EXPECT_EQ(w.DB_Veltrano.Database(), h.dir.file("db_Vel.mdb"));
    EXPECT_TRUE(w.DB_Veltrano.TableNames().contains("EXEMPLAR"));
    EXPECT_TRUE(w.DB_INV.Connected());
    EXPECT_EQ(w.DB_INV.Database(), h.dir.file("db_inv.mdb"));
    EXPECT_EQ(w.DB_INV.Version(), "3.6");
    w.close();
    EXPECT_FALSE(w.DB_Veltrano.Connected());
    EXPECT_FALSE(w.DB_INV.Connected());
}

TEST(Startup, AMissingInventoryDatabaseIsReportedAndTheCatalogueStaysOpen)
{
    MainWindowHarness h;
    h.setCatalogue(h.dir.copyFixture("catalogue/veltrano.mdb"));
    TfMain& w = h.start();
    EXPECT_EQ(h.ui->messageTexts(), QStringList{"Cannot find Database:\r\n" + h.dir.file("db_inv.mdb") + "."});
    EXPECT_TRUE(w.DB_Veltrano.Connected());
    EXPECT_FALSE(w.DB_INV.Connected());
    EXPECT_FALSE(h.dir.exists("db_inv.mdb")) << "the program never creates the inventory database";
}

TEST(Startup, AnAccessInventoryIsCarriedOverOnceWithOneMessage)
{
    MainWindowHarness h;
    h.setCatalogue(h.dir.copyFixture("catalogue/veltrano.mdb"));
    h.dir.copyFixture("inventory/db_inv-sample.mdb", "db_inv.mdb");
    TfMain& w = h.start();
    ASSERT_EQ(h.ui->messages().size(), 1u);
    EXPECT_EQ(h.ui->messages()[0].icon, MessageIcon::None);
    EXPECT_TRUE(h.ui->messages()[0].text.contains("Access-Original"));
    EXPECT_TRUE(h.dir.exists("db_inv (Access-Original).mdb"));
    EXPECT_TRUE(w.DB_INV.Connected());
    h.stop();
    h.ui->clear();
    h.start();
    EXPECT_TRUE(h.ui->messages().empty()) << "told once";
}
