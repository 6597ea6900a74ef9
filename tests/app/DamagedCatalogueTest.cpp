// A damaged catalogue, chosen as the librarian's catalogue, shows Jet's error
// and leaves the window usable, as a missing one does.
#include "tests/app/MainWindowHarness.h"
#include "ui_TfMain.h"

#include "tests/support/Fixtures.h"

#include <QFile>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

TEST(DamagedCatalogue, AnUnreadableCatalogueShowsItsErrorAndTheWindowGoesOn)
{
    QFile f(testsupport::fixturePath("catalogue/veltrano.mdb"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray genuine = f.readAll();
    QByteArray noDefinition = genuine;
    noDefinition.replace(2 * 4096, 4096, QByteArray(4096, '\xff')); // the definition of the catalogue's own table
    for (const QByteArray& damaged : {noDefinition, genuine.left(4096 * 16) /* cut short */}) {
        MainWindowHarness h;
        h.dir.write("Katalog.mdb", damaged);
        h.setCatalogue(h.dir.file("Katalog.mdb"));
        h.addInventory();
        TfMain& w = h.start();
        EXPECT_EQ(h.ui->messageTexts(),
                  QStringList{"Unrecognized database format '" + h.dir.file("db_Vel.mdb") + "'."});
        EXPECT_FALSE(w.DB_Veltrano.Connected());

        // The librarian chooses another file and is told to restart.
        const QString good = h.dir.copyFixture("catalogue/veltrano.mdb", "Gut.mdb");
        h.ui->fileAnswers.push_back(FileDialogResult{good, 1});
        w.ui->btn_VeltranoDBPath->click();
        EXPECT_EQ(h.ui->messageTexts().last(), QStringLiteral("Programm neu starten!"));
        EXPECT_TRUE(h.dir.read("Quillstock.ini").contains(good.toUtf8()));
        QTabBar* bar = w.ui->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(w.ui->PageControl1->indexOf(w.ui->TabSheet2)).center());
        EXPECT_EQ(w.ui->gb_Erfassung->title(), QStringLiteral("vorhandene Buch-Nummern (keine Datenbank)"));
        h.stop();
        // The next start reads the good one.
        h.ui->clear();
        TfMain& again = h.start();
        EXPECT_TRUE(again.DB_Veltrano.Connected());
        EXPECT_TRUE(h.ui->messageTexts().isEmpty()) << h.ui->messageTexts().join('|').toStdString();
    }
}
