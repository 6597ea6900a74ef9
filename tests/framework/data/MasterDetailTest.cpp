// The master link: a detail dataset follows its master's row.
#include "DataTestSupport.h"

#include "framework/data/TMasterDataLink.h"

#include <gtest/gtest.h>

namespace {

// Inventory lists (master) and a detail that records what its master link tells it.
struct MasterDetail {
    TMemoryDataSet lists;
    TDataSource listSource;
    TMemoryDataSet entries;
    TMasterDataLink link{&entries};
    QStringList log;

    MasterDetail()
    {
        lists.SetName(QStringLiteral("TB_Master"));
        lists.AddColumn(QStringLiteral("IDX"), ftInteger);
        lists.AddColumn(QStringLiteral("NAME"), ftString, 20);
        for (int i = 1; i <= 3; ++i)
            lists.AddRow({i * 7, QStringLiteral("List %1").arg(i)});
        listSource.SetDataSet(&lists);
        entries.SetName(QStringLiteral("TB_INV"));
        entries.AddColumn(QStringLiteral("NR"), ftInteger);
        entries.AddColumn(QStringLiteral("Inventurliste"), ftInteger);
        entries.SetMasterSource(&listSource);
        link.SetFieldNames(QStringLiteral("IDX"));
        link.OnMasterChange = [this](TMasterDataLink* l) {
            log << QStringLiteral("change:%1").arg(l->Fields().front()->AsInteger());
        };
        link.OnMasterDisable = [this](TMasterDataLink*) { log << QStringLiteral("disable"); };
        link.SetMasterSource(&listSource);
    }
};

} // namespace

TEST(MasterLink, DetailHearsEachMasterRowAndTheMasterClosing)
{
    MasterDetail md;
    md.entries.Open();
    md.lists.Open();
    md.lists.Next();
    md.lists.Last();
    ASSERT_EQ(md.link.Fields().size(), 1u);
    EXPECT_EQ(md.link.Fields().front()->FieldName(), QStringLiteral("IDX"));
    md.lists.Close();
    EXPECT_EQ(md.log, QStringList({"change:7", "change:14", "change:21", "disable"}));
    EXPECT_TRUE(md.link.Fields().empty());
    EXPECT_EQ(md.link.DetailDataSet(), &md.entries);
}

TEST(MasterLink, EditsOfWatchedFieldsOnlyAreReported)
{
    MasterDetail md;
    md.entries.Open();
    md.lists.Open();
    md.log.clear();
    md.lists.Edit();
    EXPECT_EQ(md.log, QStringList({"change:7"})); // entering edit state changes the record as a whole
    md.log.clear();
    md.lists.FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("renamed"));
    EXPECT_TRUE(md.log.isEmpty());
    md.lists.FieldByName(QStringLiteral("IDX"))->SetAsInteger(8);
    EXPECT_EQ(md.log, QStringList({"change:8"}));
    md.lists.Cancel();
}

TEST(MasterLink, ClosedDetailIsNotToldAndUnknownMasterFieldsRefuse)
{
    MasterDetail md;
    md.lists.Open();
    md.lists.Next();
    EXPECT_TRUE(md.log.isEmpty());
    EXPECT_EQ(ErrorText([&] { md.link.SetFieldNames(QStringLiteral("IDX;NOPE")); }),
              QStringLiteral("TB_Master: Feld 'NOPE' nicht gefunden"));
}

TEST(MasterLink, MasterLeavingItsRecordPostsThePendingDetailEdit)
{
    MasterDetail md;
    md.entries.AddRow({1, 7});
    md.entries.Open();
    md.lists.Open();
    md.entries.Edit();
    md.entries.FieldByName(QStringLiteral("NR"))->SetAsInteger(2);
    md.lists.Next();
    EXPECT_EQ(md.entries.State(), dsBrowse);
    EXPECT_EQ(md.entries.StoredRow(0)[0].toInt(), 2);
}

TEST(MasterLink, CircularLinksAreRefused)
{
    MasterDetail md; // entries follow lists
    TDataSource entrySource;
    entrySource.SetDataSet(&md.entries);
    EXPECT_TRUE(md.lists.IsLinkedTo(&entrySource)); // lists following entries would close a circle
    EXPECT_FALSE(md.entries.IsLinkedTo(&md.listSource)); // the existing link is fine
    EXPECT_EQ(ErrorText([&] { md.lists.CheckCircularLink(&entrySource); }),
              QStringLiteral("TB_Master: Zirkuläre Datenverknüpfungen sind nicht erlaubt"));

    // Three datasets: shelves follow entries, which follow lists; lists may not follow shelves.
    TMemoryDataSet shelves;
    shelves.SetMasterSource(&entrySource);
    TDataSource shelfSource;
    shelfSource.SetDataSet(&shelves);
    EXPECT_TRUE(md.lists.IsLinkedTo(&shelfSource));
    EXPECT_FALSE(shelves.IsLinkedTo(&md.listSource));

    // A source cannot show a dataset that already follows it.
    TDataSource selfSource;
    md.entries.SetMasterSource(&selfSource);
    EXPECT_EQ(ErrorText([&] { selfSource.SetDataSet(&md.entries); }),
              QStringLiteral("Zirkuläre Datenverknüpfungen sind nicht erlaubt"));
    EXPECT_EQ(selfSource.DataSet(), nullptr);
    md.entries.SetMasterSource(&md.listSource);
}

TEST(MasterLink, MasterSourceOfItsOwnDetailIsRefused)
{
    MasterDetail md;
    TDataSource entrySource;
    entrySource.SetDataSet(&md.entries);
    TMasterDataLink listsFollowEntries(&md.lists);
    // entries follow lists; lists following entries would be circular.
    EXPECT_EQ(ErrorText([&] { listsFollowEntries.SetMasterSource(&entrySource); }),
              QStringLiteral("TB_Master: Zirkuläre Datenverknüpfungen sind nicht erlaubt"));
    EXPECT_EQ(listsFollowEntries.DataSource(), nullptr);
}
