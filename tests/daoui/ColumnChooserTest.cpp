// The column chooser opened from the grid over the fixture catalogue, driven
// by clicks and keys: live changes while it is open, the last visible column
// kept, Cancel putting every column back as it was.
#include "daoui/TCVC.h"
#include "tests/daoui/DialogTestSupport.h"
#include "ui_TCVC.h"

#include <QCheckBox>
#include <QPushButton>

using namespace daouitest;

namespace {

using Dialog = TCVC;

const QStringList kTitleColumns{"Buchungsnummer", "HAUPTTITEL", "HAUPTEINTRAG", "VERLAG", "JAHR", "ERFASST"};

struct ColumnGrid : TitlesGrid {
    // Ctrl+O on the grid, as the menu's shortcut.
    void openChooser()
    {
        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_O, Qt::ControlModifier);
    }

    // The titles of the columns the grid shows, in column order.
    QStringList shownColumns() const
    {
        QStringList titles;
        for (int c = 0; c < grid.Columns().Count(); ++c)
            if (!grid.isColumnHidden(c))
                titles << grid.Columns()[c].TitleCaption();
        return titles;
    }

    static void move(QListWidget* list, const QString& title, QPushButton* button)
    {
        const auto found = list->findItems(title, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << title.toStdString();
        clickRow(list, list->row(found.front()));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    static void remove(Dialog& d, const QString& title) { move(d.ui->ListBox1, title, d.ui->RemoveBtn); }
    static void add(Dialog& d, const QString& title) { move(d.ui->ListBox2, title, d.ui->AddBtn); }
};

} // namespace

TEST_F(ColumnGrid, LiveChangesShowAtOnceTheLastColumnStaysAndCancelRestoresThemAll)
{
    grid.SetColumnVisible(4, false); // JAHR hidden before the dialog opens
    answer<Dialog>([this](Dialog& d) {
        EXPECT_EQ(d.windowTitle(), "Choose Visible Columns");
        EXPECT_EQ(d.size(), QSize(442, 185));
        EXPECT_TRUE(d.ui->CheckBox1->isChecked());
        EXPECT_EQ(itemTexts(d.ui->ListBox1),
                  (QStringList{"Buchungsnummer", "HAUPTTITEL", "HAUPTEINTRAG", "VERLAG", "ERFASST"}));
        EXPECT_EQ(itemTexts(d.ui->ListBox2), QStringList{"JAHR"});

        remove(d, "HAUPTTITEL");
        EXPECT_EQ(shownColumns(), (QStringList{"Buchungsnummer", "HAUPTEINTRAG", "VERLAG", "ERFASST"}));
        EXPECT_EQ(itemTexts(d.ui->ListBox2), (QStringList{"JAHR", "HAUPTTITEL"}));
        EXPECT_EQ(d.ui->ListBox1->currentRow(), 0) << "the row above the removed one";

        add(d, "JAHR");
        EXPECT_EQ(shownColumns(), (QStringList{"Buchungsnummer", "HAUPTEINTRAG", "VERLAG", "JAHR", "ERFASST"}));
        EXPECT_EQ(itemTexts(d.ui->ListBox1).last(), "JAHR") << "appended to the visible list";

        // Down to one visible column; the last one cannot go.
        for (const char* title : {"Buchungsnummer", "VERLAG", "JAHR", "ERFASST"})
            remove(d, title);
        EXPECT_EQ(shownColumns(), QStringList{"HAUPTEINTRAG"});
        remove(d, "HAUPTEINTRAG");
        EXPECT_EQ(shownColumns(), QStringList{"HAUPTEINTRAG"});
        EXPECT_EQ(itemTexts(d.ui->ListBox1), QStringList{"HAUPTEINTRAG"});

        // Without a chosen row nothing moves.
        d.ui->ListBox2->clearSelection();
        QTest::mouseClick(d.ui->AddBtn, Qt::LeftButton);
        EXPECT_EQ(d.ui->ListBox1->count(), 1);
        QTest::mouseClick(d.ui->Button2, Qt::LeftButton);
    });
    openChooser();
    EXPECT_EQ(dialogsShown(), QStringList{"TCVC"});
    EXPECT_EQ(shownColumns(), (QStringList{"Buchungsnummer", "HAUPTTITEL", "HAUPTEINTRAG", "VERLAG", "ERFASST"}));

    // Escape cancels as well.
    answer<Dialog>([](Dialog& d) {
        add(d, "JAHR");
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    openChooser();
    EXPECT_TRUE(grid.isColumnHidden(4));
    EXPECT_TRUE(ui->messages().empty());
}

TEST_F(ColumnGrid, WithoutLiveViewTheGridChangesOnOkOnlyAndKeepsItsColumnsThroughAFilter)
{
    answer<Dialog>([this](Dialog& d) {
        QTest::mouseClick(d.ui->CheckBox1, Qt::LeftButton);
        ASSERT_FALSE(d.ui->CheckBox1->isChecked());
        remove(d, "VERLAG");
        EXPECT_EQ(shownColumns(), kTitleColumns) << "no live view";
        // Switching live view on shows the lists as they stand.
        QTest::mouseClick(d.ui->CheckBox1, Qt::LeftButton);
        EXPECT_FALSE(shownColumns().contains("VERLAG"));
        QTest::mouseClick(d.ui->CheckBox1, Qt::LeftButton);
        remove(d, "ERFASST");
        EXPECT_TRUE(shownColumns().contains("ERFASST"));
        QTest::keyClick(&d, Qt::Key_Return); // "Ok" is the default button
    });
    openChooser();
    const QStringList chosen{"Buchungsnummer", "HAUPTTITEL", "HAUPTEINTRAG", "JAHR"};
    EXPECT_EQ(shownColumns(), chosen);

    // The dataset filtered and reopened: the grid keeps the columns chosen.
    table.SetFilter("JAHR > 1950");
    table.SetFiltered(true);
    QApplication::processEvents();
    EXPECT_EQ(shownColumns(), chosen);

    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(itemTexts(d.ui->ListBox2), (QStringList{"VERLAG", "ERFASST"}));
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
    });
    openChooser();
    EXPECT_EQ(shownColumns(), chosen);
    EXPECT_TRUE(ui->messages().empty());
}
