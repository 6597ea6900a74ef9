// The filter dialog opened from the grid's menu over the fixture catalogue,
// driven by clicks and keys; the rows the filter leaves are compared with
// what the command-line program gives for the same condition.
#include "daoui/DatasetDialogs.h"
#include "daoui/TVoDaoFilterBy.h"
#include "tests/daoui/DialogTestSupport.h"
#include "ui_TVoDaoFilterBy.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace daouitest;

namespace {

using Dialog = TVoDaoFilterBy;

struct FilterGrid : TitlesGrid {
    void openFilterDialog() { chooseFromGridMenu(ui, grid, TVoDaoDBGrid::miFilter); }

    QList<int> shownTitles()
    {
        QList<int> numbers;
        for (table.First(); !table.Eof(); table.Next())
            numbers << table.FieldByName("Buchungsnummer")->AsInteger();
        std::sort(numbers.begin(), numbers.end());
        return numbers;
    }

    // The titles the command-line program selects with the condition.
    QList<int> titlesWhere(const QString& condition)
    {
        QList<int> numbers =
            numbersFromSqlTool(db.Database(), "SELECT Buchungsnummer FROM TITEL WHERE " + condition);
        std::sort(numbers.begin(), numbers.end());
        return numbers;
    }

    // Applies one condition typed into the first row.
    void filterOn(const QString& field, const QString& operation, const QString& operand)
    {
        answer<Dialog>([=](Dialog& d) {
            QTest::mouseClick(d.ui->ClearAllButton, Qt::LeftButton);
            chooseByKeys(d.RowAt(0).field, field);
            chooseByKeys(d.RowAt(0).operation, operation);
            if (!operand.isEmpty()) {
                d.RowAt(0).operand->setFocus();
                typeText(d.RowAt(0).operand, operand);
            }
            QTest::keyClick(d.RowAt(0).operand, Qt::Key_Return); // "Ok" is the default button
        });
        openFilterDialog();
    }
};

} // namespace

TEST_F(FilterGrid, RowsOneAndThreeWithRowTwoEmptyAndTheDialogReopensOnWhatWasApplied)
{
    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.windowTitle(), "Select Filter Conditions");
        EXPECT_EQ(d.size(), QSize(451, 290));
        EXPECT_TRUE(d.ui->EndLabel->isVisible());
        EXPECT_FALSE(d.RowAt(8).connector->isVisible()) << "END. stands in its place";
        EXPECT_EQ(d.RowAt(0).field->count(), 7) << "an empty item, then the six fields";
        EXPECT_EQ(d.RowAt(0).field->itemText(1), "Buchungsnummer");
        EXPECT_EQ(d.RowAt(0).operation->count(), 9);

        chooseByKeys(d.RowAt(0).field, "JAHR");
        chooseByKeys(d.RowAt(0).operation, " >= ");
        d.RowAt(0).operand->setFocus();
        typeText(d.RowAt(0).operand, "1950");
        chooseByKeys(d.RowAt(1).connector, "Or");
        chooseByKeys(d.RowAt(2).field, "VERLAG");
        d.RowAt(2).operand->setFocus();
        typeText(d.RowAt(2).operand, "Diogenes");
        QTest::mouseClick(d.ui->OkButton, Qt::LeftButton);
    });
    openFilterDialog();
    const QString applied = "(JAHR >= 1950) Or (VERLAG = \"Diogenes\") ";
    EXPECT_EQ(table.Filter(), applied);
    EXPECT_TRUE(table.Filtered());
    EXPECT_EQ(shownTitles(), titlesWhere(applied));
    EXPECT_EQ(shownTitles().size(), 29);
    EXPECT_EQ(grid.FilterConditions(), (QStringList{"JAHR*** >= ***1950***Or", "VERLAG*** = ***Diogenes***And"}));

    // Reopened: the used rows from the top, joined as they were applied.
    // Changed and cancelled, nothing moves.
    auto showsApplied = [](Dialog& d) {
        EXPECT_EQ(d.RowAt(0).field->currentText(), "JAHR");
        EXPECT_EQ(d.RowAt(0).operation->currentText(), " >= ");
        EXPECT_EQ(d.RowAt(0).operand->text(), "1950");
        EXPECT_EQ(d.RowAt(0).connector->currentText(), "Or");
        EXPECT_EQ(d.RowAt(1).field->currentText(), "VERLAG");
        EXPECT_EQ(d.RowAt(1).operand->text(), "Diogenes");
        EXPECT_EQ(d.RowAt(2).field->currentIndex(), 0);
        EXPECT_EQ(BuildFilter(d.Rows(), {{"JAHR", ftSmallint}, {"VERLAG", ftString}}).Filter,
                  "(JAHR >= 1950) Or (VERLAG = \"Diogenes\") ");
    };
    answer<Dialog>([&](Dialog& d) {
        showsApplied(d);
        chooseByKeys(d.RowAt(0).connector, "And");
        chooseByKeys(d.RowAt(3).field, "HAUPTTITEL");
        typeText(d.RowAt(3).operand, "x");
        QTest::mouseClick(d.ui->CancelButton, Qt::LeftButton);
    });
    openFilterDialog();
    EXPECT_EQ(table.Filter(), applied);
    answer<Dialog>([&](Dialog& d) {
        showsApplied(d);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    openFilterDialog();
    EXPECT_EQ(dialogsShown().size(), 3);
    EXPECT_TRUE(ui->messages().empty());
}

TEST_F(FilterGrid, AQuoteInATextADateAndANullTestGiveTheRowsOfTheSameCondition)
{
    filterOn("HAUPTTITEL", " = ", "Das \"Zitat\" im Titel");
    EXPECT_EQ(table.Filter(), "(HAUPTTITEL = \"Das \"\"Zitat\"\" im Titel\") ");
    EXPECT_EQ(shownTitles(), QList<int>{124});
    EXPECT_EQ(grid.FilterConditions(), QStringList{"HAUPTTITEL*** = ***Das \"Zitat\" im Titel***And"});

    filterOn("HAUPTEINTRAG", " LIKE ", "O'B*");
    EXPECT_EQ(shownTitles(), QList<int>{129});

    {
        const LocaleScope german{QLocale(QLocale::German, QLocale::Germany)};
        filterOn("ERFASST", " > ", "01.01.2020");
    }
    EXPECT_EQ(table.Filter(), "(ERFASST > #01/01/2020#) ");
    EXPECT_EQ(shownTitles(), (QList<int>{103, 104, 105, 106, 107, 130, 131, 132, 133, 134}));
    EXPECT_EQ(shownTitles(), titlesWhere(table.Filter()));

    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.RowAt(0).operand->text(), "01.01.2020") << "the operand as typed";
        QLineEdit* operand = d.RowAt(0).operand;
        const QColor window = operand->palette().color(QPalette::Base);
        chooseByKeys(d.RowAt(0).field, "HAUPTEINTRAG");
        chooseByKeys(d.RowAt(0).operation, " IS NULL ");
        EXPECT_FALSE(operand->isEnabled());
        EXPECT_TRUE(operand->text().isEmpty());
        EXPECT_NE(operand->palette().color(QPalette::Base), window) << "greyed";
        chooseByKeys(d.RowAt(0).operation, " = ");
        EXPECT_TRUE(operand->isEnabled());
        EXPECT_EQ(operand->palette().color(QPalette::Base), window);
        EXPECT_EQ(d.RowAt(0).field->currentText(), "HAUPTEINTRAG") << "the field stays chosen";
        chooseByKeys(d.RowAt(0).operation, " IS NULL ");
        chooseByKeys(d.RowAt(1).field, "HAUPTTITEL");
        chooseByKeys(d.RowAt(1).operation, " IS NOT NULL ");
        QTest::mouseClick(d.ui->OkButton, Qt::LeftButton);
    });
    openFilterDialog();
    EXPECT_EQ(table.Filter(), "(HAUPTEINTRAG IS NULL ) And (HAUPTTITEL IS NOT NULL ) ");
    EXPECT_EQ(shownTitles(), QList<int>{105});
    EXPECT_EQ(shownTitles(), titlesWhere(table.Filter()));
    answer<Dialog>([](Dialog& d) {
        EXPECT_FALSE(d.RowAt(0).operand->isEnabled()) << "a kept null test reopens without operand";
        EXPECT_FALSE(d.RowAt(1).operand->isEnabled());
        EXPECT_TRUE(d.RowAt(2).operand->isEnabled());
        QTest::mouseClick(d.ui->CancelButton, Qt::LeftButton);
    });
    openFilterDialog();
    EXPECT_TRUE(ui->messages().empty());
}

TEST_F(FilterGrid, AnEmptiedOperandOrClearAllLeavesNoConditionAndTheFilterGoesOff)
{
    filterOn("VERLAG", " = ", "Reclam");
    ASSERT_EQ(shownTitles().size(), 4);

    answer<Dialog>([](Dialog& d) {
        // The user empties the operand: the row loses its field too.
        QLineEdit* operand = d.RowAt(0).operand;
        operand->setFocus();
        operand->selectAll();
        QTest::keyClick(operand, Qt::Key_Backspace);
        EXPECT_EQ(d.RowAt(0).field->currentIndex(), 0);
        EXPECT_EQ(d.RowAt(0).operation->currentText(), " = ");
        QTest::mouseClick(d.ui->OkButton, Qt::LeftButton);
    });
    openFilterDialog();
    EXPECT_FALSE(table.Filtered());
    EXPECT_TRUE(grid.FilterConditions().isEmpty());
    EXPECT_EQ(shownTitles().size(), 45);

    filterOn("JAHR", " < ", "1910");
    ASSERT_EQ(shownTitles(), titlesWhere("JAHR < 1910"));
    answer<Dialog>([](Dialog& d) {
        chooseByKeys(d.RowAt(4).field, "VERLAG");
        chooseByKeys(d.RowAt(4).operation, " IS NOT NULL ");
        chooseByKeys(d.RowAt(4).connector, "Or");
        QTest::mouseClick(d.ui->ClearAllButton, Qt::LeftButton);
        for (int k = 0; k < Dialog::RowCount; ++k) {
            EXPECT_EQ(d.RowAt(k).field->currentIndex(), 0) << k;
            EXPECT_EQ(d.RowAt(k).operation->currentText(), " = ") << k;
            EXPECT_TRUE(d.RowAt(k).operand->isEnabled() && d.RowAt(k).operand->text().isEmpty()) << k;
            EXPECT_EQ(d.RowAt(k).connector->currentText(), "And") << k;
        }
        QTest::mouseClick(d.ui->OkButton, Qt::LeftButton);
    });
    openFilterDialog();
    EXPECT_FALSE(table.Filtered());
    EXPECT_EQ(shownTitles().size(), 45);
}

TEST_F(FilterGrid, AConditionTheEngineRefusesIsShownAndTheRowsStay)
{
    filterOn("JAHR", " = ", "neunzehnhundert");
    ASSERT_EQ(ui->messages().size(), 1u);
    // An unknown word reads as a parameter, as the engine reads it everywhere.
    EXPECT_EQ(ui->messageTexts(), QStringList{"Too few parameters. Expected 1."});
    EXPECT_EQ(shownTitles().size(), 45);
    // The rows are kept to be put right.
    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.RowAt(0).operand->text(), "neunzehnhundert");
        QTest::mouseClick(d.ui->CancelButton, Qt::LeftButton);
    });
    openFilterDialog();
}

TEST_F(FilterGrid, OnlyVisibleDataFieldsAreOfferedAndAFieldNoLongerThereIsNotRestored)
{
    table.FieldByName("VERLAG")->SetVisible(false);
    QString filter = "JAHR > 1";
    QStringList kept{"VERLAG*** = ***Reclam***Or", "JAHR*** > ***2000***And"};
    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.RowAt(0).field->findText("VERLAG"), -1);
        EXPECT_EQ(d.RowAt(0).field->currentIndex(), 0);
        EXPECT_EQ(d.RowAt(0).operand->text(), "Reclam");
        EXPECT_EQ(d.RowAt(1).field->currentText(), "JAHR");
        QTest::mouseClick(d.ui->OkButton, Qt::LeftButton);
    });
    EXPECT_TRUE(ExecuteFilterDialog(table, filter, kept));
    EXPECT_EQ(filter, "(JAHR > 2000) ");
    EXPECT_EQ(kept, QStringList{"JAHR*** > ***2000***And"});

    table.Close();
    EXPECT_FALSE(ExecuteFilterDialog(table, filter, kept)) << "a closed dataset gets no dialog";
    EXPECT_EQ(dialogsShown().size(), 1);
}
