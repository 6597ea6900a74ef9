#include "tests/app/MainWindowHarness.h"
#include "ui_TfMain.h"

#include "daoui/TVoDaoDBGrid.h"
#include "engine/Database.h"
#include "framework/data/TField.h"
#include "tests/support/EngineRows.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A started main window with the sample catalogue and an empty inventory.
struct Stocktaking : ::testing::Test {
    MainWindowHarness h;
    TfMain* w = nullptr;

    Stocktaking()
    {
        w = &h.startOnSampleCatalogue();
        h.ui->clear();
    }

    void type(const QString& text, bool enter = true)
    {
        QTest::keyClicks(w->ui->ed_BuchNr, text);
        if (enter)
            QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Return);
    }

    QJsonArray rows(const QString& sql) { return testsupport::queryRows(h.dir.file("db_inv.mdb"), sql); }
};

} // namespace

TEST_F(Stocktaking, CapturedNumbersAreStoredInTheActiveListAndCounted)
{
    w->ui->ed_NeueInventur->setText("Inventur vom: 06.12.2026");
    w->ui->Button1->click();
    EXPECT_EQ(w->ui->DBText1->text(), "Inventur vom: 06.12.2026");
    EXPECT_EQ(w->ui->DBText2->text(), "Inventur vom: 06.12.2026");

    type("4711");
    EXPECT_EQ(w->ui->ed_BuchNr->text(), "");
    EXPECT_EQ(w->ui->gb_Erfassung->title(), "vorhandene Buch-Nummern (1)");
    type("007");
    EXPECT_EQ(w->ui->gb_Erfassung->title(), "vorhandene Buch-Nummern (2)");
    EXPECT_EQ(rows("SELECT NR, Inventurliste FROM inventur ORDER BY IDX"),
              (QJsonArray{QJsonArray{4711, 1}, QJsonArray{7, 1}}));
    EXPECT_TRUE(h.ui->messages().empty());
    EXPECT_FALSE(w->TB_INV_COUNT.Active()) << "the duplicate test is closed between captures";
}

TEST_F(Stocktaking, ADuplicateIsRefusedWithBeepAndStaysSelected)
{
    w->ui->Button1->click();
    type("4711");
    type("4711");
    EXPECT_EQ(h.ui->messageTexts(), QStringList{"Nummer schon vorhanden!"});
    EXPECT_EQ(h.ui->beeps(), 1);
    EXPECT_EQ(w->ui->ed_BuchNr->text(), "4711");
    EXPECT_EQ(w->ui->ed_BuchNr->selectedText(), "4711") << "the next scan replaces the refused number";
    type("12");
    EXPECT_EQ(rows("SELECT NR FROM inventur ORDER BY IDX"), (QJsonArray{QJsonArray{4711}, QJsonArray{12}}));
}

TEST_F(Stocktaking, ABookScannedWhileTheDuplicateBoxIsUpIsCapturedNotLost)
{
    w->ui->Button1->click();
    type("4711");
    h.ui->scansMeanwhile = {"4711", "12"}; // the box takes a second duplicate, then a new book
    type("4711");
    EXPECT_EQ(h.ui->messageTexts(), (QStringList{"Nummer schon vorhanden!", "Nummer schon vorhanden!"}));
    EXPECT_EQ(h.ui->beeps(), 2);
    EXPECT_EQ(w->ui->ed_BuchNr->text(), "");
    EXPECT_EQ(w->ui->gb_Erfassung->title(), "vorhandene Buch-Nummern (2)");
    EXPECT_EQ(rows("SELECT NR FROM inventur ORDER BY IDX"), (QJsonArray{QJsonArray{4711}, QJsonArray{12}}));
}

TEST_F(Stocktaking, OtherKeysBeepAndChangeNothing)
{
    w->ui->Button1->click();
    type("a -.", false);
    EXPECT_EQ(w->ui->ed_BuchNr->text(), "");
    EXPECT_EQ(h.ui->beeps(), 4);
}

TEST_F(Stocktaking, BadNumbersLeaveNothingPendingAndShowTheError)
{
    w->ui->Button1->click();
    type("2147483648");
    EXPECT_EQ(h.ui->messageTexts(), QStringList{QStringLiteral("'2147483648' ist kein gültiger Integerwert.")});
    EXPECT_FALSE(w->TB_INV_COUNT.Active());
    EXPECT_EQ(w->TB_INV.State(), dsBrowse) << "no pending entry";
    h.ui->clear();
    w->ui->ed_BuchNr->setText("1 OR 1=1"); // pasted, not typed
    QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Return);
    EXPECT_EQ(h.ui->messages().size(), 1u);
    h.ui->clear();
    w->ui->ed_BuchNr->clear();
    QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Return);
    ASSERT_EQ(h.ui->messages().size(), 1u) << "an empty field reaches the engine, which refuses the query";
    EXPECT_TRUE(h.ui->messages()[0].text.startsWith("Syntax error"));
    EXPECT_TRUE(rows("SELECT * FROM inventur").isEmpty());

    // A scanner that sends a second Enter: the book scanned while the error is up closes it and is captured.
    h.ui->clear();
    h.ui->scansMeanwhile = {"77"};
    QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Return);
    ASSERT_EQ(h.ui->messages().size(), 1u);
    EXPECT_EQ(h.ui->messages()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(w->ui->ed_BuchNr->text(), "");
    EXPECT_EQ(rows("SELECT NR FROM inventur"), QJsonArray{QJsonArray{77}});
}

TEST_F(Stocktaking, DeletingAListAsksAndRemovesOnlyItsEntries)
{
    w->ui->ed_NeueInventur->setText("erste");
    w->ui->Button1->click();
    type("1");
    w->ui->ed_NeueInventur->setText("zweite");
    w->ui->Button1->click();
    type("2");
    type("3");
    h.ui->messageAnswers = {1}; // "&Nein"
    w->ui->Button2->click();
    EXPECT_EQ(h.ui->messages().back().text, QStringLiteral("Datensatz \"zweite\" wirklich löschen?"));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM inventurliste"), QJsonArray{QJsonArray{2}});
    h.ui->messageAnswers = {0}; // "&Ja"
    w->ui->Button2->click();
    EXPECT_EQ(rows("SELECT Bezeichnung FROM inventurliste"), QJsonArray{QJsonArray{"erste"}});
    EXPECT_EQ(rows("SELECT NR, Inventurliste FROM inventur"), QJsonArray{(QJsonArray{1, 1})});
    EXPECT_EQ(w->ui->DBText1->text(), "erste") << "the neighbour becomes the active list";
}

TEST_F(Stocktaking, ATabChangeShowsTheCountOfTheActiveList)
{
    w->ui->Button1->click();
    type("5");
    w->ui->gb_Erfassung->setTitle("x");
    QTabBar* bar = w->ui->PageControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    EXPECT_EQ(w->ui->gb_Erfassung->title(), "vorhandene Buch-Nummern (1)");
}

TEST_F(Stocktaking, ALongListNameIsRefusedBeforeAnythingIsStored)
{
    w->ui->ed_NeueInventur->setText(QString(51, 'x'));
    w->ui->Button1->click();
    ASSERT_EQ(h.ui->messages().size(), 1u);
    EXPECT_TRUE(h.ui->messages()[0].text.startsWith("Der Name der Inventurliste"));
    EXPECT_TRUE(rows("SELECT * FROM inventurliste").isEmpty());
}

TEST_F(Stocktaking, ImportWarnsAboutBadLinesThenStoresUpToTheFirstOne)
{
    w->ui->Button1->click();
    h.dir.write("nummern.txt", "1\r\n\r\n 42\r\n12a\r\n42\r\n42 \r\n7\r\n");
    h.ui->fileAnswers.push_back(FileDialogResult{h.dir.file("nummern.txt"), 3});
    w->ui->Button3->click();
    EXPECT_EQ(h.ui->messageTexts(),
              (QStringList{"Fehler: 12a ist keine Zahl in Zeile:3", "Fehler: 42  ist keine Zahl in Zeile:5",
                           QStringLiteral("'12a' ist kein gültiger Integerwert.")}));
    EXPECT_EQ(h.ui->beeps(), 2);
    EXPECT_EQ(rows("SELECT NR FROM inventur ORDER BY IDX"), (QJsonArray{QJsonArray{1}, QJsonArray{42}}));
    EXPECT_EQ(w->ui->Label5->text(), "12a") << "the label keeps the failing line";
    EXPECT_EQ(w->TB_INV.State(), dsBrowse);
}

TEST_F(Stocktaking, ImportOfAGoodFileEndsWithFertig)
{
    w->ui->Button1->click();
    h.dir.write("nummern.csv", "5\n5\n\n6");
    h.ui->fileAnswers.push_back(FileDialogResult{h.dir.file("nummern.csv"), 4});
    w->ui->Button3->click();
    EXPECT_TRUE(h.ui->messages().empty());
    EXPECT_EQ(w->ui->Label5->text(), "fertig.");
    EXPECT_EQ(rows("SELECT NR FROM inventur ORDER BY IDX"), (QJsonArray{QJsonArray{5}, QJsonArray{5}, QJsonArray{6}}));

    w->ui->Button3->click(); // cancelled
    EXPECT_EQ(w->ui->Label5->text(), "fertig.");
}

TEST_F(Stocktaking, ALargeImportIsCommittedUpToTheBadLineAndLaterCapturesStillLast)
{
    w->ui->Button1->click();
    QByteArray file;
    for (int nr = 1; nr <= 4500; ++nr)
        file += QByteArray::number(nr) + "\r\n";
    file += "x\r\n4501\r\n";
    h.dir.write("gross.txt", file);
    h.ui->fileAnswers.push_back(FileDialogResult{h.dir.file("gross.txt"), 3});
    w->ui->Button3->click();
    EXPECT_EQ(h.ui->messageTexts().size(), 2);
    // Read through another connection: only committed entries are visible there.
    EXPECT_EQ(rows("SELECT COUNT(*), MIN(NR), MAX(NR) FROM inventur"), (QJsonArray{QJsonArray{4500, 1, 4500}}));

    type("99999");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM inventur WHERE NR = 99999"), (QJsonArray{QJsonArray{1}}))
        << "no transaction of the import is left open";
}

TEST_F(Stocktaking, ImportedEntriesBelongToTheActiveListAndTheLastOneIsCurrent)
{
    w->ui->ed_NeueInventur->setText("erste");
    w->ui->Button1->click();
    type("1");
    w->ui->ed_NeueInventur->setText("zweite");
    w->ui->Button1->click();
    h.dir.write("nummern.txt", "7\r\n3\r\n9\r\n");
    h.ui->fileAnswers.push_back(FileDialogResult{h.dir.file("nummern.txt"), 3});
    w->ui->Button3->click();
    EXPECT_EQ(rows("SELECT NR, Inventurliste FROM inventur ORDER BY IDX"),
              (QJsonArray{QJsonArray{1, 1}, QJsonArray{7, 2}, QJsonArray{3, 2}, QJsonArray{9, 2}}));
    EXPECT_EQ(w->TB_INV.RecordCount(), 3) << "the dataset shows the entries stored past it";
    EXPECT_EQ(w->TB_INV.FieldByName("NR")->AsInteger(), 9);

    // "lösche aktive Zeile" takes the entry imported last, as after a capture.
    w->ui->btn_Del_inv->click();
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE Inventurliste = 2 ORDER BY IDX"),
              (QJsonArray{QJsonArray{7}, QJsonArray{3}}));
    QTabBar* bar = w->ui->PageControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(w->ui->gb_Erfassung->title(), "vorhandene Buch-Nummern (2)");
    type("3");
    EXPECT_EQ(h.ui->messageTexts(), QStringList{"Nummer schon vorhanden!"}) << "the duplicate test sees the import";
}

TEST_F(Stocktaking, TheHiddenGridsAreBoundToTheListsAndTheEntriesOfTheActiveList)
{
    w->ui->ed_NeueInventur->setText("Inventur vom: 06.12.2026");
    w->ui->Button1->click();
    w->ui->PageControl1->setCurrentIndex(1);
    for (const char* number : {"36", "2", "4711"})
        type(number);
    TVoDaoDBGrid& lists = *w->ui->VoDaoDBGrid2;
    TVoDaoDBGrid& entries = *w->ui->VoDaoDBGrid1;
    EXPECT_FALSE(lists.isVisibleTo(w));
    EXPECT_FALSE(entries.isVisibleTo(w));

    EXPECT_EQ(lists.DataSource(), &w->DS_Master);
    ASSERT_EQ(lists.Columns().Count(), 1);
    EXPECT_EQ(lists.Columns()[0].TitleCaption(), "Bezeichnung");
    EXPECT_EQ(lists.ColumnWidth(0), 190);
    EXPECT_TRUE(lists.Columns()[0].Title.Font->bold());
    EXPECT_EQ(lists.Columns()[0].Title.Alignment, Qt::AlignHCenter);
    EXPECT_FALSE(lists.AutoSizeColumns());

    EXPECT_EQ(entries.DataSource(), &w->DS_INV);
    ASSERT_EQ(entries.Columns().Count(), 1);
    EXPECT_EQ(entries.Columns()[0].TitleCaption(), "Buch-NR");
    EXPECT_EQ(entries.Columns()[0].Title.Alignment, Qt::AlignHCenter);
    EXPECT_TRUE(entries.AutoSizeColumns());
    EXPECT_EQ(entries.Model().rowCount(), 0) << "a hidden grid reads nothing";

    // Shown (as no user of the program sees it), it holds the active list's entries in the dataset's order.
    QStringList walked;
    for (w->TB_INV.First(); !w->TB_INV.Eof(); w->TB_INV.Next())
        walked << w->TB_INV.FieldByName("NR")->AsString();
    QWidget* page = entries.parentWidget();
    entries.setParent(nullptr);
    entries.show();
    QApplication::processEvents();
    QStringList shown;
    for (int row = 0; row < entries.Model().rowCount(); ++row)
        shown << entries.Model().data(entries.Model().index(row, 0)).toString();
    EXPECT_EQ(shown, walked);
    EXPECT_EQ(shown.size(), 3);
    entries.hide();
    entries.setParent(page);
}
