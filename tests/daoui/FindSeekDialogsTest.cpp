// The quick find/seek dialog, the find/seek dialog and the date picker,
// driven by clicks and keys over the sample catalogue and an indexed table.
#include "daoui/DatasetDialogs.h"
#include "daoui/TDTPicker.h"
#include "daoui/TQFS.h"
#include "daoui/TVodaoFindSeekDialog.h"
#include "tests/daoui/DialogTestSupport.h"
#include "tests/daoui/ReadersTable.h"
#include "tests/support/EngineRows.h"
#include "ui_TDTPicker.h"
#include "ui_TQFS.h"
#include "ui_TVodaoFindSeekDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace daouitest;

namespace {

struct QuickFind : Catalogue {};
struct FindDialog : Catalogue {};

} // namespace

TEST_F(QuickFind, MuelMovesToTheFirstMueller)
{
    openAllCopies();
    answer<TQFS>([](TQFS& d) {
        EXPECT_EQ(d.windowTitle(), " Find a Record based on data contained in the field");
        EXPECT_EQ(d.ui->ComboBox1->count(), 3);
        EXPECT_EQ(d.ui->ComboBox1->currentText(), "AUTOR") << "the field given, whatever its case";
        EXPECT_FALSE(d.ui->Button1->isEnabled()) << "no date or time field";
        d.ui->Edit1->setFocus();
        typeText(d.ui->Edit1, "Mül");
        QTest::mouseClick(d.ui->Button2, Qt::LeftButton);
    });
    EXPECT_TRUE(ExecuteQuickFindSeek(table, false, "autor"));
    EXPECT_EQ(text("AUTOR"), "Müller, Hans");
    EXPECT_EQ(number(), 3);
}

TEST_F(QuickFind, EnterSearchesOnceAndTheDialogStaysOpen)
{
    openAllCopies();
    QList<int> muellers;
    for (const QJsonValue& row : testsupport::expectedCatalogueQueries()["alle"].toObject()["rows"].toArray())
        if (row.toArray()[2].toString().startsWith("mül", Qt::CaseInsensitive))
            muellers << row.toArray()[0].toInt();
    ASSERT_GE(muellers.size(), 2);
    QList<int> found;
    answer<TQFS>([&](TQFS& d) {
        d.ui->Edit1->setFocus();
        typeText(d.ui->Edit1, "mül");
        for (int i = 0; i <= muellers.size(); ++i) {
            QTest::keyClick(d.ui->Edit1, Qt::Key_Return);
            found << number();
        }
        EXPECT_TRUE(d.isVisible());
        QTest::mouseClick(d.ui->Button3, Qt::LeftButton);
    });
    EXPECT_FALSE(ExecuteQuickFindSeek(table, false, "AUTOR"));
    // Each Enter one copy by Müller further in number order, then from the top again.
    EXPECT_EQ(found, muellers + QList<int>{muellers.front()});
    EXPECT_TRUE(ui->messages().empty());
}

TEST_F(QuickFind, AFieldNotListedLeavesNoSelectionAndSearchesNothing)
{
    openAllCopies();
    table.MoveBy(4);
    answer<TQFS>([](TQFS& d) {
        EXPECT_EQ(d.ui->ComboBox1->currentIndex(), -1);
        typeText(d.ui->Edit1, "1");
        QTest::mouseClick(d.ui->Button4, Qt::LeftButton);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_FALSE(ExecuteQuickFindSeek(table, false, "Lookup-Feld"));
    EXPECT_EQ(table.RecNo(), 5);
}

TEST_F(QuickFind, ErrorsAreShownAndTheDialogStaysOpen)
{
    openAllCopies();
    answer<TQFS>([](TQFS& d) {
        typeText(d.ui->Edit1, "kein Wert");
        QTest::mouseClick(d.ui->Button2, Qt::LeftButton);
        EXPECT_TRUE(d.isVisible()) << "Ok does not close on an error";
        QTest::mouseClick(d.ui->Button3, Qt::LeftButton);
    });
    EXPECT_FALSE(ExecuteQuickFindSeek(table, false, "BUCHNR"));
    ASSERT_EQ(ui->messages().size(), 1u);
    EXPECT_EQ(ui->messages()[0].icon, MessageIcon::Stop);
}

TEST_F(QuickFind, ADateFieldShowsItsPatternAndThePickerOpensUnderTheButton)
{
    const LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    table.SetSQL("SELECT * FROM TITEL ORDER BY Buchungsnummer");
    table.Open();
    answer<TQFS>([&](TQFS& d) {
        EXPECT_EQ(d.ui->Edit1->text(), "dd.mm.yyyy");
        EXPECT_TRUE(d.ui->Button1->isEnabled());
        EXPECT_EQ(d.ui->Button1->text(), "...");
        answer<TDTPicker>([&](TDTPicker& picker) {
            EXPECT_EQ(picker.windowTitle(), "Pick a Date");
            EXPECT_TRUE(picker.ui->OKBtn->text().isEmpty());
            EXPECT_TRUE(picker.ui->CancelBtn->text().isEmpty());
            const QRect button(d.ui->Button1->mapToGlobal(QPoint(0, 0)), d.ui->Button1->size());
            EXPECT_EQ(picker.frameGeometry().right(), button.right());
            EXPECT_EQ(picker.frameGeometry().top(), button.bottom() + 1 + 2);
            picker.ui->DTP->setDate(QDate(2010, 1, 25));
            QTest::mouseClick(picker.ui->OKBtn, Qt::LeftButton);
        });
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
        EXPECT_EQ(d.ui->Edit1->text(), "25.01.2010");

        // Another field: the edit is emptied and the button goes.
        d.ui->ComboBox1->setCurrentIndex(d.ui->ComboBox1->findText("JAHR"));
        EXPECT_TRUE(d.ui->Edit1->text().isEmpty());
        EXPECT_FALSE(d.ui->Button1->isEnabled());
        d.ui->ComboBox1->setCurrentIndex(d.ui->ComboBox1->findText("ERFASST"));
        EXPECT_EQ(d.ui->Edit1->text(), "dd.mm.yyyy");
        answer<TDTPicker>([&](TDTPicker& picker) {
            picker.ui->DTP->setDate(QDate(2010, 1, 25));
            QTest::mouseClick(picker.ui->OKBtn, Qt::LeftButton);
        });
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
        QTest::mouseClick(d.ui->Button2, Qt::LeftButton);
    });
    EXPECT_TRUE(ExecuteQuickFindSeek(table, false, "ERFASST"));
    EXPECT_EQ(dialogsShown(), (QStringList{"TQFS", "TDTPicker", "TDTPicker"}));
    EXPECT_EQ(table.FieldByName("Buchungsnummer")->AsInteger(), 120);
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join("\n").toStdString();
}

TEST_F(FindDialog, FindsByTheCheckedRowsOnly)
{
    openAllCopies();
    answer<TVodaoFindSeekDialog>([&](TVodaoFindSeekDialog& d) {
        EXPECT_EQ(d.windowTitle(), " Find a Record based on data contained in the selected fields");
        ASSERT_EQ(d.RowCount(), 3);
        EXPECT_EQ(d.RowCheck(2)->text(), "AUTOR:");
        for (int i = 0; i < 3; ++i) {
            EXPECT_FALSE(d.RowEdit(i)->isEnabled());
            EXPECT_TRUE(d.RowPicker(i)->isHidden()) << "no date or time fields";
            EXPECT_GT(d.RowEdit(i)->x(), d.RowCheck(i)->geometry().right()) << "edits stand beside the check boxes";
        }

        QTest::mouseClick(d.ui->Button1, Qt::LeftButton); // nothing checked: no search
        EXPECT_EQ(number(), 1);

        QTest::mouseClick(d.RowCheck(2), Qt::LeftButton);
        EXPECT_TRUE(d.RowEdit(2)->isEnabled());
        EXPECT_EQ(d.focusWidget(), d.RowEdit(2));
        typeText(d.RowEdit(2), "mül");
        QTest::keyClick(d.RowEdit(2), Qt::Key_Return);
        EXPECT_EQ(number(), 3);
        EXPECT_TRUE(d.isVisible());

        // Title and author together: only the copy of "Müller" by "MÜLLER".
        QTest::mouseClick(d.RowCheck(1), Qt::LeftButton);
        typeText(d.RowEdit(1), "Müller");
        QTest::mouseClick(d.ui->Ok, Qt::LeftButton);
    });
    EXPECT_TRUE(ExecuteFindSeekDialog(table, false));
    EXPECT_EQ(text("TITEL"), "Müller");
    EXPECT_EQ(text("AUTOR"), "MÜLLER");

    // Unchecking empties the row; Cancel after a search reports no success.
    answer<TVodaoFindSeekDialog>([&](TVodaoFindSeekDialog& d) {
        QTest::mouseClick(d.RowCheck(0), Qt::LeftButton);
        typeText(d.RowEdit(0), "4711");
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
        EXPECT_EQ(number(), 4711);
        QTest::mouseClick(d.RowCheck(0), Qt::LeftButton);
        EXPECT_TRUE(d.RowEdit(0)->text().isEmpty());
        EXPECT_FALSE(d.RowEdit(0)->isEnabled());
        QTest::mouseClick(d.ui->Cancel, Qt::LeftButton);
    });
    EXPECT_FALSE(ExecuteFindSeekDialog(table, false));
    EXPECT_TRUE(ui->messages().empty());
}

TEST_F(ReadersTable, SeekOverATwoFieldIndexHandsEveryIndexFieldToTheDataset)
{
    openTable("Leser", "OrtName");
    answer<TVodaoFindSeekDialog>([&](TVodaoFindSeekDialog& d) {
        EXPECT_EQ(d.windowTitle(), " Seek a Record on data in the selected fields part of an Index");
        ASSERT_EQ(d.RowCount(), 2);
        EXPECT_EQ(d.RowCheck(0)->text(), "Ort:");
        EXPECT_EQ(d.RowCheck(1)->text(), "Name:");
        // Only the second row checked: the first key stays empty.
        QTest::mouseClick(d.RowCheck(1), Qt::LeftButton);
        typeText(d.RowEdit(1), "Mül");
        const auto keys = SeekKeys(d.Rows());
        ASSERT_TRUE(keys);
        EXPECT_EQ(keys->Fields, "Ort;Name");
        EXPECT_EQ(keys->Values.toList().size(), 2);
        EXPECT_FALSE(keys->Values.toList()[0].isValid());
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());

        // Both rows: the reader in Berlin.
        QTest::mouseClick(d.RowCheck(0), Qt::LeftButton);
        typeText(d.RowEdit(0), "berl");
        QTest::mouseClick(d.ui->Ok, Qt::LeftButton);
    });
    EXPECT_TRUE(ExecuteFindSeekDialog(table, true));
    EXPECT_EQ(table.FieldByName("Ort")->AsString(), "Berlin");
    EXPECT_EQ(table.FieldByName("Name")->AsString(), "Müller");
    EXPECT_EQ(id(), 2);
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join("\n").toStdString();
}

TEST_F(ReadersTable, QuickSeekListsTheIndexFieldsAndStartsOnTheFirst)
{
    openTable("Leser", "OrtName");
    answer<TQFS>([&](TQFS& d) {
        EXPECT_EQ(d.windowTitle(), " Seek a Record on data in the field part of an Index");
        EXPECT_EQ(d.ui->ComboBox1->count(), 2);
        EXPECT_EQ(d.ui->ComboBox1->currentText(), "Ort") << "Seit is no index field";
        typeText(d.ui->Edit1, "bo");
        QTest::mouseClick(d.ui->Button2, Qt::LeftButton);
    });
    EXPECT_TRUE(ExecuteQuickFindSeek(table, true, "Seit"));
    EXPECT_EQ(table.FieldByName("Ort")->AsString(), "Bonn");
}
