// Data sources and data links: what a grid or a control is told, and when.
#include "DataTestSupport.h"

#include "framework/data/TFieldDataLink.h"

#include <gtest/gtest.h>

namespace {

struct Linked {
    std::unique_ptr<TMemoryDataSet> books = MakeBooks(10);
    TDataSource source;
    RecordingLink link;
    Linked(int bufferCount)
    {
        source.SetDataSet(books.get());
        link.SetDataSource(&source);
        link.SetBufferCount(bufferCount);
    }
};

} // namespace

TEST(DataLink, ActivationEditingAndStateReachTheLinkAndTheSource)
{
    Linked l(1);
    QStringList sourceLog;
    l.source.OnStateChange = [&](TDataSource* s) { sourceLog << QStringLiteral("state:%1").arg(s->State()); };
    l.books->Open();
    EXPECT_TRUE(l.link.Active());
    EXPECT_EQ(l.link.DataSet(), l.books.get());
    l.books->Edit();
    EXPECT_TRUE(l.link.Editing());
    l.books->Cancel();
    l.books->Close();
    EXPECT_FALSE(l.link.Active());
    EXPECT_EQ(l.link.Joined(), QStringLiteral("active editing record:* browsing changed inactive"));
    EXPECT_EQ(sourceLog, QStringList({"state:1", "state:2", "state:1", "state:0"}));
}

TEST(DataLink, ScrollDistancesFollowTheLinksWindow)
{
    Linked l(3);
    l.books->Open();
    l.link.log.clear();
    l.books->Next(); // inside the window: no buffer shift, the row moves by one
    l.books->Next();
    l.books->Next(); // past the window: the buffers shift
    EXPECT_EQ(l.link.Joined(), QStringLiteral("scrolled:0 scrolled:0 scrolled:1"));
    EXPECT_EQ(l.link.ActiveRecord(), 2);
    l.link.log.clear();
    l.books->MoveBy(3);
    EXPECT_EQ(l.link.Joined(), QStringLiteral("scrolled:3"));
    l.link.log.clear();
    l.books->MoveBy(-4); // back to record 3: the first row of the window
    EXPECT_EQ(l.link.ActiveRecord(), 0);
    l.books->Prior();
    EXPECT_EQ(l.link.Joined(), QStringLiteral("scrolled:-2 scrolled:-1"));
    l.link.log.clear();
    l.books->Last();
    l.books->First();
    EXPECT_EQ(l.link.Joined(), QStringLiteral("changed changed"));
}

TEST(DataLink, FieldChangesReportTheField)
{
    Linked l(1);
    l.books->Open();
    QStringList sourceLog;
    l.source.OnDataChange = [&](TDataSource*, TField* f) { sourceLog << (f ? f->FieldName() : QStringLiteral("*")); };
    l.link.log.clear();
    l.books->Edit();
    l.books->FieldByName(QStringLiteral("TITLE"))->SetAsString(QStringLiteral("x"));
    l.books->Post();
    EXPECT_EQ(l.link.Joined(), QStringLiteral("editing record:* record:TITLE browsing changed"));
    EXPECT_EQ(sourceLog, QStringList({"*", "TITLE", "*"}));
}

TEST(DataLink, DisabledControlsHearNothingUntilTheOutermostEnable)
{
    Linked l(2);
    l.books->Open();
    l.link.log.clear();
    l.books->DisableControls();
    l.books->DisableControls();
    EXPECT_TRUE(l.books->ControlsDisabled());
    l.books->Next();
    l.books->Next();
    l.books->EnableControls();
    EXPECT_TRUE(l.link.log.isEmpty());
    l.books->EnableControls();
    EXPECT_FALSE(l.books->ControlsDisabled());
    EXPECT_EQ(l.link.Joined(), QStringLiteral("changed"));
    EXPECT_EQ(l.link.ActiveRecord(), 1);
    l.books->EnableControls(); // unbalanced: ignored
    // Opening while disabled shows as activation at the enable.
    l.books->Close();
    l.link.log.clear();
    l.books->DisableControls();
    l.books->Open();
    EXPECT_TRUE(l.link.log.isEmpty());
    l.books->EnableControls();
    EXPECT_EQ(l.link.log.first(), QStringLiteral("active"));
}

TEST(DataLink, DisabledSourceDeactivatesItsLinks)
{
    Linked l(1);
    l.books->Open();
    l.source.SetEnabled(false);
    EXPECT_FALSE(l.link.Active());
    EXPECT_EQ(l.source.State(), dsInactive);
    l.source.SetEnabled(true);
    EXPECT_TRUE(l.link.Active());
    l.link.SetDataSource(nullptr);
    EXPECT_FALSE(l.link.Active());
    EXPECT_EQ(l.source.DataLinkCount(), 0);
}

TEST(DataLink, DestroyedSourceOrDatasetLeavesNoDanglingLinks)
{
    auto books = MakeBooks(2);
    RecordingLink link;
    {
        TDataSource source;
        source.SetDataSet(books.get());
        link.SetDataSource(&source);
        books->Open();
        EXPECT_TRUE(link.Active());
    }
    EXPECT_EQ(link.DataSource(), nullptr);
    EXPECT_FALSE(link.Active());
    TDataSource source;
    {
        auto other = MakeBooks(1);
        source.SetDataSet(other.get());
        other->Open();
        EXPECT_EQ(source.State(), dsBrowse);
    }
    EXPECT_EQ(source.DataSet(), nullptr);
    EXPECT_EQ(source.State(), dsInactive);
}

TEST(FieldDataLink, FollowsItsFieldAndWritesPendingChangesOnPost)
{
    auto books = MakeBooks(3);
    TDataSource source;
    source.SetDataSet(books.get());
    TFieldDataLink link;
    link.SetDataSource(&source);
    link.SetFieldName(QStringLiteral("TITLE"));
    QString shown;
    QString typed;
    link.OnDataChange = [&](TFieldDataLink* l) { shown = l->Field() ? l->Field()->AsString() : QString(); };
    link.OnUpdateData = [&](TFieldDataLink* l) { l->Field()->SetAsString(typed); };
    bool focused = false;
    link.OnFocusControl = [&](TFieldDataLink*) { focused = true; };
    EXPECT_EQ(link.Field(), nullptr);
    books->Open();
    ASSERT_NE(link.Field(), nullptr);
    EXPECT_EQ(shown, QStringLiteral("Book 1"));
    books->Next();
    EXPECT_EQ(shown, QStringLiteral("Book 2"));

    // The user types: AutoEdit puts the dataset into edit state.
    EXPECT_TRUE(link.Edit());
    EXPECT_EQ(books->State(), dsEdit);
    typed = QStringLiteral("Typed");
    link.Modified();
    books->Post();
    EXPECT_EQ(books->StoredRow(1)[1].toString(), QStringLiteral("Typed"));

    books->FieldByName(QStringLiteral("TITLE"))->FocusControl();
    EXPECT_TRUE(focused);
    source.SetAutoEdit(false);
    EXPECT_FALSE(link.Edit());
    books->FieldByName(QStringLiteral("TITLE"))->SetReadOnly(true);
    EXPECT_FALSE(link.CanModify());
    books->Close();
    EXPECT_EQ(link.Field(), nullptr);
}

TEST(FieldDataLink, ClosingWhileControlsAreDisabledStillReleasesTheField)
{
    auto books = MakeBooks(2);
    TDataSource source;
    source.SetDataSet(books.get());
    TFieldDataLink link;
    link.SetDataSource(&source);
    link.SetFieldName(QStringLiteral("TITLE"));
    books->Open();
    ASSERT_NE(link.Field(), nullptr);
    books->DisableControls();
    books->Close(); // the default fields are destroyed here
    EXPECT_EQ(link.Field(), nullptr);
    books->Open();
    books->EnableControls();
    ASSERT_NE(link.Field(), nullptr);
    EXPECT_EQ(link.Field()->AsString(), QStringLiteral("Book 1"));
}

TEST(FieldDataLink, RequiredFieldFocusesItsControlWhenPostRefuses)
{
    auto books = MakeBooks(1);
    TDataSource source;
    source.SetDataSet(books.get());
    TFieldDataLink link;
    link.SetDataSource(&source);
    link.SetFieldName(QStringLiteral("ID"));
    bool focused = false;
    link.OnFocusControl = [&](TFieldDataLink*) { focused = true; };
    books->Open();
    books->Append();
    EXPECT_EQ(ErrorText([&] { books->Post(); }), QStringLiteral("Feld 'ID' muss einen Wert haben"));
    EXPECT_TRUE(focused);
}
