// Edit, insert, append, post, cancel and delete: states, event order, refusals.
#include "DataTestSupport.h"

#include <gtest/gtest.h>

namespace {

TField* F(TDataSet& ds, const char* name)
{
    return ds.FieldByName(QString::fromLatin1(name));
}

} // namespace

TEST(DataSetEditing, EditPostRunsTheEventsInOrderAndWritesTheStore)
{
    auto books = MakeBooks(3);
    books->Open();
    books->Next();
    EventLog events;
    events.Attach(*books);
    books->Edit();
    EXPECT_EQ(books->State(), dsEdit);
    F(*books, "TITLE")->SetAsString(QStringLiteral("Changed"));
    EXPECT_TRUE(books->Modified());
    books->Post();
    EXPECT_EQ(events.Joined(), QStringLiteral("BeforeEdit AfterEdit(edit) BeforePost(edit) AfterPost"));
    EXPECT_EQ(books->State(), dsBrowse);
    EXPECT_EQ(books->StoredRow(1)[1].toString(), QStringLiteral("Changed"));
    EXPECT_EQ(F(*books, "ID")->AsInteger(), 2);
}

TEST(DataSetEditing, CancelRestoresTheValuesOfTheRecord)
{
    auto books = MakeBooks(3);
    books->Open();
    books->Edit();
    F(*books, "TITLE")->SetAsString(QStringLiteral("Scratch"));
    F(*books, "PRICE")->Clear();
    EXPECT_EQ(F(*books, "TITLE")->OldValue().toString(), QStringLiteral("Book 1"));
    EventLog events;
    events.Attach(*books);
    books->Cancel();
    EXPECT_EQ(events.Joined(), QStringLiteral("BeforeCancel(edit) AfterCancel"));
    EXPECT_EQ(F(*books, "TITLE")->AsString(), QStringLiteral("Book 1"));
    EXPECT_DOUBLE_EQ(F(*books, "PRICE")->AsFloat(), 1.5);
    EXPECT_EQ(books->StoredRow(0)[1].toString(), QStringLiteral("Book 1"));
}

TEST(DataSetEditing, AppendRunsOnNewRecordInInsertStateAndPostLeavesTheNewRowCurrent)
{
    auto books = MakeBooks(3);
    books->Open();
    EventLog events;
    events.Attach(*books);
    books->OnNewRecord = [&](TDataSet* d) {
        events.entries << QStringLiteral("OnNewRecord") + EventLog::StateSuffix(d);
        F(*d, "LENT")->SetAsBoolean(false); // defaults set here are not a modification
    };
    books->Append();
    EXPECT_EQ(events.Joined(),
              QStringLiteral("BeforeInsert BeforeScroll OnNewRecord(insert) AfterInsert(insert) AfterScroll(insert)"));
    EXPECT_FALSE(books->Modified());
    EXPECT_TRUE(F(*books, "ID")->IsNull());
    F(*books, "ID")->SetAsInteger(4);
    F(*books, "TITLE")->SetAsString(QStringLiteral("New"));
    books->Post();
    EXPECT_EQ(books->StoredRows(), 4);
    EXPECT_EQ(books->StoredRow(3)[1].toString(), QStringLiteral("New"));
    EXPECT_EQ(F(*books, "TITLE")->AsString(), QStringLiteral("New"));
    EXPECT_EQ(books->RecNo(), 4);
    EXPECT_EQ(books->RecordCount(), 4);
    books->Prior();
    EXPECT_EQ(F(*books, "ID")->AsInteger(), 3);
}

TEST(DataSetEditing, InsertPutsTheNewRowBeforeTheCurrentOne)
{
    auto books = MakeBooks(3);
    books->Open();
    books->Next(); // on 2
    books->Insert();
    F(*books, "ID")->SetAsInteger(42);
    books->Post();
    EXPECT_EQ(books->StoredRow(1)[0].toInt(), 42);
    EXPECT_EQ(F(*books, "ID")->AsInteger(), 42);
    books->Next();
    EXPECT_EQ(F(*books, "ID")->AsInteger(), 2);
}

TEST(DataSetEditing, CancelOfAnInsertReturnsToTheRecordBefore)
{
    auto books = MakeBooks(3);
    books->Open();
    books->Next();
    books->Insert();
    books->Cancel();
    EXPECT_EQ(books->State(), dsBrowse);
    EXPECT_EQ(F(*books, "ID")->AsInteger(), 2);
    books->Last();
    books->Append();
    books->Cancel();
    EXPECT_EQ(F(*books, "ID")->AsInteger(), 3);
    EXPECT_EQ(books->StoredRows(), 3);
}

TEST(DataSetEditing, EditOnAnEmptyDatasetInsertsAndAppendToEmptyWorks)
{
    auto books = MakeBooks(0);
    books->Open();
    books->Edit();
    EXPECT_EQ(books->State(), dsInsert);
    F(*books, "ID")->SetAsInteger(1);
    books->Post();
    EXPECT_EQ(books->StoredRows(), 1);
    EXPECT_FALSE(books->IsEmpty());
    EXPECT_EQ(F(*books, "ID")->AsInteger(), 1);
}

TEST(DataSetEditing, ScrollingAwayPostsAModifiedRecordAndDropsAnUntouchedInsert)
{
    auto books = MakeBooks(3);
    books->Open();
    books->Edit();
    F(*books, "TITLE")->SetAsString(QStringLiteral("Auto"));
    books->Next();
    EXPECT_EQ(books->State(), dsBrowse);
    EXPECT_EQ(books->StoredRow(0)[1].toString(), QStringLiteral("Auto"));
    books->Append();
    books->First();
    EXPECT_EQ(books->StoredRows(), 3);
    EXPECT_EQ(F(*books, "ID")->AsInteger(), 1);
}

TEST(DataSetEditing, DeleteRemovesTheRowAndBeforeDeleteCanVeto)
{
    auto books = MakeBooks(3);
    books->Open();
    books->Next();
    books->BeforeDelete = [](TDataSet*) { throw EDatabaseError(QStringLiteral("vetoed")); };
    EXPECT_EQ(ErrorText([&] { books->Delete(); }), QStringLiteral("vetoed"));
    EXPECT_EQ(books->StoredRows(), 3);
    EXPECT_EQ(books->State(), dsBrowse);

    EventLog events;
    events.Attach(*books);
    books->Delete();
    EXPECT_EQ(events.Joined(), QStringLiteral("BeforeDelete BeforeScroll AfterDelete AfterScroll"));
    EXPECT_EQ(books->StoredRows(), 2);
    EXPECT_EQ(F(*books, "ID")->AsInteger(), 3);
    books->Delete(); // the last row: the new last row becomes current
    EXPECT_EQ(F(*books, "ID")->AsInteger(), 1);
    books->Delete();
    EXPECT_TRUE(books->IsEmpty());
    EXPECT_EQ(ErrorText([&] { books->Delete(); }),
              QStringLiteral("TB_Books: Operation bei leerer Datenmenge nicht ausführbar"));
}

TEST(DataSetEditing, DeleteDuringInsertCancelsTheNewRecord)
{
    auto books = MakeBooks(2);
    books->Open();
    books->Append();
    books->Delete();
    EXPECT_EQ(books->State(), dsBrowse);
    EXPECT_EQ(books->StoredRows(), 2);
}

TEST(DataSetEditing, RefusalsCarryTheFrameworkTexts)
{
    auto books = MakeBooks(2);
    books->Open();
    EXPECT_EQ(ErrorText([&] { books->Post(); }),
              QStringLiteral("TB_Books: Datenmenge nicht im Bearbeitungs- oder Einfügemodus"));
    EXPECT_EQ(ErrorText([&] { F(*books, "TITLE")->SetAsString(QStringLiteral("x")); }),
              QStringLiteral("TB_Books: Datenmenge nicht im Bearbeitungs- oder Einfügemodus"));
    books->Append();
    F(*books, "TITLE")->SetAsString(QStringLiteral("no id"));
    EXPECT_EQ(ErrorText([&] { books->Post(); }), QStringLiteral("Feld 'ID' muss einen Wert haben"));
    EXPECT_EQ(books->State(), dsInsert);
    books->Cancel();
    F(*books, "PRICE")->SetReadOnly(true);
    books->Edit();
    EXPECT_EQ(ErrorText([&] { F(*books, "PRICE")->SetAsFloat(1); }),
              QStringLiteral("Feld 'PRICE' kann nicht geändert werden"));
    books->Cancel();
    books->SetReadOnly(true);
    EXPECT_EQ(ErrorText([&] { books->Edit(); }),
              QStringLiteral("TB_Books: Schreibgeschützte Datenmenge kann nicht geändert werden"));
    EXPECT_EQ(ErrorText([&] { books->Append(); }),
              QStringLiteral("TB_Books: Schreibgeschützte Datenmenge kann nicht geändert werden"));
}

TEST(DataSetEditing, PostErrorEventDecidesBetweenRetryAbortAndFail)
{
    auto books = MakeBooks(2);
    books->Open();
    int refusals = 1;
    books->OnStorePost = [&] {
        if (refusals-- > 0)
            throw std::runtime_error("disk full");
    };
    QString seen;
    books->OnPostError = [&](TDataSet*, const std::exception& e, TDataAction& action) {
        seen = QString::fromUtf8(e.what());
        action = daRetry;
    };
    books->Edit();
    F(*books, "TITLE")->SetAsString(QStringLiteral("retried"));
    books->Post();
    EXPECT_EQ(seen, QStringLiteral("disk full"));
    EXPECT_EQ(books->StoredRow(0)[1].toString(), QStringLiteral("retried"));

    // Abort: silent, nothing written, still editing.
    refusals = 1;
    books->OnPostError = [](TDataSet*, const std::exception&, TDataAction& action) { action = daAbort; };
    books->Edit();
    F(*books, "TITLE")->SetAsString(QStringLiteral("aborted"));
    EXPECT_THROW(books->Post(), EAbort);
    EXPECT_EQ(books->State(), dsEdit);
    EXPECT_EQ(books->StoredRow(0)[1].toString(), QStringLiteral("retried"));

    // Fail (the default): the error propagates, the dataset stays in edit state.
    refusals = 1;
    books->OnPostError = nullptr;
    EXPECT_THROW(books->Post(), std::runtime_error);
    EXPECT_EQ(books->State(), dsEdit);
    books->Post(); // the store accepts now
    EXPECT_EQ(books->StoredRow(0)[1].toString(), QStringLiteral("aborted"));
}

TEST(DataSetEditing, DeleteErrorEventCanRetry)
{
    auto books = MakeBooks(2);
    books->Open();
    int refusals = 2;
    books->OnStoreDelete = [&] {
        if (refusals-- > 0)
            throw EDatabaseError(QStringLiteral("locked"));
    };
    int calls = 0;
    books->OnDeleteError = [&](TDataSet*, const std::exception&, TDataAction& action) {
        ++calls;
        action = daRetry;
    };
    books->Delete();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(books->StoredRows(), 1);
}

TEST(DataSetEditing, OnValidateSeesTheNewValueAndCanRefuseIt)
{
    auto books = MakeBooks(2);
    books->Open();
    QString validated;
    F(*books, "TITLE")->OnValidate = [&](TField* f) {
        validated = f->AsString();
        if (validated.isEmpty())
            throw EDatabaseError(QStringLiteral("title needed"));
    };
    int changes = 0;
    F(*books, "TITLE")->OnChange = [&](TField*) { ++changes; };
    books->Edit();
    F(*books, "TITLE")->SetAsString(QStringLiteral("Valid"));
    EXPECT_EQ(validated, QStringLiteral("Valid"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(ErrorText([&] { F(*books, "TITLE")->Clear(); }), QStringLiteral("title needed"));
    EXPECT_EQ(F(*books, "TITLE")->AsString(), QStringLiteral("Valid"));
    EXPECT_EQ(changes, 1);
}

TEST(DataSetEditing, AppendRecordAndInsertRecordFillFieldsByPosition)
{
    auto books = MakeBooks(1);
    books->Open();
    books->AppendRecord({7, QStringLiteral("Seven"), 7.5, true, QDate(2020, 1, 2)});
    EXPECT_EQ(books->StoredRows(), 2);
    EXPECT_EQ(F(*books, "TITLE")->AsString(), QStringLiteral("Seven"));
    books->First();
    books->InsertRecord({0, QStringLiteral("Zero")});
    EXPECT_EQ(books->StoredRow(0)[1].toString(), QStringLiteral("Zero"));
    EXPECT_TRUE(books->StoredRow(0)[2].isNull());
}

namespace {

// A dataset whose store refuses to start an edit a given number of times.
class LockingDataSet : public TMemoryDataSet {
public:
    int refusals = 0;

protected:
    void InternalEdit() override
    {
        if (refusals-- > 0)
            throw EDatabaseError(QStringLiteral("record locked"));
        TMemoryDataSet::InternalEdit();
    }
};

} // namespace

TEST(DataSetEditing, EditErrorEventRetriesOrFailsAndBeforeEditCanVeto)
{
    LockingDataSet ds;
    ds.AddColumn(QStringLiteral("ID"), ftInteger);
    ds.AddRow({1});
    ds.Open();
    ds.refusals = 2;
    int calls = 0;
    ds.OnEditError = [&](TDataSet*, const std::exception&, TDataAction& action) {
        action = ++calls < 2 ? daRetry : daFail;
    };
    EXPECT_EQ(ErrorText([&] { ds.Edit(); }), QStringLiteral("record locked"));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(ds.State(), dsBrowse);
    ds.Edit(); // the store gives way now
    EXPECT_EQ(ds.State(), dsEdit);
    ds.Cancel();
    ds.BeforeEdit = [](TDataSet*) { throw EDatabaseError(QStringLiteral("not now")); };
    EXPECT_EQ(ErrorText([&] { ds.Edit(); }), QStringLiteral("not now"));
    EXPECT_EQ(ds.State(), dsBrowse);
}

TEST(DataSetEditing, InsertIntoAFullWindowKeepsTheRowsAroundIt)
{
    auto books = MakeBooks(6);
    TDataSource source;
    source.SetDataSet(books.get());
    RecordingLink grid;
    grid.SetDataSource(&source);
    grid.SetBufferCount(3);
    books->Open();
    books->Next(); // window 1..3, on 2
    auto windowIds = [&] {
        QStringList ids;
        const int saved = grid.ActiveRecord();
        for (int i = 0; i < grid.RecordCount(); ++i) {
            grid.SetActiveRecord(i);
            ids << (F(*books, "ID")->IsNull() ? QStringLiteral("new") : F(*books, "ID")->AsString());
        }
        grid.SetActiveRecord(saved);
        return ids;
    };
    books->Insert();
    EXPECT_EQ(windowIds(), QStringList({"1", "new", "2"}));
    books->Cancel();
    EXPECT_EQ(windowIds(), QStringList({"1", "2", "3"}));
    EXPECT_EQ(F(*books, "ID")->AsInteger(), 2);
    books->Insert();
    F(*books, "ID")->SetAsInteger(99);
    books->Post();
    EXPECT_EQ(windowIds(), QStringList({"1", "99", "2"}));
    books->SetRecNo(5);
    EXPECT_EQ(F(*books, "ID")->AsInteger(), 4);
    books->Append();
    EXPECT_EQ(windowIds(), QStringList({"5", "6", "new"}));
    F(*books, "ID")->SetAsInteger(7);
    books->Post();
    EXPECT_EQ(windowIds(), QStringList({"5", "6", "7"}));
    EXPECT_EQ(books->RecNo(), 8);
}
