// What the grid draws and how its cells are edited: check boxes of Boolean
// fields and their editing rules, index arrows and frames, the menu glyph,
// the selection check boxes of the indicator column, wrapped titles.
#include "GridTestSupport.h"

#include "daoui/VoDaoGridGlyphs.h"

#include <QHeaderView>
#include <QImage>

namespace {

// Another dataset on the same database, to see what was written.
bool StoredLent(TVoDaoDatabase& db, int id)
{
    TVoDaoTable probe;
    probe.SetDatabase(&db);
    probe.SetSQL(QStringLiteral("SELECT LENT FROM BOOKS WHERE ID = %1").arg(id));
    probe.Open();
    return probe.FieldByName(QStringLiteral("LENT"))->AsBoolean();
}

} // namespace

struct BooleanCells : GridTest {
    int lent = -1;

    void SetUp() override
    {
        OpenBooks();
        table.SetSQL(QStringLiteral("SELECT * FROM BOOKS"));
        table.Open();
        Show();
        grid.setFocus();
        lent = table.FieldByName(QStringLiteral("LENT"))->Index();
    }
    QPoint Cell(int row, int column) { return grid.visualRect(grid.Model().index(row, column)).center(); }
    bool Lent() { return table.FieldByName(QStringLiteral("LENT"))->AsBoolean(); }
    void GoTo(int row)
    {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, Cell(row, lent));
        ASSERT_EQ(table.RecNo(), row + 1);
    }
};

TEST_F(BooleanCells, DoubleClickTogglesAndASingleClickNever)
{
    GoTo(1); // ID 2, not lent
    EXPECT_FALSE(Lent());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, Cell(1, lent));
    EXPECT_FALSE(Lent());
    EXPECT_EQ(table.State(), dsBrowse);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, Cell(1, lent));
    EXPECT_TRUE(Lent());
    EXPECT_EQ(table.State(), dsEdit);
    EXPECT_FALSE(grid.EditorMode()) << "no text editor on a Boolean cell";
    QTest::keyClick(&grid, Qt::Key_Down); // posts
    EXPECT_TRUE(StoredLent(db, 2));
}

TEST_F(BooleanCells, SpaceEnterAndF2ToggleOnlyWhenTheGridMayEdit)
{
    GoTo(0);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_F2}) {
        const bool before = Lent();
        QTest::keyClick(&grid, key);
        EXPECT_NE(Lent(), before) << key;
    }
    table.Post();
    EXPECT_TRUE(StoredLent(db, 1));

    grid.SetReadOnly(true);
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_TRUE(Lent()) << "read-only grid";
    grid.SetReadOnly(false);
    grid.SetOptions(grid.Options() & ~dgEditing);
    QTest::keyClick(&grid, Qt::Key_Space);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, Cell(0, lent));
    EXPECT_TRUE(Lent()) << "grid without editing";
    grid.SetOptions(grid.Options() | dgEditing);
    table.FieldByName(QStringLiteral("LENT"))->SetReadOnly(true);
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, Cell(0, lent));
    EXPECT_TRUE(Lent()) << "read-only field";
    EXPECT_EQ(table.State(), dsBrowse);
}

TEST_F(BooleanCells, TextCellsEditAsTextAndBooleanCellsWithoutCheckBoxesToo)
{
    GoTo(0);
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_FALSE(grid.EditorMode());
    QTest::keyClick(&grid, Qt::Key_Left); // TITLE
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_TRUE(grid.EditorMode()) << "leaving the Boolean column lets the editor open again";
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Escape);

    grid.SetShowCheckBoxes(false);
    QTest::keyClick(&grid, Qt::Key_Right); // LENT, shown as text now
    const bool before = Lent();
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_EQ(Lent(), before);
}

TEST_F(GridTest, CheckBoxesIndexArrowsFramesAndTheMenuGlyphAreDrawn)
{
    OpenBooks();
    OpenTableType(QStringLiteral("BOOKS"), QStringLiteral("ByTitle")); // TITLE descending
    grid.SetFrameIndexFields(true);
    Show();
    QHeaderView* titles = grid.horizontalHeader();
    const QColor fixed = grid.FixedColor();
    const int titleColumn = table.FieldByName(QStringLiteral("TITLE"))->Index();
    const int idColumn = table.FieldByName(QStringLiteral("ID"))->Index();
    auto arrowPixel = [&](int column, int x, int y) {
        const QImage image = titles->viewport()->grab().toImage();
        const int right = titles->sectionViewportPosition(column) + titles->sectionSize(column) - 1;
        return image.pixelColor(right - 4 + 1 - 10 + x, 2 + y);
    };
    // DESC: the shaft above, the wide part low; the point (1, 4) is transparent.
    EXPECT_EQ(arrowPixel(titleColumn, 4, 2), QColor(Qt::black));
    EXPECT_EQ(arrowPixel(titleColumn, 1, 4), fixed);
    EXPECT_EQ(arrowPixel(titleColumn, 1, 5), QColor(Qt::black));
    EXPECT_EQ(arrowPixel(idColumn, 4, 2), fixed) << "no arrow on a field outside the index";

    table.SetIndexName(QStringLiteral("PrimaryKey"));
    QApplication::processEvents();
    EXPECT_EQ(arrowPixel(idColumn, 1, 4), QColor(Qt::black)) << "ASC: the wide part high";
    EXPECT_EQ(arrowPixel(titleColumn, 4, 2), fixed);

    const QImage cells = grid.viewport()->grab().toImage();
    const QRect idCell = grid.visualRect(grid.Model().index(2, idColumn));
    const QRect lentCell = grid.visualRect(grid.Model().index(2, table.FieldByName(QStringLiteral("LENT"))->Index()));
    EXPECT_EQ(cells.pixelColor(idCell.left() + 3, idCell.top()), QColor(Qt::red)) << "index field framed";
    EXPECT_NE(cells.pixelColor(lentCell.left() + 3, lentCell.top()), QColor(Qt::red));

    // The menu glyph sits in the middle of the menu cell (its third row is a full line).
    const QImage corner = MenuCell()->grab().toImage();
    const QPixmap& glyph = vodao::MenuGlyph();
    const QRect cell = MenuCell()->rect();
    const int x = (cell.left() + cell.right() - glyph.width()) / 2;
    const int y = (cell.top() + cell.bottom() - glyph.height()) / 2;
    EXPECT_EQ(corner.pixelColor(x + 3, y + 1), QColor(Qt::black));
    EXPECT_EQ(corner.pixelColor(x + 3, y + 2), fixed);
}

TEST_F(GridTest, IndicatorCheckBoxesToggleTheSelectionOfTheirRow)
{
    OpenBooks();
    table.SetSQL(QStringLiteral("SELECT * FROM BOOKS"));
    table.Open();
    grid.SetOptions(grid.Options() | dgMultiSelect);
    const int plain = grid.IndicatorWidth();
    grid.SetExOptions(TVoDaoDBGrid::exoSelectCheckBoxes);
    EXPECT_EQ(grid.IndicatorWidth(), 2 * grid.CheckBoxSize().width());
    EXPECT_EQ(plain, grid.CheckBoxSize().width());
    Show();
    QHeaderView* indicator = grid.verticalHeader();
    auto click = [&](int row) {
        QTest::mouseClick(indicator->viewport(), Qt::LeftButton, {},
                          QPoint(4, indicator->sectionViewportPosition(row) + indicator->sectionSize(row) / 2));
    };
    click(2);
    click(5);
    EXPECT_EQ(grid.SelectedRows().Count(), 2) << "each click adds its row, as with Ctrl";
    click(2);
    ASSERT_EQ(grid.SelectedRows().Count(), 1);
    table.GotoBookmark(grid.SelectedRows()[0]);
    EXPECT_EQ(table.RecNo(), 6);
}

TEST_F(GridTest, WrappedTitlesAndUniformRowHeights)
{
    OpenBooks();
    TColumn& title = grid.Columns().Add(QStringLiteral("TITLE"));
    title.Title.Caption = QStringLiteral("Title of the book as the catalogue has it");
    title.Width = 80;
    grid.Columns().Add(QStringLiteral("LENT"));
    table.SetSQL(QStringLiteral("SELECT * FROM BOOKS"));
    table.Open();
    Show();
    const int single = grid.TitleRowHeight();
    grid.SetExOptions(TVoDaoDBGrid::exoWrapTitles | TVoDaoDBGrid::exoRowSizing);
    EXPECT_GT(grid.TitleRowHeight(), 2 * single - 4) << "the caption takes several lines";

    grid.verticalHeader()->resizeSection(3, 40); // as a drag of the row border does
    for (int row : {0, 3, 11})
        EXPECT_EQ(grid.RowHeight(row), 40) << row;
    table.Close();
    table.Open();
    EXPECT_EQ(grid.RowHeight(5), 40) << "the height is kept when the dataset opens again";
}
