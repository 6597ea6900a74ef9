// The framework's data grid over an in-memory dataset: the model under Qt's
// model checker, reading without moving the dataset, following it, editing
// through it, and the selected rows.
#include "framework/data/TDataLink.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "framework/ui/TDBGrid.h"
#include "tests/support/MemoryDataSet.h"
#include "tests/support/QtPrinters.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Counts the scroll notifications a data link gets.
class ScrollCounter : public TDataLink {
public:
    int scrolled = 0;
    int changed = 0;

protected:
    void DataSetScrolled(int) override { ++scrolled; }
    void DataSetChanged() override { ++changed; }
};

std::unique_ptr<TMemoryDataSet> MakeBooks(int count)
{
    auto books = std::make_unique<TMemoryDataSet>();
    books->SetName(QStringLiteral("TB_Books"));
    books->AddColumn(QStringLiteral("ID"), ftInteger);
    books->AddColumn(QStringLiteral("TITLE"), ftString, 30);
    books->AddColumn(QStringLiteral("LENT"), ftBoolean);
    for (int i = 1; i <= count; ++i)
        books->AddRow({i, QStringLiteral("Book %1").arg(i), i % 3 == 0});
    return books;
}

struct GridFixture : ::testing::Test {
    RecordingInteraction* ui = new RecordingInteraction;
    TApplication app{std::unique_ptr<Interaction>(ui)};
    std::unique_ptr<TMemoryDataSet> books = MakeBooks(2000);
    TDataSource source;
    TDBGrid grid;
    int scrollEvents = 0;

    GridFixture()
    {
        source.SetDataSet(books.get());
        books->AfterScroll = [this](TDataSet*) { ++scrollEvents; };
        grid.SetDataSource(&source);
        grid.resize(400, 300);
    }
    ~GridFixture() override { books->AfterScroll = nullptr; }

    void Show()
    {
        grid.show();
        QApplication::processEvents();
    }
    QPoint CellCenter(int row, int column)
    {
        grid.scrollTo(grid.Model().index(row, column));
        return grid.visualRect(grid.Model().index(row, column)).center();
    }
    QString Title(int row) { return books->StoredRow(row)[1].toString(); }
};

} // namespace

TEST_F(GridFixture, ModelPassesQtModelCheckerThroughOpenEditInsertDeleteFilterAndClose)
{
    books->Open();
    Show();
    QAbstractItemModelTester tester(&grid.Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(grid.Model().rowCount(), 2000);
    EXPECT_EQ(grid.Model().columnCount(), 3);
    EXPECT_EQ(grid.Model().data(grid.Model().index(1499, 1)).toString(), "Book 1500");

    books->MoveBy(10);
    books->Edit();
    books->FieldByName("TITLE")->SetAsString("Changed");
    EXPECT_EQ(grid.Model().data(grid.Model().index(10, 1)).toString(), "Changed") << "the pending edit shows";
    books->Post();
    EXPECT_EQ(Title(10), "Changed");

    books->Append();
    EXPECT_EQ(grid.Model().rowCount(), 2001) << "the new record has its row while it is inserted";
    EXPECT_EQ(grid.Model().CurrentRow(), 2000);
    books->FieldByName("ID")->SetAsInteger(9999);
    books->Post();
    EXPECT_EQ(grid.Model().rowCount(), 2001);
    EXPECT_EQ(grid.Model().data(grid.Model().index(2000, 0)).toString(), "9999");

    books->First();
    books->Delete();
    EXPECT_EQ(grid.Model().rowCount(), 2000);
    EXPECT_EQ(grid.Model().data(grid.Model().index(0, 0)).toString(), "2");

    // A per-record filter: rows are counted as they are read.
    books->SetOnFilterRecord([](TDataSet* ds, bool& accept) { accept = ds->FieldByName("LENT")->AsBoolean(); });
    books->SetFiltered(true);
    EXPECT_LT(grid.Model().rowCount(), 700);
    while (grid.Model().canFetchMore({}))
        grid.Model().fetchMore({});
    EXPECT_EQ(grid.Model().rowCount(), books->RecordCount());
    EXPECT_EQ(grid.Model().data(grid.Model().index(0, 0)).toString(), "3");
    books->SetFiltered(false);

    books->Close();
    EXPECT_EQ(grid.Model().rowCount(), 0);
    EXPECT_EQ(grid.Model().columnCount(), 0);
    EXPECT_TRUE(ui->messages().empty());
}

TEST_F(GridFixture, ScrollingAndPaintingReadAScreenOfRowsAndNeverMoveTheDataset)
{
    books->Open();
    ScrollCounter counter;
    counter.SetDataSource(&source);
    Show();
    scrollEvents = 0;

    grid.scrollToBottom();
    grid.grab();
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() / 2);
    grid.grab();
    grid.scrollToTop();
    grid.grab();

    EXPECT_EQ(scrollEvents, 0);
    EXPECT_EQ(counter.scrolled, 0);
    EXPECT_EQ(counter.changed, 0);
    EXPECT_EQ(books->RecNo(), 1);
    EXPECT_EQ(grid.Model().CurrentRow(), 0);
    EXPECT_LE(books->RowsReadByReaders, 6 * 64) << "only the rows shown are read, a segment at a time";
}

TEST_F(GridFixture, TheViewAndTheDatasetFollowEachOther)
{
    books->Open();
    Show();
    grid.setFocus();

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCenter(40, 1));
    EXPECT_EQ(books->RecNo(), 41);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(books->RecNo(), 42);
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(books->RecNo(), 2000);

    books->First();
    EXPECT_EQ(grid.currentIndex().row(), 0) << "the view follows a move of the dataset";
    books->MoveBy(700);
    EXPECT_EQ(grid.currentIndex().row(), 700);
    EXPECT_EQ(grid.currentIndex().column(), 1) << "the current column stays";
}

TEST_F(GridFixture, CellEditsGoThroughTheDatasetAndPostWhenTheRowChanges)
{
    books->Open();
    Show();
    grid.setFocus();
    const QPoint cell = CellCenter(5, 1);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell);
    auto* editor = qobject_cast<QLineEdit*>(grid.InplaceEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "Book 6");
    editor->setText("Neu");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the editor hands its text on after the key
    EXPECT_EQ(books->State(), dsEdit);
    EXPECT_EQ(books->FieldByName("TITLE")->AsString(), "Neu");
    EXPECT_EQ(Title(5), "Book 6") << "nothing is written before the row changes";

    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(books->State(), dsBrowse);
    EXPECT_EQ(Title(5), "Neu");
    EXPECT_EQ(grid.Model().data(grid.Model().index(5, 1)).toString(), "Neu");

    // Escape cancels an edit; a read-only grid opens no editor.
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_NE(grid.InplaceEditor(), nullptr);
    static_cast<QLineEdit*>(grid.InplaceEditor())->setText("Verworfen");
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(books->State(), dsEdit);
    QTest::keyClick(&grid, Qt::Key_Escape);
    EXPECT_EQ(books->State(), dsBrowse);
    EXPECT_EQ(Title(6), "Book 7");
    grid.SetReadOnly(true);
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_FALSE(grid.EditorMode());
}

TEST_F(GridFixture, AnEditTheDatasetRefusesIsShownAndTheRowStays)
{
    books->Open();
    Show();
    books->OnStorePost = [] { throw std::runtime_error("Datensatz gesperrt"); };
    books->MoveBy(3);
    ASSERT_TRUE(grid.Model().setData(grid.Model().index(3, 1), "X"));
    grid.setCurrentIndex(grid.Model().index(9, 1));
    ASSERT_EQ(ui->messageTexts().size(), 1);
    EXPECT_EQ(ui->messageTexts()[0], "Datensatz gesperrt.");
    EXPECT_EQ(grid.currentIndex().row(), 3) << "the view goes back to the record that could not be posted";
    EXPECT_EQ(books->State(), dsEdit);
}

TEST_F(GridFixture, SelectedRowsAreBookmarksChosenByCtrlShiftAndPlainClicks)
{
    grid.SetOptions(grid.Options() | dgMultiSelect);
    books->Open();
    Show();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCenter(2, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, CellCenter(4, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCenter(7, 0));
    ASSERT_EQ(grid.SelectedRows().Count(), 5); // 2, 4, 5, 6, 7
    books->GotoBookmark(grid.SelectedRows()[1]);
    EXPECT_EQ(books->RecNo(), 5);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, CellCenter(4, 0));
    EXPECT_EQ(grid.SelectedRows().Count(), 4) << "Ctrl+click on a selected row deselects it";
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCenter(10, 0));
    ASSERT_EQ(grid.SelectedRows().Count(), 1);
    EXPECT_TRUE(grid.SelectedRows().CurrentRowSelected());
}

TEST_F(GridFixture, HiddenGridReadsNothingAndCatchesUpWhenShown)
{
    books->Open();
    EXPECT_EQ(grid.Model().rowCount(), 0);
    EXPECT_EQ(grid.Model().columnCount(), 3) << "the columns are laid out also while hidden";
    for (int i = 0; i < 20; ++i) {
        books->Append();
        books->FieldByName("ID")->SetAsInteger(5000 + i);
        books->Post();
    }
    EXPECT_EQ(books->RowsReadByReaders, 0);
    Show();
    EXPECT_EQ(grid.Model().rowCount(), 2020);
    EXPECT_EQ(grid.currentIndex().row(), 2019);
}

TEST_F(GridFixture, DatasetWithoutRowReaderShowsItsBufferedWindow)
{
    books->OffersRowReader = false;
    books->Open();
    Show();
    QAbstractItemModelTester tester(&grid.Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_FALSE(grid.Model().ReadsByPosition());
    const int window = grid.Model().rowCount();
    EXPECT_GT(window, 5);
    EXPECT_LT(window, 30);
    books->MoveBy(500);
    const int row = grid.Model().CurrentRow();
    EXPECT_EQ(grid.Model().data(grid.Model().index(row, 0)).toString(), "501");
    EXPECT_EQ(grid.Model().data(grid.Model().index(row - 1, 0)).toString(), "500");
}
