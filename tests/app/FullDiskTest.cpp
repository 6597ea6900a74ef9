// The program folder or an export folder on a full or a read-only disk: the
// backup copy, captures, an import and an export end with a clear message;
// nothing whose capture returned is lost, and no half-written file takes the
// place of an old one. The disk is a small tmpfs mounted for the test, which
// needs root (as CI runs); elsewhere the tests are skipped.
#include "tests/app/MainWindowHarness.h"
#include "ui_TfMain.h"

#include "ui_TfFehlendeBuecher.h"
#include "tests/support/EngineRows.h"
#include "tests/support/SmallDisk.h"

#include <QDialog>
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testsupport::SmallDisk;

QJsonArray rows(const QString& db, const QString& sql) { return testsupport::queryRows(db, sql); }

// A program folder on its own small disk, the catalogue beside it on the ordinary one.
struct ProgramOnSmallDisk {
    MainWindowHarness h;
    QString folder = h.dir.path() + "Programm/";
    SmallDisk disk;

    explicit ProgramOnSmallDisk(int kib, const QString& catalogue = "catalogue/veltrano.mdb") : disk(folder, kib)
    {
        if (!disk.mounted())
            return;
        QFile ini(folder + "Quillstock.ini");
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[GLOBAL]\r\nPATH=" + h.dir.copyFixture(catalogue).toUtf8() + "\r\n");
        ini.close();
        inventory::CreateEmptyInventory(folder + "db_inv.mdb");
    }
    QString inv() const { return folder + "db_inv.mdb"; }
};

} // namespace

TEST(FullDisk, TheBackupCopyThatDoesNotFitIsReportedAndLeavesNoHalfFile)
{
    ProgramOnSmallDisk p(2048, "catalogue/veltrano-100k.mdb");
    NEED_SMALL_DISK(p.disk);
    TfMain& w = p.h.start(p.folder);
    const QStringList shown = p.h.ui->messageTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Die Sicherheitskopie \"" + p.folder + "db_Vel.mdb\" der Veltrano-Datenbank "
                                    "kann nicht angelegt werden: "))
        << shown[0].toStdString();
    EXPECT_FALSE(w.DB_Veltrano.Connected());
    EXPECT_EQ(p.disk.files(), (QStringList{"Quillstock.ini", "db_inv.mdb"})) << "no copy, whole or half";

    // Nor does the settings file become empty when the choice of another catalogue does not fit.
    QFile ini(p.folder + "Quillstock.ini");
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray settings = ini.readAll();
    ini.close();
    p.disk.fill();
    p.h.ui->clear();
    p.h.ui->fileAnswers.push_back(FileDialogResult{p.h.dir.copyFixture("catalogue/veltrano.mdb", "Klein.mdb"), 1});
    w.ui->btn_VeltranoDBPath->click();
    EXPECT_EQ(p.h.ui->messageTexts(), QStringList{"Die Einstellungsdatei \"" + p.folder + "Quillstock.ini\" kann nicht "
                                                  "geschrieben werden, der Pfad bleibt unverändert."});
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), settings);
    EXPECT_EQ(p.disk.files(), (QStringList{"Quillstock.ini", "db_inv.mdb"}));
}

TEST(FullDisk, ReadOnlyProgramFolderKeepsTheOldCopyAndSaysWhy)
{
    ProgramOnSmallDisk p(1024);
    NEED_SMALL_DISK(p.disk);
    QFile old(p.folder + "db_Vel.mdb");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the copy of an earlier start");
    old.close();
    ASSERT_TRUE(p.disk.setReadOnly(true));
    TfMain& w = p.h.start(p.folder);
    ASSERT_EQ(p.h.ui->messageTexts().size(), 1);
    EXPECT_TRUE(p.h.ui->messageTexts()[0].startsWith("Die Sicherheitskopie")) << p.h.ui->messageTexts()[0].toStdString();
    EXPECT_FALSE(w.DB_Veltrano.Connected()) << "an old copy is never read as this start's";
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "the copy of an earlier start");

    // Lists, captures and imports are refused with a message each; the folder stays as it was.
    p.h.ui->clear();
    w.ui->Button1->click();
    QTest::keyClicks(w.ui->ed_BuchNr, "4711");
    QTest::keyClick(w.ui->ed_BuchNr, Qt::Key_Return);
    p.h.dir.write("nummern.txt", "1\r\n2\r\n");
    p.h.ui->fileAnswers.push_back(FileDialogResult{p.h.dir.file("nummern.txt"), 3});
    w.ui->Button3->click();
    EXPECT_EQ(p.h.ui->messageTexts().size(), 3);
    EXPECT_EQ(p.disk.files(), (QStringList{"Quillstock.ini", "db_Vel.mdb", "db_inv.mdb"}));
    p.h.stop();
    p.disk.setReadOnly(false);
}

TEST(FullDisk, CapturesAndAnImportOnAFullDiskLoseNothingThatReturned)
{
    ProgramOnSmallDisk p(4096);
    NEED_SMALL_DISK(p.disk);
    TfMain& w = p.h.start(p.folder);
    ASSERT_TRUE(p.h.ui->messageTexts().isEmpty()) << p.h.ui->messageTexts().join('|').toStdString();
    w.ui->Button1->click();
    w.ui->PageControl1->setCurrentWidget(w.ui->TabSheet2);
    auto capture = [&](int number) {
        const int before = int(p.h.ui->messages().size());
        QTest::keyClicks(w.ui->ed_BuchNr, QString::number(number));
        QTest::keyClick(w.ui->ed_BuchNr, Qt::Key_Return);
        w.ui->ed_BuchNr->clear();
        return int(p.h.ui->messages().size()) == before;
    };
    QList<int> stored;
    for (int nr = 1; nr <= 3; ++nr)
        if (capture(nr))
            stored << nr;
    ASSERT_EQ(stored.size(), 3);

    p.disk.fill();
    int refused = 0;
    for (int nr = 100; nr < 400 && refused < 3; ++nr) {
        if (capture(nr))
            stored << nr;
        else
            ++refused;
    }
    ASSERT_EQ(refused, 3) << "a full disk is noticed";
    for (const QString& text : p.h.ui->messageTexts())
        EXPECT_FALSE(text.trimmed().isEmpty());

    // An import into the full disk stops with a message; what it stored is the file's beginning.
    p.h.ui->clear();
    QByteArray file;
    for (int nr = 10000; nr < 13000; ++nr)
        file += QByteArray::number(nr) + "\r\n";
    p.h.dir.write("nummern.txt", file);
    p.h.ui->fileAnswers.push_back(FileDialogResult{p.h.dir.file("nummern.txt"), 3});
    w.ui->Button3->click();
    EXPECT_FALSE(p.h.ui->messageTexts().isEmpty());
    EXPECT_NE(w.ui->Label5->text(), "fertig.");
    p.h.stop();

    // With room again, the next start finds every number that returned, and captures go on.
    p.disk.freeUp();
    p.h.ui->clear();
    TfMain& again = p.h.start(p.folder);
    ASSERT_TRUE(p.h.ui->messageTexts().isEmpty()) << p.h.ui->messageTexts().join('|').toStdString();
    for (int nr : stored)
        EXPECT_EQ(rows(p.inv(), QStringLiteral("SELECT COUNT(*) FROM inventur WHERE NR = %1").arg(nr)),
                  QJsonArray{QJsonArray{1}})
            << nr;
    const QJsonArray imported = rows(p.inv(), "SELECT NR FROM inventur WHERE NR >= 10000 ORDER BY IDX");
    for (qsizetype i = 0; i < imported.size(); ++i)
        EXPECT_EQ(imported[i].toArray()[0].toInt(), 10000 + i);
    QTest::keyClicks(again.ui->ed_BuchNr, "77777");
    QTest::keyClick(again.ui->ed_BuchNr, Qt::Key_Return);
    EXPECT_TRUE(p.h.ui->messageTexts().isEmpty()) << p.h.ui->messageTexts().join('|').toStdString();
    EXPECT_EQ(rows(p.inv(), "SELECT COUNT(*) FROM inventur WHERE NR = 77777"), QJsonArray{QJsonArray{1}});
}

TEST(FullDisk, AnExportToAFullOrReadOnlyDiskKeepsTheOldFile)
{
    MainWindowHarness h;
    h.setCatalogue(h.dir.copyFixture("catalogue/veltrano.mdb"));
    h.addInventory();
    SmallDisk disk(h.dir.path() + "REPORTS/", 256);
    NEED_SMALL_DISK(disk);
    TfMain& w = h.start();
    w.ui->Button1->click();
    const QString report = h.dir.path() + "REPORTS/bericht.html";
    QFile old(report);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older report");
    old.close();

    for (bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "full");
        if (readOnly) {
            disk.freeUp();
            ASSERT_TRUE(disk.setReadOnly(true));
        } else {
            disk.fill();
        }
        h.ui->clear();
        h.ui->dialogAnswers.push_back([&](QDialog& dialog) {
            dialog.show();
            h.ui->fileAnswers.push_back(FileDialogResult{report, 1});
            h.report->ui->Button1->click();
            dialog.hide();
            return int(QDialog::Rejected);
        });
        w.ui->btn_FehlendeBuecher->click();
        ASSERT_EQ(h.ui->messages().size(), 1u) << h.ui->messageTexts().join('|').toStdString();
        EXPECT_FALSE(h.ui->messageTexts()[0].trimmed().isEmpty());
        EXPECT_TRUE(h.ui->documents().isEmpty()) << "nothing half-written is opened";
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "an older report");
        old.close();
        EXPECT_EQ(disk.files(), QStringList{"bericht.html"});
    }
    disk.setReadOnly(false);
}

TEST(FullDisk, AListThatCannotBeDeletedKeepsAllItsEntries)
{
    ProgramOnSmallDisk p(4096);
    NEED_SMALL_DISK(p.disk);
    TfMain& w = p.h.start(p.folder);
    w.ui->Button1->click();
    w.ui->PageControl1->setCurrentWidget(w.ui->TabSheet2);
    for (int nr = 1; nr <= 300; ++nr) {
        QTest::keyClicks(w.ui->ed_BuchNr, QString::number(nr));
        QTest::keyClick(w.ui->ed_BuchNr, Qt::Key_Return);
    }
    ASSERT_TRUE(p.h.ui->messageTexts().isEmpty()) << p.h.ui->messageTexts().join('|').toStdString();

    p.disk.fill();
    p.h.ui->messageAnswers = {0}; // "&Ja"
    w.ui->Button2->click();
    ASSERT_EQ(p.h.ui->messageTexts().size(), 2) << p.h.ui->messageTexts().join('|').toStdString();
    EXPECT_EQ(p.h.ui->messages()[1].icon, MessageIcon::Stop);
    EXPECT_EQ(w.TB_INV.RecordCount(), 300) << "the list's entries are still shown";
    p.h.stop();
    p.disk.freeUp();
    EXPECT_EQ(rows(p.inv(), "SELECT COUNT(*) FROM inventur"), QJsonArray{QJsonArray{300}}) << "all of them or none";
    EXPECT_EQ(rows(p.inv(), "SELECT COUNT(*) FROM inventurliste"), QJsonArray{QJsonArray{1}});
}
