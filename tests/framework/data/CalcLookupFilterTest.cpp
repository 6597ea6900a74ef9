// Calculated and lookup fields, the filter-record event, bookmarks and searching.
#include "DataTestSupport.h"

#include "framework/data/IntegerFields.h"
#include "framework/data/TStringField.h"

#include <gtest/gtest.h>

TEST(CalculatedFields, ComputedInCalcStateForEveryRecordAndAfterEachEdit)
{
    auto books = MakeBooks(3);
    auto* doubled = books->AddField<TIntegerField>(QStringLiteral("DOUBLE_ID"), fkCalculated);
    QList<TDataSetState> states;
    books->OnCalcFields = [&](TDataSet* d) {
        states << d->State();
        d->FieldByName(QStringLiteral("DOUBLE_ID"))->SetAsInteger(d->FieldByName(QStringLiteral("ID"))->AsInteger() * 2);
    };
    books->Open();
    EXPECT_EQ(books->FieldCount(), 6); // default data fields plus the declared one, data first
    EXPECT_EQ(books->Fields()[5], doubled);
    EXPECT_TRUE(books->DefaultFields());
    EXPECT_EQ(doubled->AsInteger(), 2);
    books->Last();
    EXPECT_EQ(doubled->AsInteger(), 6);
    ASSERT_FALSE(states.isEmpty());
    EXPECT_TRUE(std::all_of(states.begin(), states.end(), [](TDataSetState s) { return s == dsCalcFields; }));
    books->Edit();
    books->FieldByName(QStringLiteral("ID"))->SetAsInteger(50);
    EXPECT_EQ(doubled->AsInteger(), 100);
    EXPECT_EQ(ErrorText([&] { books->OnCalcFields = [](TDataSet* d) { d->FieldByName(QStringLiteral("ID"))->SetAsInteger(1); };
                              books->FieldByName(QStringLiteral("ID"))->SetAsInteger(51); }),
              QStringLiteral("TB_Books: Datenmenge nicht im Bearbeitungs- oder Einfügemodus"));
    books->OnCalcFields = nullptr;
    books->Cancel();
    EXPECT_FALSE(doubled->CanModify());
    books->Close();
    EXPECT_EQ(books->FieldCount(), 1); // the declared field stays
}

TEST(LookupFields, ShowTheResultFieldOfTheMatchingRecord)
{
    TMemoryDataSet lists;
    lists.AddColumn(QStringLiteral("IDX"), ftInteger);
    lists.AddColumn(QStringLiteral("NAME"), ftString, 20);
    lists.AddRow({1, QStringLiteral("Spring")});
    lists.AddRow({2, QStringLiteral("Autumn")});
    lists.Open();
    lists.Last();

    TMemoryDataSet entries;
    entries.AddColumn(QStringLiteral("NR"), ftInteger);
    entries.AddColumn(QStringLiteral("LIST"), ftInteger);
    entries.AddRow({100, 2});
    entries.AddRow({101, 1});
    entries.AddRow({102, 9});
    auto* listName = entries.AddField<TStringField>(QStringLiteral("LIST_NAME"), fkLookup);
    listName->SetLookupDataSet(&lists);
    listName->SetKeyFields(QStringLiteral("LIST"));
    listName->SetLookupKeyFields(QStringLiteral("IDX"));
    listName->SetLookupResultField(QStringLiteral("NAME"));
    listName->SetLookupCache(true);
    entries.Open();
    QStringList names;
    for (; !entries.Eof(); entries.Next())
        names << (listName->IsNull() ? QStringLiteral("-") : listName->AsString());
    EXPECT_EQ(names, QStringList({"Autumn", "Spring", "-"}));
    EXPECT_EQ(lists.FieldByName(QStringLiteral("IDX"))->AsInteger(), 2); // the lookup dataset did not move
    EXPECT_TRUE(listName->Lookup());
}

TEST(LookupFields, IncompleteDefinitionRefusesToOpen)
{
    auto books = MakeBooks(1);
    auto* broken = books->AddField<TStringField>(QStringLiteral("X"), fkLookup);
    broken->SetKeyFields(QStringLiteral("ID"));
    EXPECT_EQ(ErrorText([&] { books->Open(); }),
              QStringLiteral("TB_Books: Lookup-Informationen für Feld 'X' sind unvollständig"));
    EXPECT_FALSE(books->Active());
}

TEST(FilterRecord, RejectedRecordsAreSkippedInBothDirections)
{
    auto books = MakeBooks(6);
    books->SetOnFilterRecord([](TDataSet* d, bool& accept) {
        EXPECT_EQ(d->State(), dsFilter);
        accept = d->FieldByName(QStringLiteral("ID"))->AsInteger() % 2 == 1;
    });
    books->SetFiltered(true);
    books->Open();
    QStringList ids;
    for (; !books->Eof(); books->Next())
        ids << books->FieldByName(QStringLiteral("ID"))->AsString();
    EXPECT_EQ(ids, QStringList({"1", "3", "5"}));
    ids.clear();
    for (books->Last(); !books->Bof(); books->Prior())
        ids << books->FieldByName(QStringLiteral("ID"))->AsString();
    EXPECT_EQ(ids, QStringList({"5", "3", "1"}));
    EXPECT_EQ(books->RecordCount(), 3);
    books->SetFiltered(false); // back to every record, from the first
    EXPECT_EQ(books->RecordCount(), 6);
    books->Next();
    EXPECT_EQ(books->FieldByName(QStringLiteral("ID"))->AsInteger(), 2);
}

TEST(FilterRecord, EditedRecordThatNoLongerPassesLeavesTheView)
{
    auto books = MakeBooks(3);
    books->SetOnFilterRecord([](TDataSet* d, bool& accept) {
        accept = d->FieldByName(QStringLiteral("LENT"))->AsBoolean() == false;
    });
    books->SetFiltered(true);
    books->Open(); // 1 and 3 are not lent
    books->Edit();
    books->FieldByName(QStringLiteral("LENT"))->SetAsBoolean(true);
    books->Post();
    EXPECT_EQ(books->FieldByName(QStringLiteral("ID"))->AsInteger(), 3);
    EXPECT_EQ(books->RecordCount(), 1);
}

TEST(Bookmarks, RoundTripCompareAndValidity)
{
    auto books = MakeBooks(8);
    TDataSource source;
    source.SetDataSet(books.get());
    RecordingLink grid;
    grid.SetDataSource(&source);
    grid.SetBufferCount(3);
    books->Open();
    books->MoveBy(2);
    const TBookmark third = books->GetBookmark();
    ASSERT_EQ(third.size(), 4);
    books->Last();
    const TBookmark last = books->GetBookmark();
    EXPECT_LT(books->CompareBookmarks(third, last), 0);
    EXPECT_GT(books->CompareBookmarks(last, third), 0);
    EXPECT_EQ(books->CompareBookmarks(third, third), 0);
    EXPECT_LT(books->CompareBookmarks(TBookmark(), third), 0);
    EventLog events;
    events.Attach(*books);
    books->GotoBookmark(third);
    EXPECT_EQ(events.Joined(), QStringLiteral("BeforeScroll AfterScroll"));
    EXPECT_EQ(books->FieldByName(QStringLiteral("ID"))->AsInteger(), 3);
    EXPECT_EQ(grid.ActiveRecord(), 1); // centred in the window
    books->Next();
    EXPECT_EQ(books->FieldByName(QStringLiteral("ID"))->AsInteger(), 4);
    EXPECT_TRUE(books->BookmarkValid(last));
    EXPECT_FALSE(books->BookmarkValid(QByteArray("\x77\x00\x00\x00", 4)));
    EXPECT_EQ(books->FieldByName(QStringLiteral("ID"))->AsInteger(), 4); // checking did not move
    books->Next();
    EXPECT_EQ(books->FieldByName(QStringLiteral("ID"))->AsInteger(), 5);
    books->GotoBookmark(last);
    books->Delete();
    EXPECT_FALSE(books->BookmarkValid(last));
    EXPECT_EQ(ErrorText([&] { books->GotoBookmark(last); }), QStringLiteral("Invalid Bookmark!"));
    books->Append();
    EXPECT_TRUE(books->GetBookmark().isEmpty()); // a new record has none yet
    books->Cancel();
}

TEST(Search, LocateMovesToTheFirstMatchAndKeepsTheRecordWhenNoneMatches)
{
    auto books = MakeBooks(6);
    books->Open();
    books->Next();
    EXPECT_TRUE(books->Locate(QStringLiteral("ID"), 4, 0));
    EXPECT_EQ(books->RecNo(), 4);
    EXPECT_FALSE(books->Locate(QStringLiteral("ID"), 4711, 0));
    EXPECT_EQ(books->RecNo(), 4);
    books->Next();
    EXPECT_EQ(books->RecNo(), 5);
    EXPECT_TRUE(books->Locate(QStringLiteral("TITLE"), QStringLiteral("book 2"), loCaseInsensitive));
    EXPECT_EQ(books->RecNo(), 2);
    EXPECT_FALSE(books->Locate(QStringLiteral("TITLE"), QStringLiteral("book 2"), 0));
    EXPECT_TRUE(books->Locate(QStringLiteral("TITLE"), QStringLiteral("BOOK 6"), loCaseInsensitive | loPartialKey));
    EXPECT_TRUE(books->Locate(QStringLiteral("ID;LENT"), QVariantList{3, false}, 0));
    EXPECT_EQ(books->RecNo(), 3);
    EXPECT_FALSE(books->Locate(QStringLiteral("ID;LENT"), QVariantList{3, true}, 0));
    EXPECT_EQ(ErrorText([&] { books->Locate(QStringLiteral("ID;LENT"), 3, 0); }),
              QStringLiteral("TB_Books: Feldindex außerhalb des gültigen Bereichs"));
}

TEST(Search, LookupReturnsValuesWithoutMoving)
{
    auto books = MakeBooks(4);
    books->Open();
    books->Next();
    EXPECT_EQ(books->Lookup(QStringLiteral("ID"), 3, QStringLiteral("TITLE")).toString(), QStringLiteral("Book 3"));
    const QVariantList both = books->Lookup(QStringLiteral("ID"), 4, QStringLiteral("TITLE;LENT")).toList();
    ASSERT_EQ(both.size(), 2);
    EXPECT_EQ(both[1], QVariant(true));
    EXPECT_FALSE(books->Lookup(QStringLiteral("ID"), 99, QStringLiteral("TITLE")).isValid());
    EXPECT_EQ(books->RecNo(), 2);
    books->Next();
    EXPECT_EQ(books->RecNo(), 3);
    EXPECT_FALSE(books->FindFirst()); // no generic find
}

TEST(LookupFields, LookupDatasetGoingAwayLeavesTheFieldEmpty)
{
    auto entries = MakeBooks(1);
    auto* name = entries->AddField<TStringField>(QStringLiteral("NAME"), fkLookup);
    {
        auto lists = MakeBooks(2);
        name->SetLookupDataSet(lists.get());
    }
    EXPECT_EQ(name->LookupDataSet(), nullptr);
    auto lists = MakeBooks(2);
    name->SetLookupDataSet(lists.get());
    delete name; // the lookup dataset must not keep the field
    lists.reset();
    SUCCEED();
}
