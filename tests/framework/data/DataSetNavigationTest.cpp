// Opening, closing and moving through a dataset.
#include "DataTestSupport.h"

#include "framework/data/DbConsts.h"

#include <gtest/gtest.h>

TEST(DataSetOpen, OpenMakesDefaultFieldsFromDefinitionsAndShowsFirstRecord)
{
    auto books = MakeBooks();
    EventLog events;
    events.Attach(*books);
    books->Open();
    EXPECT_TRUE(books->Active());
    EXPECT_EQ(books->State(), dsBrowse);
    EXPECT_EQ(events.Joined(), QStringLiteral("BeforeOpen AfterOpen AfterScroll"));
    ASSERT_EQ(books->FieldCount(), 5);
    EXPECT_TRUE(books->DefaultFields());
    EXPECT_EQ(books->Fields()[1]->FieldName(), QStringLiteral("TITLE"));
    EXPECT_EQ(books->Fields()[1]->DataType(), ftString);
    EXPECT_EQ(books->Fields()[1]->Size(), 30);
    EXPECT_TRUE(books->FieldByName(QStringLiteral("id"))->Required());
    EXPECT_EQ(books->FieldByName(QStringLiteral("Id"))->AsInteger(), 1);
    EXPECT_TRUE(books->Bof());
    EXPECT_FALSE(books->Eof());
    EXPECT_EQ(books->RecNo(), 1);
    EXPECT_EQ(books->RecordCount(), 5);

    events.entries.clear();
    books->Close();
    EXPECT_EQ(events.Joined(), QStringLiteral("BeforeClose AfterClose"));
    EXPECT_FALSE(books->Active());
    EXPECT_EQ(books->FieldCount(), 0); // default fields go with the cursor
    EXPECT_EQ(books->FieldDefs().Count(), 5);
}

TEST(DataSetOpen, ClosedDatasetRefusesNavigationAndUnknownFieldsAreNamed)
{
    auto books = MakeBooks();
    EXPECT_EQ(ErrorText([&] { books->Next(); }),
              QStringLiteral("TB_Books: Operation bei geschlossener Datenmenge nicht ausführbar"));
    books->Open();
    EXPECT_EQ(books->FindField(QStringLiteral("NOPE")), nullptr);
    EXPECT_EQ(ErrorText([&] { books->FieldByName(QStringLiteral("NOPE")); }),
              QStringLiteral("TB_Books: Feld 'NOPE' nicht gefunden"));
    books->SetName(QString());
    EXPECT_EQ(ErrorText([&] { books->FieldByName(QStringLiteral("NOPE")); }),
              QStringLiteral("Feld 'NOPE' nicht gefunden"));
}

TEST(DataSetOpen, FailingOpenLeavesTheDatasetClosed)
{
    auto books = MakeBooks();
    auto* field = books->AddField<TField>(QStringLiteral("MISSING"));
    (void)field;
    EXPECT_EQ(ErrorText([&] { books->Open(); }), QStringLiteral("TB_Books: Feld 'MISSING' nicht gefunden"));
    EXPECT_FALSE(books->Active());
    EXPECT_EQ(books->State(), dsInactive);
}

TEST(DataSetNavigation, WalksForwardAndBackWithBofAndEofAtBothEnds)
{
    auto books = MakeBooks(3);
    books->Open();
    QStringList seen;
    while (!books->Eof()) {
        seen << books->FieldByName(QStringLiteral("TITLE"))->AsString();
        books->Next();
    }
    EXPECT_EQ(seen, QStringList({"Book 1", "Book 2", "Book 3"}));
    EXPECT_EQ(books->FieldByName(QStringLiteral("ID"))->AsInteger(), 3); // Eof stays on the last record
    books->Last();
    EXPECT_TRUE(books->Eof());
    EXPECT_FALSE(books->Bof());
    seen.clear();
    while (!books->Bof()) {
        seen << books->FieldByName(QStringLiteral("ID"))->AsString();
        books->Prior();
    }
    EXPECT_EQ(seen, QStringList({"3", "2", "1"}));
    EXPECT_EQ(books->RecNo(), 1);
}

TEST(DataSetNavigation, EmptyDatasetIsAtBothEndsAndReadsNull)
{
    auto books = MakeBooks(0);
    EventLog events;
    events.Attach(*books);
    books->Open();
    EXPECT_EQ(events.Joined(), QStringLiteral("BeforeOpen AfterOpen")); // no record, no scroll
    EXPECT_TRUE(books->IsEmpty());
    EXPECT_TRUE(books->Bof());
    EXPECT_TRUE(books->Eof());
    EXPECT_EQ(books->MoveBy(1), 0);
    books->Last();
    EXPECT_TRUE(books->Bof() && books->Eof());
    EXPECT_TRUE(books->FieldByName(QStringLiteral("TITLE"))->IsNull());
    EXPECT_EQ(books->FieldByName(QStringLiteral("ID"))->AsInteger(), 0);
    EXPECT_EQ(books->RecNo(), -1);
    EXPECT_TRUE(books->GetBookmark().isEmpty());
}

TEST(DataSetNavigation, MoveByReturnsTheDistanceMovedAndStopsAtTheEnds)
{
    auto books = MakeBooks(10);
    books->Open();
    EXPECT_EQ(books->MoveBy(4), 4);
    EXPECT_EQ(books->RecNo(), 5);
    EXPECT_EQ(books->MoveBy(100), 5);
    EXPECT_TRUE(books->Eof());
    EXPECT_EQ(books->RecNo(), 10);
    EXPECT_EQ(books->MoveBy(-3), -3);
    EXPECT_EQ(books->RecNo(), 7);
    EXPECT_FALSE(books->Eof());
    EXPECT_EQ(books->MoveBy(-100), -6);
    EXPECT_TRUE(books->Bof());
    EXPECT_EQ(books->FieldByName(QStringLiteral("ID"))->AsInteger(), 1);
}

TEST(DataSetNavigation, ScrollEventsSurroundEveryMoveButNotAMoveBeyondTheEnd)
{
    auto books = MakeBooks(2);
    books->Open();
    EventLog events;
    events.Attach(*books);
    int idInBeforeScroll = 0;
    books->BeforeScroll = [&](TDataSet* d) { idInBeforeScroll = d->FieldByName(QStringLiteral("ID"))->AsInteger(); };
    books->Next();
    EXPECT_EQ(idInBeforeScroll, 1); // still the old record
    EXPECT_EQ(events.Joined(), QStringLiteral("AfterScroll"));
    books->Next(); // on the last record: finds nothing, sets Eof, still a scroll
    books->Next(); // at Eof: no move, no events
    EXPECT_EQ(events.entries.size(), 2);
}

TEST(DataSetNavigation, WindowOfBuffersFollowsTheLargestLink)
{
    auto books = MakeBooks(10);
    TDataSource source;
    source.SetDataSet(books.get());
    RecordingLink small;
    RecordingLink big;
    small.SetDataSource(&source);
    big.SetDataSource(&source);
    small.SetBufferCount(2);
    books->Open();
    EXPECT_EQ(books->WindowSize(), 2);
    big.SetBufferCount(4);
    EXPECT_EQ(books->WindowSize(), 4);
    EXPECT_EQ(books->WindowRecords(), 4);
    EXPECT_EQ(big.RecordCount(), 4);
    EXPECT_EQ(small.RecordCount(), 2);
    books->MoveBy(6);
    EXPECT_EQ(books->RecNo(), 7);
    EXPECT_EQ(big.ActiveRecord(), 3);
    EXPECT_EQ(small.ActiveRecord(), 1);
    big.SetBufferCount(1);
    EXPECT_EQ(books->WindowSize(), 2);
    EXPECT_EQ(books->RecNo(), 7); // shrinking keeps the current record
    books->Next();
    EXPECT_EQ(books->FieldByName(QStringLiteral("ID"))->AsInteger(), 8);
}

TEST(DataSetNavigation, GridReadsEveryRowOfItsWindowThroughActiveRecord)
{
    auto books = MakeBooks(6);
    TDataSource source;
    source.SetDataSet(books.get());
    RecordingLink grid;
    grid.SetDataSource(&source);
    grid.SetBufferCount(3);
    books->Open();
    books->MoveBy(4); // record 5: the window shows 3..5
    const int saved = grid.ActiveRecord();
    QStringList rows;
    for (int i = 0; i < grid.RecordCount(); ++i) {
        grid.SetActiveRecord(i);
        rows << books->FieldByName(QStringLiteral("ID"))->AsString();
    }
    grid.SetActiveRecord(saved);
    EXPECT_EQ(rows, QStringList({"3", "4", "5"}));
    EXPECT_EQ(books->FieldByName(QStringLiteral("ID"))->AsInteger(), 5);
}

TEST(DataSetNavigation, RefreshReReadsTheCurrentRecordFromTheStore)
{
    auto books = MakeBooks(3);
    books->Open();
    books->Next();
    EventLog events;
    events.Attach(*books);
    bool refreshed = false;
    books->AfterRefresh = [&](TDataSet*) { refreshed = true; };
    books->Refresh();
    EXPECT_TRUE(refreshed);
    EXPECT_EQ(books->FieldByName(QStringLiteral("ID"))->AsInteger(), 2);
}
