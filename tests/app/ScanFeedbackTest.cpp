#include "tests/app/MainWindowHarness.h"
#include "ui_TfMain.h"

#include "tests/support/EngineRows.h"

#include <QDialog>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// A started main window with the sample catalogue (67 copies the checks
// list) and one inventory list, on the tab "Inventur" as the librarian has it.
struct ScanFeedback : ::testing::Test {
    MainWindowHarness h;
    TfMain* w = nullptr;

    ScanFeedback()
    {
        w = &h.startOnSampleCatalogue();
        w->ui->ed_NeueInventur->setText("Regal A");
        w->ui->Button1->click();
        clickTab(1);
        h.ui->clear();
    }

    void clickTab(int index)
    {
        QTabBar* bar = w->ui->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    // Digits and Enter, as a keyboard-wedge scanner types them.
    void scan(int number)
    {
        QTest::keyClicks(w->ui->ed_BuchNr, QString::number(number));
        QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Return);
    }

    QString found() const { return w->ui->lbl_FundTitel->text() + " / " + w->ui->lbl_FundAutor->text(); }
    QColor foundColour() const { return w->ui->lbl_FundTitel->palette().color(QPalette::WindowText); }
    QString progress() const { return w->ui->lbl_Fortschritt->text(); }

    // The rows of the list of the last captured numbers, "number: title".
    QStringList recent() const
    {
        QStringList rows;
        QTreeWidget* list = w->ui->lst_Zuletzt;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows << list->topLevelItem(i)->text(0) + ": " + list->topLevelItem(i)->text(1);
        return rows;
    }
    QString selectedRecent() const
    {
        const auto chosen = w->ui->lst_Zuletzt->selectedItems();
        return chosen.isEmpty() ? QString() : chosen.front()->text(0);
    }

    QJsonArray stored() { return testsupport::queryRows(h.dir.file("db_inv.mdb"), "SELECT NR FROM inventur ORDER BY IDX"); }

    // Rows of the missing-books report for the active list.
    int missingBooksRows()
    {
        h.ui->dialogAnswers.push_back([](QDialog&) { return int(QDialog::Rejected); });
        w->ui->btn_FehlendeBuecher->click();
        return w->TB_Veltrano.RecordCount();
    }
};

} // namespace

TEST_F(ScanFeedback, ACopyOfTheCatalogueShowsItsTitleAndAuthorAndIsListedFirst)
{
    scan(4711);
    EXPECT_EQ(found(), "Der Zauberberg / Mann, Thomas");
    EXPECT_EQ(h.ui->beeps(BeepKind::Attention) + h.ui->beeps(), 0) << "a copy found makes no sound";
    scan(2147483647);
    EXPECT_EQ(found(), "(ohne Titel) / Brecht, Bertolt");
    scan(3);
    EXPECT_EQ(found(), QStringLiteral("Größe und Grenzen der Physik / Müller, Hans"));
    EXPECT_EQ(recent(), (QStringList{QStringLiteral("3: Größe und Grenzen der Physik"), "2147483647: (ohne Titel)",
                                     "4711: Der Zauberberg"}));
    EXPECT_EQ(selectedRecent(), "3") << "the entry just stored is the active row";

    for (int nr = 20; nr < 30; ++nr)
        scan(nr);
    EXPECT_EQ(recent().size(), 10) << "the last ten, newest first";
    EXPECT_EQ(recent().front(), QStringLiteral("29: Faust. Der Tragödie erster Teil"));
    EXPECT_EQ(recent().back(), QStringLiteral("20: Ungefähr ~ 100 Rezepte"));
}

TEST_F(ScanFeedback, ANumberNotInTheCatalogueWarnsInRedWithItsOwnSoundAndIsStored)
{
    scan(99999);
    EXPECT_EQ(found(), "Nummer 99999 nicht im Katalog! / Die Nummer ist trotzdem gespeichert.");
    EXPECT_EQ(foundColour(), QColor(204, 0, 0));
    EXPECT_EQ(h.ui->beeps(BeepKind::Attention), 1);
    EXPECT_EQ(h.ui->beeps(), 0) << "not the beep of a duplicate";
    EXPECT_TRUE(h.ui->messages().empty());
    EXPECT_EQ(w->ui->gb_Erfassung->title(), "vorhandene Buch-Nummern (1)");

    // A copy whose title record is missing is no copy the checks list, nor here.
    scan(4712);
    EXPECT_EQ(w->ui->lbl_FundTitel->text(), "Nummer 4712 nicht im Katalog!");
    EXPECT_EQ(recent(), (QStringList{"4712: nicht im Katalog", "99999: nicht im Katalog"}));
    EXPECT_EQ(w->ui->lst_Zuletzt->topLevelItem(0)->foreground(1).color(), QColor(204, 0, 0));

    scan(1);
    EXPECT_NE(foundColour(), QColor(204, 0, 0)) << "the next copy found clears the warning";
    EXPECT_EQ(stored(), (QJsonArray{QJsonArray{99999}, QJsonArray{4712}, QJsonArray{1}}));
}

TEST_F(ScanFeedback, ADuplicateIsStillRefusedAndStoresNothing)
{
    scan(4711);
    scan(4711);
    EXPECT_EQ(h.ui->messageTexts(), QStringList{"Nummer schon vorhanden!"});
    EXPECT_EQ(h.ui->beeps(), 1);
    EXPECT_EQ(h.ui->beeps(BeepKind::Attention), 0);
    EXPECT_EQ(found(), QStringLiteral("Nummer 4711 schon vorhanden! / Der Zauberberg – Mann, Thomas"));
    EXPECT_EQ(w->ui->ed_BuchNr->text(), "4711");
    EXPECT_EQ(recent(), QStringList{"4711: Der Zauberberg"});
    EXPECT_EQ(stored(), QJsonArray{QJsonArray{4711}});
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 1 von 67 Exemplaren — fehlen noch: 66"));
}

// The progress line counts the catalogue's copies whose number the list
// records, so that what it says is missing is what the report lists.
TEST_F(ScanFeedback, TheProgressFollowsCapturesDeletionsImportsAndListsAndMatchesTheReport)
{
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 0 von 67 Exemplaren — fehlen noch: 67"));
    for (int nr : {1, 2, 99999, 4712, 21})
        scan(nr);
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 3 von 67 Exemplaren — fehlen noch: 64"))
        << "unknown numbers and copies without title count for nothing";

    // Choosing an entry with the arrow keys, then "lösche aktive Zeile".
    EXPECT_EQ(selectedRecent(), "21");
    QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Down);
    QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Down);
    EXPECT_EQ(selectedRecent(), "99999");
    QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Down);
    EXPECT_EQ(selectedRecent(), "2");
    w->ui->btn_Del_inv->click();
    EXPECT_EQ(stored(), (QJsonArray{QJsonArray{1}, QJsonArray{99999}, QJsonArray{4712}, QJsonArray{21}}));
    EXPECT_EQ(recent(), (QStringList{"21: Der Zauberberg", "4712: nicht im Katalog", "99999: nicht im Katalog",
                                     "1: Die Leiden des jungen Werthers"}));
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 2 von 67 Exemplaren — fehlen noch: 65"));
    EXPECT_EQ(w->ui->gb_Erfassung->title(), "vorhandene Buch-Nummern (5)") << "the caption waits for the next capture";

    // An import may store a number twice; it is one copy recorded.
    clickTab(0);
    h.dir.write("nummern.txt", "22\r\n22\r\n1\r\n");
    h.ui->fileAnswers.push_back(FileDialogResult{h.dir.file("nummern.txt"), 3});
    w->ui->Button3->click();
    clickTab(1);
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 3 von 67 Exemplaren — fehlen noch: 64"));
    EXPECT_EQ(missingBooksRows(), 64);

    // Another list is counted from its own entries; the last numbers are its own.
    clickTab(0);
    w->ui->ed_NeueInventur->setText("Regal B");
    w->ui->Button1->click();
    clickTab(1);
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 0 von 67 Exemplaren — fehlen noch: 67"));
    EXPECT_TRUE(recent().isEmpty());
    scan(21);
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 1 von 67 Exemplaren — fehlen noch: 66"));
    EXPECT_EQ(missingBooksRows(), 66);

    // Deleting it makes the first list active again, with its count read afresh.
    clickTab(0);
    h.ui->messageAnswers = {0};
    w->ui->Button2->click();
    clickTab(1);
    EXPECT_EQ(progress(), QStringLiteral("erfasst: 3 von 67 Exemplaren — fehlen noch: 64"));
    EXPECT_EQ(missingBooksRows(), 64);
    EXPECT_TRUE(recent().isEmpty()) << "the last numbers were those of the deleted list";
    EXPECT_EQ(w->TB_INV.RecordCount(), 7) << "the entries shown are the first list's";
}

TEST_F(ScanFeedback, TheFocusWaitsInTheNumberField)
{
    // The keyboard's way to the tab: the tab bar has the focus, the arrow key changes the tab.
    clickTab(0);
    QTabBar* bar = w->ui->PageControl1->tabBar();
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Right);
    ASSERT_EQ(w->ui->PageControl1->currentWidget(), w->ui->TabSheet2);
    EXPECT_EQ(w->focusWidget(), w->ui->ed_BuchNr) << "after the change to the tab";

    scan(5);
    EXPECT_EQ(w->focusWidget(), w->ui->ed_BuchNr) << "after a capture";

    // A message box takes the focus while it is shown; the field has it back afterwards.
    h.ui->onMessage = [this](const MessageRequest&) { w->ui->lst_Zuletzt->setFocus(Qt::OtherFocusReason); };
    w->ui->lst_Zuletzt->setFocusPolicy(Qt::StrongFocus);
    scan(5);
    EXPECT_EQ(h.ui->messageTexts(), QStringList{"Nummer schon vorhanden!"});
    EXPECT_EQ(w->focusWidget(), w->ui->ed_BuchNr) << "after the duplicate's message box";
    w->ui->ed_BuchNr->clear();
    QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Return);
    EXPECT_EQ(h.ui->messages().size(), 2u);
    EXPECT_EQ(w->focusWidget(), w->ui->ed_BuchNr) << "after the default error display";

    // Clicking the buttons of the tab leaves it there, so that a scan's Enter cannot press them.
    QTest::mouseClick(w->ui->btn_Del_inv, Qt::LeftButton);
    EXPECT_EQ(w->focusWidget(), w->ui->ed_BuchNr);
    EXPECT_EQ(stored(), QJsonArray{}) << "the entry of the last capture was the active row";
}
