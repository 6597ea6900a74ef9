// The grid's model over the query dataset on the 100,000-copy catalogue:
// Qt's model checker, and scrolling that reads a screen of rows without
// moving the dataset.
#include "GridTestSupport.h"

#include <QAbstractItemModelTester>
#include <QScrollBar>

namespace {

const QString kAllCopies = QStringLiteral(
    "SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR, TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS AUTOR "
    "FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer ORDER BY EXEMPLAR.EXEMPLARNUMMER");

} // namespace

TEST_F(GridTest, ModelOverTheLargeCatalogueIsSoundAndScrollingNeverMovesTheDataset)
{
    db.SetDatabase(dir.copyFixture(QStringLiteral("catalogue/veltrano-100k.mdb")));
    db.SetConnected(true);
    table.SetReadOnly(true);
    table.SetSQL(kAllCopies);
    Show();
    QAbstractItemModelTester tester(&grid.Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    table.Open();
    const int count = table.RecordCount();
    ASSERT_GT(count, 99000);
    ASSERT_EQ(grid.Model().rowCount(), count);

    int scrolls = 0;
    table.AfterScroll = [&](TDataSet*) { ++scrolls; };
    grid.scrollToBottom();
    grid.grab();
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() / 3);
    grid.grab();
    grid.scrollToTop();
    grid.grab();
    EXPECT_EQ(scrolls, 0);
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_LE(grid.Model().SegmentReads(), 8) << "only the rows on screen were read";

    // What a row shows is the record at that position.
    table.SetRecNo(count - 10);
    const QString number = table.FieldByName(QStringLiteral("BUCHNR"))->DisplayText();
    const QString title = table.FieldByName(QStringLiteral("TITEL"))->DisplayText();
    table.SetRecNo(2);
    EXPECT_EQ(grid.Model().data(grid.Model().index(count - 11, 0)).toString(), number);
    EXPECT_EQ(grid.Model().data(grid.Model().index(count - 11, 1)).toString(), title);
    EXPECT_EQ(grid.currentIndex().row(), 1);
    table.AfterScroll = nullptr;

    // A new result through the same dataset.
    table.Close();
    table.SetSQL(QStringLiteral("SELECT * FROM TITEL WHERE Buchungsnummer < 0"));
    table.Open();
    EXPECT_EQ(grid.Model().rowCount(), 0);
}

TEST_F(GridTest, TableTypeRecordsetRowsFollowTheIndexOrder)
{
    OpenBooks(300);
    OpenTableType(QStringLiteral("BOOKS"), QStringLiteral("ByTitle"));
    Show();
    QAbstractItemModelTester tester(&grid.Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QStringList walked;
    for (table.First(); !table.Eof(); table.Next())
        walked << table.FieldByName(QStringLiteral("TITLE"))->AsString();
    ASSERT_EQ(grid.Model().rowCount(), 300);
    const int title = table.FieldByName(QStringLiteral("TITLE"))->Index();
    for (int row : {0, 1, 150, 299, 7})
        EXPECT_EQ(grid.Model().data(grid.Model().index(row, title)).toString(), walked[row]) << row;
}

TEST_F(GridTest, ClickingARowOfATableTypeRecordsetGoesToThatRecord)
{
    OpenCatalogue();
    OpenTableType(QStringLiteral("EXEMPLAR"), QStringLiteral("EXEMPLARNUMMER"));
    Show();
    for (int row : {30, 2, 45, 69}) {
        const QString shown = grid.Model().data(grid.Model().index(row, 0)).toString();
        grid.setCurrentIndex(grid.Model().index(row, 1));
        EXPECT_EQ(table.FieldByName(QStringLiteral("EXEMPLARNUMMER"))->AsString(), shown) << row;
        EXPECT_EQ(grid.Model().CurrentRow(), row);
        EXPECT_EQ(grid.currentIndex().row(), row);
        EXPECT_EQ(grid.Model().data(grid.Model().index(row, 0)).toString(), shown) << row;
    }
}
