#include "tests/app/MainWindowHarness.h"
#include "ui_TfMain.h"
#include "ui_TfFehlendeBuecher.h"

#include "framework/data/TField.h"
#include "tests/support/EngineRows.h"
#include "tests/support/ExternalReaders.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// Copies of the small catalogue at "Magazin" and without a location (veltrano.md).
const QList<int> kMagazin = {1, 7, 19, 25, 31, 1009, 2005, 2011, 4711, 2147483647};
const QList<int> kOhneStandort = {3, 13, 23, 33, 503, 1003, 2003, 2013};

QList<int> without(QList<int> numbers, const QList<int>& recorded)
{
    numbers.removeIf([&](int n) { return recorded.contains(n); });
    return numbers;
}

// The main window on the sample catalogue, driven as the librarian does.
struct LocationChoice : ::testing::Test {
    MainWindowHarness h;
    TfMain* w = nullptr;
    QString reportCaption;
    QStringList startMessages; // what the last start showed

    LocationChoice() { h.setCatalogue(h.dir.copyFixture("catalogue/veltrano.mdb")); }

    void start()
    {
        w = &h.start();
        w->activateWindow(); // for the shortcut Alt+S
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        startMessages = h.ui->messageTexts();
        h.ui->clear();
    }
    void restart()
    {
        h.stop();
        start();
    }
    void newList(const QString& name)
    {
        clickTab(0);
        w->ui->ed_NeueInventur->setText(name);
        w->ui->Button1->click();
    }
    void clickTab(int index)
    {
        QTabBar* bar = w->ui->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    QComboBox* choice() const { return w->ui->cb_Standort; }
    QStringList choices() const
    {
        QStringList items;
        for (int i = 0; i < choice()->count(); ++i)
            items << choice()->itemText(i);
        return items;
    }
    // With the keyboard, from the number field: Alt+S, arrows, Enter.
    void choose(const QString& location)
    {
        QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_S, Qt::AltModifier);
        ASSERT_EQ(w->focusWidget(), choice());
        QTest::keyClick(choice(), Qt::Key_Home);
        while (choice()->currentText() != location && choice()->currentIndex() < choice()->count() - 1)
            QTest::keyClick(choice(), Qt::Key_Down);
        QTest::keyClick(choice(), Qt::Key_Return);
    }
    void scan(int number)
    {
        QTest::keyClicks(w->ui->ed_BuchNr, QString::number(number));
        QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Return);
    }
    QString found() const { return w->ui->lbl_FundTitel->text() + " / " + w->ui->lbl_FundAutor->text(); }
    QString progress() const { return w->ui->lbl_Fortschritt->text(); }

    // The missing-books report: its caption as shown and its copy numbers.
    QList<int> missingBooks(const std::function<void()>& whileShown = {})
    {
        h.ui->dialogAnswers.push_back([this, whileShown](QDialog& dialog) {
            dialog.show();
            reportCaption = dialog.windowTitle();
            if (whileShown)
                whileShown();
            dialog.hide();
            return int(QDialog::Rejected);
        });
        w->ui->btn_FehlendeBuecher->click();
        return resultNumbers();
    }
    QList<int> resultNumbers()
    {
        QList<int> numbers;
        TVoDaoTable& t = w->TB_Veltrano;
        for (t.First(); !t.Eof(); t.Next())
            numbers << t.FieldByName("BUCHNR")->AsInteger();
        return numbers;
    }
    QJsonArray inventory(const QString& sql) { return testsupport::queryRows(h.dir.file("db_inv.mdb"), sql); }
};

} // namespace

TEST_F(LocationChoice, EveryCopyIsTheDefaultAndGivesTheReportAsEver)
{
    h.addInventory();
    start();
    newList("Inventur vom: 06.12.2026");
    clickTab(1);
    EXPECT_EQ(choices(), (QStringList{"(alle)", "Freihand A-Z", QStringLiteral("Kinderbücherei"), "Lesesaal", "Magazin",
                                      QStringLiteral("Präsenz"), "Studienraum 2", "(ohne Standort)"}));
    EXPECT_EQ(choice()->currentText(), "(alle)");
    EXPECT_TRUE(choice()->isEnabled());
    EXPECT_FALSE(w->ui->btn_FalscherStandort->isEnabled()) << "nothing stands in a wrong place";

    scan(1);
    scan(2);
    EXPECT_EQ(found(), "Die Leiden des jungen Werthers / Goethe, Johann Wolfgang von");
    EXPECT_EQ(h.ui->beeps(BeepKind::Notice), 0);
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 2 von 67 Exemplaren — fehlen noch: 65"));
    QList<int> all;
    for (const QJsonValue& row : testsupport::expectedCatalogueQueries()["alle"].toObject()["rows"].toArray())
        all << row.toArray()[0].toInt();
    EXPECT_EQ(missingBooks(), without(all, {1, 2}));
    EXPECT_EQ(reportCaption, "fehlende Bücher --=[65 angezeigte Datensätze.]=--");
    EXPECT_EQ(inventory("SELECT NR, Inventurliste FROM inventur ORDER BY IDX"),
              (QJsonArray{QJsonArray{1, 1}, QJsonArray{2, 1}}));
    EXPECT_TRUE(inventory("SELECT * FROM inventurstandort").isEmpty()) << "the default stores nothing";
    EXPECT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join('\n').toStdString();
}

TEST_F(LocationChoice, ALocationNarrowsTheCountsAndTheReportAndFlagsCopiesFromElsewhere)
{
    h.addInventory();
    start();
    newList("Magazin, 1. Tag");
    clickTab(1);
    choose("Magazin");
    EXPECT_EQ(w->focusWidget(), w->ui->ed_BuchNr) << "Enter takes the choice back to the scanner";
    EXPECT_EQ(inventory("SELECT Inventurliste, Standort FROM inventurstandort"), (QJsonArray{QJsonArray{1, "Magazin"}}));
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 0 von 10 Exemplaren — fehlen noch: 10"));
    EXPECT_TRUE(w->ui->btn_FalscherStandort->isEnabled());

    scan(4711);
    EXPECT_EQ(found(), "Der Zauberberg / Mann, Thomas");
    scan(2);
    EXPECT_EQ(w->ui->lbl_FundTitel->text(), "falscher Standort: Lesesaal");
    EXPECT_TRUE(w->ui->lbl_FundAutor->text().startsWith(QStringLiteral("Die Leiden des jungen Werthers – Goethe")));
    const QColor flag = w->ui->lbl_FundTitel->palette().color(QPalette::WindowText);
    EXPECT_EQ(h.ui->beeps(BeepKind::Notice), 1);
    EXPECT_EQ(h.ui->beeps(BeepKind::Attention) + h.ui->beeps(), 0);
    EXPECT_EQ(w->ui->lst_Zuletzt->topLevelItem(0)->foreground(1).color(), flag);
    scan(3);
    EXPECT_EQ(w->ui->lbl_FundTitel->text(), "falscher Standort: (ohne Standort)");

    // Unknown numbers and duplicates as without a location.
    scan(99999);
    EXPECT_EQ(w->ui->lbl_FundTitel->text(), "Nummer 99999 nicht im Katalog!");
    EXPECT_NE(w->ui->lbl_FundTitel->palette().color(QPalette::WindowText), flag);
    EXPECT_EQ(h.ui->beeps(BeepKind::Attention), 1);
    scan(2);
    EXPECT_EQ(h.ui->messageTexts(), QStringList{"Nummer schon vorhanden!"});
    w->ui->ed_BuchNr->clear();
    scan(1);
    EXPECT_EQ(inventory("SELECT NR FROM inventur ORDER BY IDX"),
              (QJsonArray{QJsonArray{4711}, QJsonArray{2}, QJsonArray{3}, QJsonArray{99999}, QJsonArray{1}}))
        << "copies from elsewhere are stored as any other";
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 2 von 10 Exemplaren — fehlen noch: 8"));

    // The report lists only the location's copies; its export says the same.
    QDir(h.dir.path()).mkdir("REPORTS");
    const QString file = h.dir.file("REPORTS/Magazin.html");
    EXPECT_EQ(missingBooks([&] {
                  h.ui->fileAnswers.push_back(FileDialogResult{file, 1});
                  h.report->ui->Button1->click();
              }),
              without(kMagazin, {1, 4711}));
    EXPECT_EQ(reportCaption, "fehlende Bücher (Standort: Magazin) --=[8 angezeigte Datensätze.]=--");
    const QJsonArray exported = testsupport::htmlTableRows(file);
    ASSERT_EQ(exported.size(), 9);
    EXPECT_EQ(exported[1], (QJsonArray{"7", "", "Anonymus"}));

    // The copies recorded here that stand elsewhere, with their location;
    // the keyboard reaches the button from the number field.
    h.ui->clear();
    w->ui->ed_BuchNr->setFocus();
    QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Tab);
    EXPECT_EQ(h.ui->beeps(), 0) << "Tab is no character of the number";
    while (w->focusWidget() != w->ui->btn_FalscherStandort && w->focusWidget() != w->ui->ed_BuchNr)
        QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(w->focusWidget(), w->ui->btn_FalscherStandort);
    QTest::keyClick(w->ui->btn_FalscherStandort, Qt::Key_Space);
    EXPECT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join('\n').toStdString();
    EXPECT_TRUE(h.report->isVisible());
    EXPECT_EQ(h.report->Caption(), "Bücher mit falschem Standort (Standort: Magazin) --=[2 angezeigte Datensätze.]=--");
    EXPECT_EQ(resultNumbers(), (QList<int>{2, 3}));
    w->TB_Veltrano.First();
    EXPECT_EQ(w->TB_Veltrano.FieldByName("STANDORT")->AsString(), "Lesesaal");
}

TEST_F(LocationChoice, EachListKeepsItsLocationAcrossARestart)
{
    h.addInventory();
    start();
    newList("ohne Standort");
    clickTab(1);
    choose("(ohne Standort)");
    scan(3);
    EXPECT_EQ(found(), QStringLiteral("Größe und Grenzen der Physik / Müller, Hans"));
    newList("alles");
    clickTab(1);
    EXPECT_EQ(choice()->currentText(), "(alle)") << "a new list counts every copy";

    restart();
    clickTab(1);
    EXPECT_EQ(w->ui->DBText1->text(), "ohne Standort");
    EXPECT_EQ(choice()->currentText(), "(ohne Standort)");
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 1 von 8 Exemplaren — fehlen noch: 7"));
    EXPECT_EQ(missingBooks(), without(kOhneStandort, {3}));
    EXPECT_EQ(reportCaption, "fehlende Bücher (ohne Standort) --=[7 angezeigte Datensätze.]=--");

    // Deleting the list deletes its location.
    clickTab(0);
    h.ui->messageAnswers = {0};
    w->ui->Button2->click();
    EXPECT_TRUE(inventory("SELECT * FROM inventurstandort").isEmpty());
    clickTab(1);
    EXPECT_EQ(choice()->currentText(), "(alle)");
}

// The genuine Access inventory of an earlier installation is carried over at
// the first start; its lists then keep a location like new ones.
TEST_F(LocationChoice, AnAccessInventoryIsCarriedOverAndItsListsTakeALocation)
{
    h.dir.copyFixture("inventory/db_inv-sample.mdb", "db_inv.mdb");
    start();
    ASSERT_EQ(startMessages.size(), 1);
    EXPECT_TRUE(startMessages[0].startsWith("Die Inventur-Datenbank lag noch im Access-Format vor."));
    clickTab(1);
    EXPECT_TRUE(choice()->isEnabled());
    choose("Magazin");
    // List 1 holds 1, 4711, 21, 22, 25 and 2147483647 of the copies at the Magazin, and 37, whose title is missing.
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 4 von 10 Exemplaren — fehlen noch: 6"));
    restart();
    clickTab(1);
    EXPECT_EQ(choice()->currentText(), "Magazin");
    EXPECT_EQ(missingBooks(), (QList<int>{7, 19, 31, 1009, 2005, 2011}));
}

// An inventory database of the engine made before lists kept a location.
TEST_F(LocationChoice, AnOlderEngineInventoryOpensAndIsCarriedForward)
{
    testsupport::createDatabase(h.dir.file("db_inv.mdb"),
                                {"CREATE TABLE inventurliste (IDX COUNTER PRIMARY KEY, Bezeichnung TEXT(50))",
                                 "CREATE TABLE inventur (IDX COUNTER PRIMARY KEY, NR LONG, Inventurliste LONG)",
                                 "INSERT INTO inventurliste (Bezeichnung) VALUES ('Regal 7')",
                                 "INSERT INTO inventur (NR, Inventurliste) VALUES (19, 1)"});
    start();
    EXPECT_TRUE(startMessages.isEmpty()) << startMessages.join('\n').toStdString();
    clickTab(1);
    EXPECT_EQ(w->ui->DBText1->text(), "Regal 7");
    choose("Magazin");
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 1 von 10 Exemplaren — fehlen noch: 9"));
    EXPECT_EQ(inventory("SELECT Inventurliste, Standort FROM inventurstandort"), (QJsonArray{QJsonArray{1, "Magazin"}}));
    EXPECT_EQ(inventory("SELECT NR, Inventurliste FROM inventur"), (QJsonArray{QJsonArray{19, 1}}));
}

// A catalogue that keeps no locations: titles and progress as ever, no choice.
TEST(LocationChoiceWithoutLocations, ACatalogueWithoutLocationsStillShowsTitles)
{
    MainWindowHarness h;
    testsupport::createDatabase(h.dir.file("katalog.mdb"),
                                {"CREATE TABLE TITEL (Buchungsnummer LONG, HAUPTTITEL TEXT(255), HAUPTEINTRAG TEXT(50))",
                                 "CREATE TABLE EXEMPLAR (EXEMPLARNUMMER LONG, TITEL LONG)",
                                 "INSERT INTO TITEL VALUES (1, 'Momo', 'Ende, Michael')",
                                 "INSERT INTO EXEMPLAR VALUES (10, 1)", "INSERT INTO EXEMPLAR VALUES (11, 1)"});
    h.setCatalogue(h.dir.file("katalog.mdb"));
    h.addInventory();
    TfMain& w = h.start();
    w.ui->Button1->click();
    w.ui->PageControl1->setCurrentWidget(w.ui->TabSheet2);
    QTest::keyClicks(w.ui->ed_BuchNr, "10");
    QTest::keyClick(w.ui->ed_BuchNr, Qt::Key_Return);
    EXPECT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join('\n').toStdString();
    EXPECT_EQ(w.ui->lbl_FundTitel->text(), "Momo");
    EXPECT_EQ(w.ui->lbl_Fortschritt->text(), QStringLiteral("erfasst: 1 von 2 Exemplaren — fehlen noch: 1"));
    EXPECT_EQ(w.ui->cb_Standort->currentText(), "(alle)");
    EXPECT_FALSE(w.ui->cb_Standort->isEnabled());
}
