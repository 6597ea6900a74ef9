// The program's inventory link (inventory::LinkInventoryDatasets): the entries follow
// the current list, in number order.
#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "engine/Database.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "stocktaking/InventoryLink.h"
#include "tests/support/InventoryTables.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using testsupport::TempFolder;

namespace {

// TB_INV follows TB_Master by IDX, sorted by NR: lists 1 to 7, entries 30, 10, 20 in list 1
// and 4711 in list 7.
struct Link : ::testing::Test {
    TempFolder dir;
    TApplication app{std::make_unique<RecordingInteraction>()};
    TVoDaoDatabase db{"DB_INV"};
    TVoDaoTable master{"TB_Master"};
    TVoDaoTable entries{"TB_INV"};
    TDataSource DS_Master;

    Link()
    {
        testsupport::createInventoryTables(dir.file("db_inv.mdb"));
        db.ProgramFolder = dir.path();
        db.SetDatabase(dir.file("db_inv.mdb"));
        db.SetConnected(true);
        auto core = db.CoreDatabase();
        for (int list = 1; list <= 7; ++list)
            core->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Liste " + std::to_string(list) + "')");
        for (int nr : {30, 10, 20})
            core->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (" + std::to_string(nr) + ", 1)");
        core->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (4711, 7)");
        inventory::LinkInventoryDatasets(db, master, DS_Master, entries);
    }

    QList<int> numbers()
    {
        QList<int> out;
        for (entries.First(); !entries.Eof(); entries.Next())
            out << entries.FieldByName("NR")->AsInteger();
        return out;
    }
};

} // namespace

TEST_F(Link, TheDetailFollowsTheMasterRowByRowInNumberOrder)
{
    entries.Open();
    master.Open();
    EXPECT_EQ(numbers(), (QList<int>{10, 20, 30}));
    EXPECT_EQ(entries.RecordCount(), 3);
    EXPECT_EQ(entries.DetailCondition(), "([Inventurliste]  = 1)");
    master.Next();
    EXPECT_TRUE(numbers().isEmpty());
    master.Last();
    EXPECT_EQ(master.FieldByName("IDX")->AsInteger(), 7);
    EXPECT_EQ(numbers(), QList<int>{4711});
    EXPECT_EQ(entries.DetailCondition(), "([Inventurliste]  = 7)");
}

TEST_F(Link, NewDetailRowsReceiveTheMasterKeyBeforeTheNewRecordEvent)
{
    entries.Open();
    master.Open();
    master.Last();
    int seen = -1;
    entries.OnNewRecord = [&](TDataSet* ds) { seen = ds->FieldByName("Inventurliste")->AsInteger(); };
    entries.Append();
    EXPECT_EQ(seen, 7);
    entries.FieldByName("NR")->SetAsInteger(8);
    entries.Post();
    EXPECT_EQ(numbers(), (QList<int>{4711, 8})) << "added rows come last until the detail is reopened";
    master.Prior();
    master.Next();
    EXPECT_EQ(numbers(), (QList<int>{8, 4711}));
}

TEST_F(Link, ClosingTheMasterMarksTheLinkInactiveAndReopeningRestrictsAgain)
{
    master.Open();
    entries.Open();
    EXPECT_FALSE(entries.MasterLinkInactive());
    master.Close();
    EXPECT_TRUE(entries.Active());
    EXPECT_TRUE(entries.MasterLinkInactive());
    master.Open();
    EXPECT_FALSE(entries.MasterLinkInactive());
    EXPECT_EQ(numbers(), (QList<int>{10, 20, 30}));
}

TEST_F(Link, OpeningTheDetailOpensItsMaster)
{
    entries.Open();
    EXPECT_TRUE(master.Active());
    EXPECT_EQ(numbers(), (QList<int>{10, 20, 30}));
}

TEST_F(Link, MasterFieldsInBothFormsAndTheIgnoredLine)
{
    TVoDaoTable t;
    t.SetMasterFields("A;B");
    EXPECT_EQ(t.DetailFieldList(), (QStringList{"A", "B"}));
    EXPECT_EQ(t.MasterFieldList(), (QStringList{"A", "B"}));
    t.SetMasterFields(QStringList{"Inventurliste -> IDX", "A - > B"});
    EXPECT_EQ(t.DetailFieldList(), QStringList{"Inventurliste"});
    EXPECT_EQ(t.MasterFieldList(), QStringList{"IDX"});
    t.SetSortedBy(QStringList{"[A] ASC", "[B] DESC"});
    EXPECT_EQ(t.SortText(), "[A] ASC, [B] DESC ");
}

TEST_F(Link, KeysThatAreNullOrTextWithAQuote)
{
    db.CoreDatabase()->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Das \"Zitat\"')");
    db.CoreDatabase()->execute("INSERT INTO inventurliste (Bezeichnung) VALUES (Null)");
    TVoDaoTable detail;
    detail.SetDatabase(&db);
    detail.SetSQL("SELECT * FROM inventurliste");
    detail.SetMasterSource(&DS_Master);
    detail.SetMasterFields("Bezeichnung -> Bezeichnung");
    master.Open();
    master.Last();
    detail.Open();
    EXPECT_EQ(detail.DetailCondition(), "([Bezeichnung] IS NULL)");
    master.Prior();
    EXPECT_EQ(detail.DetailCondition(), "([Bezeichnung]  = \"Das \"\"Zitat\"\"\")");
    EXPECT_EQ(detail.RecordCount(), 1);
}

TEST_F(Link, ACircularLinkIsRefused)
{
    TDataSource DS_INV;
    DS_INV.SetDataSet(&entries);
    try {
        master.SetMasterSource(&DS_INV);
        FAIL() << "master following its own detail";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Circular links not allowed!");
    }
}

TEST_F(Link, TheDetailFilterJoinsTheMasterCondition)
{
    db.CoreDatabase()->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (40, 2)");
    entries.SetFilter("[NR] > 15");
    entries.SetFiltered(true);
    entries.Open();
    EXPECT_EQ(numbers(), (QList<int>{20, 30}));
    EXPECT_TRUE(entries.Locate("NR", 30, 0));
    EXPECT_FALSE(entries.Locate("NR", 10, 0)) << "filtered out";
    EXPECT_FALSE(entries.Locate("NR", 40, 0)) << "another list";
    master.Next();
    EXPECT_EQ(entries.FieldByName("NR")->AsInteger(), 40);
    EXPECT_TRUE(entries.Locate("NR", 40, 0)) << "searches follow the master's row";
    EXPECT_FALSE(entries.Locate("NR", 30, 0));
    EXPECT_EQ(entries.Lookup("NR", 40, "Inventurliste").toInt(), 2);
    EXPECT_FALSE(entries.Lookup("NR", 20, "Inventurliste").isValid());
}
