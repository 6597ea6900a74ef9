// Auto-size on and off, and Select All / Deselect All, over the fixture catalogue.
#include "GridTestSupport.h"

#include "daoui/VoDaoGridGlyphs.h"

#include <QHeaderView>

namespace {

const QString kAllCopies = QStringLiteral(
    "SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR, TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS AUTOR "
    "FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer ORDER BY EXEMPLAR.EXEMPLARNUMMER");

} // namespace

struct CatalogueGrid : GridTest {
    void SetUp() override
    {
        OpenCatalogue();
        table.SetSQL(kAllCopies);
        table.Open();
    }
    std::vector<int> Widths() const
    {
        std::vector<int> widths;
        for (int c = 0; c < grid.Columns().Count(); ++c)
            widths.push_back(grid.ColumnWidth(c));
        return widths;
    }
    // The widest text of a field (and its title) with three blanks, as the grid's font measures it.
    int Widest(const QString& field)
    {
        const QFontMetrics metrics(grid.font());
        int widest = metrics.horizontalAdvance(field + QStringLiteral("   "));
        const TBookmark kept = table.GetBookmark();
        for (table.First(); !table.Eof(); table.Next())
            widest = std::max(widest, metrics.horizontalAdvance(table.FieldByName(field)->AsString() + "   "));
        table.GotoBookmark(kept);
        return widest;
    }
};

TEST_F(CatalogueGrid, AutoSizeFitsTheWidestTextAndSwitchingOffRestoresTheWidths)
{
    Show();
    grid.SetColumnWidth(0, 50);
    const std::vector<int> before = Widths();
    const std::vector<int> fitting{Widest("BUCHNR"), Widest("TITEL"), Widest("AUTOR")};
    table.MoveBy(7);
    int scrolls = 0;
    table.AfterScroll = [&](TDataSet*) { ++scrolls; };

    grid.SetAutoSizeColumns(true);
    EXPECT_EQ(Widths(), fitting);
    EXPECT_EQ(table.RecNo(), 8) << "the record stays where it was";
    table.AfterScroll = nullptr;
    EXPECT_EQ(scrolls, 0) << "sizing reads beside the cursor";

    grid.SetAutoSizeColumns(false);
    EXPECT_EQ(Widths(), before);
}

TEST_F(CatalogueGrid, AutoSizeWorksOnAHiddenGridAndLeavesItHidden)
{
    grid.SetAutoSizeColumns(true);
    EXPECT_FALSE(grid.isVisible());
    EXPECT_EQ(grid.ColumnWidth(1), Widest("TITEL"));
    // A new result re-sizes at once.
    table.Close();
    table.SetSQL(QStringLiteral("SELECT TITEL.HAUPTTITEL AS TITEL FROM TITEL WHERE Buchungsnummer = 107"));
    table.Open();
    EXPECT_EQ(grid.ColumnWidth(0), Widest("TITEL"));
}

TEST_F(CatalogueGrid, AHiddenGridSizesWhenShownAndKeepsAWidthSetMeanwhile)
{
    grid.SetAutoSizeColumns(true); // hidden: the records are read when the widths are needed
    grid.SetColumnWidth(2, 40);    // a width set afterwards stands, as if the sizing had been done first
    Show();
    // As painted: the title row's sections.
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(1), Widest("TITEL"));
    EXPECT_EQ(Widths(), (std::vector<int>{Widest("BUCHNR"), Widest("TITEL"), 40}));

    // A new result while hidden again is sized when the grid shows once more.
    grid.hide();
    table.Close();
    table.SetSQL(QStringLiteral("SELECT TITEL.HAUPTTITEL AS TITEL FROM TITEL WHERE Buchungsnummer = 107"));
    table.Open();
    grid.show();
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(0), Widest("TITEL"));

    // Switched off before it was ever sized, the grid goes back to the widths it had.
    grid.hide();
    table.Close();
    table.SetSQL(kAllCopies);
    table.Open();
    grid.SetAutoSizeColumns(false);
    grid.SetAutoSizeColumns(true);
    grid.SetAutoSizeColumns(false);
    grid.show();
    EXPECT_LT(grid.ColumnWidth(0), Widest("TITEL"));
}

TEST_F(GridTest, AutoSizeLeavesRoomForTheArrowOfATableTypeRecordset)
{
    OpenCatalogue();
    table.SetTableType(1);
    table.SetTableName(QStringLiteral("TITEL"));
    table.Open();
    grid.SetAutoSizeColumns(true);
    const QFontMetrics metrics(grid.font());
    EXPECT_EQ(grid.ColumnWidth(table.FieldByName("Buchungsnummer")->Index()),
              metrics.horizontalAdvance(QStringLiteral("Buchungsnummer   ")) + vodao::AscGlyph().width());
}

TEST_F(CatalogueGrid, SelectAllWithoutMultiSelectionSwitchesItOnAndDeselectAllOffAgain)
{
    Show();
    ASSERT_FALSE(grid.Options() & dgMultiSelect);
    grid.SelectAllClick();
    EXPECT_TRUE(grid.Options() & dgMultiSelect);
    EXPECT_EQ(grid.SelectedRows().Count(), table.RecordCount());
    EXPECT_TRUE(grid.SelectedRows().CurrentRowSelected());
    grid.DeselectAllClick();
    EXPECT_EQ(grid.SelectedRows().Count(), 0);
    EXPECT_FALSE(grid.Options() & dgMultiSelect);
}

TEST_F(CatalogueGrid, SelectAllOnAMultiSelectGridKeepsMultiSelection)
{
    grid.SetOptions(grid.Options() | dgMultiSelect);
    Show();
    table.Last();
    grid.SelectedRows().SetCurrentRowSelected(true);
    grid.SelectAllClick();
    EXPECT_EQ(grid.SelectedRows().Count(), table.RecordCount());
    grid.DeselectAllClick();
    EXPECT_EQ(grid.SelectedRows().Count(), 0);
    EXPECT_TRUE(grid.Options() & dgMultiSelect);
}

TEST_F(GridTest, SelectAllAndDeselectAllDoNothingOnEmptyAndForwardOnlyDatasets)
{
    OpenCatalogue();
    table.SetSQL(QStringLiteral("SELECT * FROM EXEMPLAR WHERE EXEMPLARNUMMER < 0"));
    table.Open();
    grid.SelectAllClick();
    EXPECT_FALSE(grid.Options() & dgMultiSelect);
    table.Close();
    table.SetSQL(QStringLiteral("SELECT * FROM EXEMPLAR"));
    table.SetTableType(8);
    table.Open();
    Show();
    grid.SelectAllClick();
    EXPECT_FALSE(grid.Options() & dgMultiSelect);
    EXPECT_EQ(grid.SelectedRows().Count(), 0);
    EXPECT_GT(grid.Model().rowCount(), 0) << "a forward-only dataset shows its buffered records";
}
