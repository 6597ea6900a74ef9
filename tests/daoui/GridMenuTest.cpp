// The grid's menu over the fixture catalogue and an engine database: opened
// by the mouse on the menu cell, its enabling and checking rules, every
// shortcut, and the titles a form may give it.
#include "GridTestSupport.h"

#include <QAction>
#include <QDialog>
#include <QMenu>

namespace {

using Entries = std::vector<int>;

} // namespace

TEST_F(GridTest, MenuCellOpensTheMenuOfADynasetWithoutTheIndexEntries)
{
    OpenCatalogue();
    table.SetSQL(QStringLiteral("SELECT * FROM EXEMPLAR"));
    table.Open();
    RecordDialogs();
    Show();
    const auto menu = ClickMenuCell();
    ASSERT_EQ(menu.size(), 25u);
    EXPECT_EQ(menu[0].text, "Select Index\tCtrl+I");
    EXPECT_EQ(menu[11].text, "Show GUID's\tCtrl+G");
    EXPECT_EQ(menu[24].text, "Office-compatible Clipboard");
    for (int separator : {3, 8, 15, 18})
        EXPECT_TRUE(menu[size_t(separator)].separator) << separator;
    // Not table-type: no index entries; the catalogue is read-only: no cut, no paste.
    EXPECT_EQ(Disabled(menu), (Entries{0, 5, 7, 12, 21, 23}));
}

TEST_F(GridTest, TableTypeRecordsetOffersIndexEntriesOnlyWithAnIndex)
{
    OpenCatalogue();
    OpenTableType(QStringLiteral("EXEMPLAR"), QStringLiteral("EXEMPLARNUMMER"));
    RecordDialogs();
    Show();
    EXPECT_EQ(Disabled(ClickMenuCell()), (Entries{1, 2, 4, 6, 21, 23}));
    table.SetIndexName(QString());
    EXPECT_EQ(Disabled(ClickMenuCell()), (Entries{1, 2, 4, 5, 6, 7, 12, 21, 23}));
}

TEST_F(GridTest, EmptyDatasetAndReadOnlyGridDisableTheirEntries)
{
    OpenBooks();
    table.SetSQL(QStringLiteral("SELECT * FROM BOOKS"));
    table.Open();
    RecordDialogs();
    Show();
    EXPECT_EQ(Disabled(ClickMenuCell()), (Entries{0, 5, 7, 12}));
    grid.SetReadOnly(true);
    EXPECT_EQ(Disabled(ClickMenuCell()), (Entries{0, 5, 7, 12, 21, 23}));
    grid.SetReadOnly(false);
    table.Close();
    table.SetSQL(QStringLiteral("SELECT * FROM BOOKS WHERE ID < 0"));
    table.Open();
    EXPECT_EQ(Disabled(ClickMenuCell()), (Entries{0, 5, 7, 12, 16, 19, 20, 21, 22}));
}

TEST_F(GridTest, EntriesWhoseDialogIsNotThereAreShownDisabled)
{
    OpenBooks();
    table.SetSQL(QStringLiteral("SELECT * FROM BOOKS"));
    table.Open();
    grid.SetDialogs(TVoDaoGridDialogs{});
    Show();
    EXPECT_FALSE(grid.MenuEntry(TVoDaoDBGrid::miCopy)->isEnabled()) << "also before the first pop-up";
    EXPECT_EQ(Disabled(ClickMenuCell()), (Entries{0, 1, 2, 4, 5, 6, 7, 12, 14, 16, 21, 22, 23}));
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier); // nothing to run, nothing breaks
    EXPECT_TRUE(ui->messages().empty());
}

TEST_F(GridTest, ChecksFollowTheDatasetAndAChosenEntryRuns)
{
    OpenBooks();
    table.SetSQL(QStringLiteral("SELECT * FROM BOOKS"));
    table.CacheMemos = true;
    table.Open();
    grid.SetOfficeClipboardFormat(true);
    RecordDialogs();
    Show();
    const auto menu = ClickMenuCell(TVoDaoDBGrid::miSort);
    EXPECT_TRUE(menu[10].checked);
    EXPECT_FALSE(menu[11].checked);
    EXPECT_FALSE(menu[13].checked);
    EXPECT_TRUE(menu[24].checked);
    EXPECT_EQ(dialogCalls, QStringList{"sort"});

    ClickMenuCell(TVoDaoDBGrid::miShowGUIDs);
    EXPECT_TRUE(table.ShowGUID);
    ClickMenuCell(TVoDaoDBGrid::miAutoSizeColumns);
    EXPECT_TRUE(grid.AutoSizeColumns());
    EXPECT_TRUE(ClickMenuCell()[13].checked);

    // Quick Find hands the dialog the current column's field.
    grid.SetSelectedIndex(1);
    ClickMenuCell(TVoDaoDBGrid::miQuickFind);
    EXPECT_EQ(dialogCalls.last(), "quickfind:TITLE");
}

TEST_F(GridTest, NoMenuWithoutShowGridMenuOrOutsideBrowseState)
{
    OpenBooks();
    table.SetSQL(QStringLiteral("SELECT * FROM BOOKS"));
    table.Open();
    Show();
    grid.SetShowGridMenu(false);
    EXPECT_TRUE(ClickMenuCell().empty());
    grid.SetShowGridMenu(true);
    table.Edit();
    EXPECT_TRUE(ClickMenuCell().empty());
    table.Cancel();
    EXPECT_EQ(ClickMenuCell().size(), 25u);
}

TEST_F(GridTest, EveryShortcutRunsItsEntry)
{
    OpenBooks();
    OpenTableType(QStringLiteral("BOOKS"), QStringLiteral("ByTitle"));
    RecordDialogs();
    grid.SetDefaultExportDir(QStringLiteral("/reports"));
    Show();
    grid.setFocus();
    auto press = [this](Qt::Key key) { QTest::keyClick(&grid, key, Qt::ControlModifier); };

    press(Qt::Key_A);
    EXPECT_EQ(grid.SelectedRows().Count(), 12);
    EXPECT_TRUE(grid.Options() & dgMultiSelect);
    press(Qt::Key_N);
    EXPECT_EQ(grid.SelectedRows().Count(), 0);
    EXPECT_FALSE(grid.Options() & dgMultiSelect);
    press(Qt::Key_L);
    EXPECT_TRUE(table.CacheLookups);
    press(Qt::Key_M);
    EXPECT_TRUE(table.CacheMemos);
    press(Qt::Key_G);
    EXPECT_TRUE(table.ShowGUID);
    press(Qt::Key_R);
    EXPECT_TRUE(grid.FrameIndexFields());
    EXPECT_TRUE(grid.MenuEntry(TVoDaoDBGrid::miFrameIndexFields)->isChecked());
    press(Qt::Key_Z);
    EXPECT_TRUE(grid.AutoSizeColumns());
    press(Qt::Key_L);
    EXPECT_FALSE(table.CacheLookups) << "a second press toggles back";
    for (Qt::Key key : {Qt::Key_I, Qt::Key_O, Qt::Key_S, Qt::Key_X, Qt::Key_C, Qt::Key_V})
        press(key);
    EXPECT_EQ(dialogCalls, (QStringList{"index:ByTitle", "columns", "export:/reports", "cut", "copy", "paste"}));
    press(Qt::Key_Q); // no entry
    EXPECT_TRUE(ui->messages().empty());
}

TEST_F(GridTest, ShortcutsFollowTheStatesTheLastPopUpLeft)
{
    OpenBooks();
    table.SetSQL(QStringLiteral("SELECT * FROM BOOKS WHERE ID < 0"));
    table.Open();
    Show();
    ClickMenuCell(); // disables Select All on the empty dataset
    table.Close();
    table.SetSQL(QStringLiteral("SELECT * FROM BOOKS"));
    table.Open();
    QTest::keyClick(&grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid.SelectedRows().Count(), 0) << "Select All stays disabled until the next pop-up";
    ClickMenuCell();
    QTest::keyClick(&grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid.SelectedRows().Count(), 12);
}

TEST(GridMenuTitles, LoadReplacesAWrongCountAndHidesTitlesMarkedWithExclamation)
{
    const QStringList defaults = TVoDaoDBGrid::DefaultMenuTitles();
    for (int lines : {24, 26}) {
        TVoDaoDBGrid grid;
        grid.BeginLoad();
        QStringList titles = defaults;
        titles[1] = QStringLiteral("Sortieren");
        while (titles.size() > lines)
            titles.removeLast();
        while (titles.size() < lines)
            titles << QStringLiteral("Extra");
        grid.SetMenuTitles(titles);
        grid.EndLoad();
        EXPECT_EQ(grid.MenuTitles(), defaults) << lines;
        EXPECT_EQ(grid.MenuEntry(1)->text(), "Sort") << lines;
    }

    TVoDaoDBGrid grid;
    grid.BeginLoad();
    QStringList titles = defaults;
    titles[5] = QStringLiteral("!Seek");
    titles[1] = QStringLiteral("Sortieren");
    grid.SetMenuTitles(titles);
    grid.EndLoad();
    EXPECT_FALSE(grid.MenuEntry(TVoDaoDBGrid::miSeek)->isVisible());
    EXPECT_EQ(grid.MenuEntry(TVoDaoDBGrid::miSort)->text(), "Sortieren");
    for (QAction* entry : grid.OptionsMenu().actions())
        EXPECT_FALSE(entry->text().contains(QLatin1Char('!'))) << entry->text().toStdString();
}

TEST_F(GridTest, AHiddenEntryStaysHiddenAtEveryPopUp)
{
    QStringList titles = TVoDaoDBGrid::DefaultMenuTitles();
    titles[5] = QStringLiteral("!Seek");
    grid.BeginLoad();
    grid.SetMenuTitles(titles);
    grid.EndLoad();
    OpenCatalogue();
    OpenTableType(QStringLiteral("EXEMPLAR"), QStringLiteral("EXEMPLARNUMMER"));
    Show();
    const auto menu = ClickMenuCell();
    ASSERT_EQ(menu.size(), 25u);
    EXPECT_FALSE(menu[5].visible);
    EXPECT_EQ(menu[5].text, "Seek");
}

TEST_F(GridTest, MenuOpensTheSortAndSearchDialogsAndCancelledSearchesGoBack)
{
    OpenCatalogue();
    table.SetSQL(QStringLiteral("SELECT * FROM EXEMPLAR"));
    table.Open();
    Show();
    auto dialogsShown = [this] {
        QStringList classes;
        for (const auto& shown : ui->shown)
            if (shown.kind == RecordingInteraction::Shown::Kind::Dialog)
                classes << shown.dialogClass;
        return classes;
    };
    ClickMenuCell(TVoDaoDBGrid::miSort);
    ASSERT_EQ(dialogsShown(), QStringList{"TVoDaoSortByDialog"});

    table.MoveBy(3);
    // The search moves the dataset and is then cancelled: the grid goes back to where it was.
    for (int entry : {int(TVoDaoDBGrid::miFind), int(TVoDaoDBGrid::miQuickFind)}) {
        ui->dialogAnswers.push_back([this](QDialog&) {
            table.MoveBy(20);
            return int(QDialog::Rejected);
        });
        ClickMenuCell(entry);
        EXPECT_EQ(table.RecNo(), 4) << entry;
    }
    EXPECT_EQ(dialogsShown(), (QStringList{"TVoDaoSortByDialog", "TVodaoFindSeekDialog", "TQFS"}));
}
