#include "tests/app/MainWindowHarness.h"
#include "ui_TfMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

TEST(MainWindow, TabsAndControlsCarryTheirNamesAndTexts)
{
    MainWindowHarness h;
    TfMain& w = h.start();
    QTabWidget* tabs = w.ui->PageControl1;
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), "Einstellungen");
    EXPECT_EQ(tabs->tabText(1), "Inventur");
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Prüfhilfen"));
    EXPECT_EQ(tabs->tabText(3), "About");
    EXPECT_EQ(w.size(), QSize(753, 533));
    EXPECT_EQ(tabs->size(), QSize(729, 505));

    const std::pair<const char*, QString> buttons[] = {
        {"btn_VeltranoDBPath", QStringLiteral("Veltrano-Datenbank öffnen (veltrano.mdb)")},
        {"Button1", "&neue Inventurtabelle anlegen"},
        {"Button2", QStringLiteral("Inventur &löschen (aktive Zeile)")},
        {"Button3", "&Importieren"},
        {"btn_Del_inv", QStringLiteral("&lösche aktive Zeile")},
        {"btn_FehlendeBuecher", QStringLiteral("fehlende Bücher anzeigen und exportieren")},
        {"btn_AlleDaten", QStringLiteral("zeige alle Bücher")},
        {"btn_OhneTitel", QStringLiteral("zeige Bücher ohne Titel")},
        {"btn_OhneAutor", QStringLiteral("zeige Bücher ohne Autor")},
        {"btn_GleicherAutTit", QStringLiteral("zeige Bücher mit gleichem Autor und Titel")},
        {"btn_Sonderzeichen", QStringLiteral("zeige Bücher mit Sonderzeichen im Titel")},
    };
    for (const auto& [name, text] : buttons) {
        auto* b = w.findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), text) << name;
    }
    for (const char* name : {"btn_AlleDaten", "btn_OhneTitel", "btn_OhneAutor", "btn_GleicherAutTit", "btn_Sonderzeichen"})
        EXPECT_EQ(w.findChild<QPushButton*>(name)->width(), 569);
    EXPECT_EQ(w.ui->btn_FehlendeBuecher->size(), QSize(649, 49));
    EXPECT_EQ(w.ui->ed_BuchNr->size(), QSize(233, 47));
    EXPECT_EQ(w.ui->ed_BuchNr->font().pixelSize(), 32);
    EXPECT_TRUE(w.ui->ed_BuchNr->font().bold());
    EXPECT_EQ(w.ui->ed_NeueInventur->text(), "Inventur vom: ");
    EXPECT_EQ(w.ui->gb_Erfassung->title(), "vorhandene Buch-Nummern ");
    EXPECT_EQ(w.ui->Label4->text(), "Importiere gerade:");
    EXPECT_EQ(w.ui->Label5->text(), "");
    EXPECT_FALSE(w.ui->VoDaoDBGrid1->isVisibleTo(&w));
    EXPECT_FALSE(w.ui->VoDaoDBGrid2->isVisibleTo(&w));
    EXPECT_EQ(w.ui->Image1->pixmap().size(), QSize(32, 32));
}

TEST(MainWindow, EveryTabChangeRefreshesTheCaptureCaptionAndNeverRaises)
{
    MainWindowHarness h;
    TfMain& w = h.start();
    h.ui->clear();
    QTabBar* bar = w.ui->PageControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(w.ui->PageControl1->currentIndex(), 1);
    EXPECT_EQ(w.ui->gb_Erfassung->title(), "vorhandene Buch-Nummern (keine Datenbank)");
    w.ui->gb_Erfassung->setTitle("x");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    EXPECT_EQ(w.ui->PageControl1->currentIndex(), 0);
    EXPECT_EQ(w.ui->gb_Erfassung->title(), "vorhandene Buch-Nummern (keine Datenbank)");
    EXPECT_TRUE(h.ui->messages().empty());

    // The caption is set before the change, by keyboard too, and the change is allowed.
    auto handler = w.PageControl1Events->OnChanging;
    QStringList seen;
    w.PageControl1Events->OnChanging = [&](QObject* sender, bool& allow) {
        handler(sender, allow);
        seen << QString::number(w.ui->PageControl1->currentIndex()) + " " + w.ui->gb_Erfassung->title();
        EXPECT_TRUE(allow);
    };
    w.ui->gb_Erfassung->setTitle("x");
    QTest::keyClick(w.ui->PageControl1, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(w.ui->PageControl1->currentIndex(), 1);
    EXPECT_EQ(seen, QStringList{"0 vorhandene Buch-Nummern (keine Datenbank)"});
}

TEST(MainWindow, ChoosingTheCatalogueWritesOnlyThePathAndAsksForARestart)
{
    MainWindowHarness h;
    TfMain& w = h.start();
    h.ui->clear();
    const QString chosen = h.dir.file(QStringLiteral("Neu 'ä'.txt"));
    h.ui->fileAnswers.push_back(FileDialogResult{chosen, 3});
    w.ui->btn_VeltranoDBPath->click();
    EXPECT_EQ(h.dir.read("Quillstock.ini"), "[GLOBAL]\r\nPATH=" + chosen.toUtf8() + "\r\n");
    EXPECT_EQ(w.ui->Label1->text(), chosen);
    EXPECT_EQ(w.CataloguePath(), TfMain::DefaultCataloguePath) << "takes effect at the next start";
    EXPECT_EQ(h.ui->messageTexts(), QStringList{"Programm neu starten!"});
    ASSERT_EQ(h.ui->shown[0].kind, RecordingInteraction::Shown::Kind::FileDialog);
    EXPECT_EQ(h.ui->shown[0].file.filter,
              "Access-Datenbanken|*.mdb|Alle Dateien|*.*|Text-Dateien|*.txt|CSV-Dateien|*.csv");
    EXPECT_EQ(h.ui->shown[0].file.filterIndex, 1);

    // The dialog keeps the entry chosen last.
    h.ui->clear();
    w.ui->btn_VeltranoDBPath->click();
    EXPECT_EQ(h.ui->shown[0].file.filterIndex, 3);
}

TEST(MainWindow, CancellingTheChoiceWritesNothing)
{
    MainWindowHarness h;
    TfMain& w = h.start();
    h.ui->clear();
    w.ui->btn_VeltranoDBPath->click();
    EXPECT_FALSE(h.dir.exists("Quillstock.ini"));
    EXPECT_EQ(w.ui->Label1->text(), TfMain::DefaultCataloguePath);
    EXPECT_TRUE(h.ui->messages().empty());
}

TEST(MainWindow, ASettingsFileThatCannotBeWrittenIsReportedAndNothingChanges)
{
    MainWindowHarness h;
    QDir().mkpath(h.dir.file("Quillstock.ini")); // a folder where the file should be
    TfMain& w = h.start();
    h.ui->clear();
    h.ui->fileAnswers.push_back(FileDialogResult{"/x/veltrano.mdb", 1});
    w.ui->btn_VeltranoDBPath->click();
    ASSERT_EQ(h.ui->messages().size(), 1u);
    EXPECT_EQ(h.ui->messages()[0].icon, MessageIcon::Stop);
    EXPECT_TRUE(h.ui->messages()[0].text.startsWith("Die Einstellungsdatei"));
    EXPECT_EQ(w.ui->Label1->text(), TfMain::DefaultCataloguePath);
}
