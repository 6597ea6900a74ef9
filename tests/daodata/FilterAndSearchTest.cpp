#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "engine/DBEngine.h"
#include "engine/DaoError.h"
#include "engine/Database.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "tests/support/ErrorText.h"
#include "tests/support/InventoryTables.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using testsupport::TempFolder;

namespace {

using testsupport::errorText;

// An engine-made database with readers: ID, NR, Name (indexed), Seit; and a
// table of notes without any index.
struct Readers : ::testing::Test {
    TempFolder dir;
    TApplication app{std::make_unique<RecordingInteraction>()};
    TVoDaoDatabase db{"DB_Leser"};
    TVoDaoTable table{"TB_Leser"};

    Readers()
    {
        const QString path = dir.file("leser.mdb");
        {
            TVoDaoDatabase maker;
            auto core = maker.CoreDBEngine()->createDatabase(path.toStdString(), ";LANGID=0x0409;CP=1252;COUNTRY=0");
            core->execute("CREATE TABLE Leser (ID COUNTER PRIMARY KEY, NR LONG, Name TEXT(50), Seit DATETIME)");
            core->execute("CREATE INDEX NameIdx ON Leser (Name)");
            core->execute("CREATE TABLE Notiz (NR LONG, Text TEXT(50))");
            const char* rows[] = {"4711, 'Müller', #03/05/2024#", "12, 'MÜLLER', #01/02/2020#",
                                  "30, 'Mueller', #01/02/2021#",  "7, 'Starship', #07/01/2019#",
                                  "5, 'Star*Wars', #07/02/2019#", "4711, 'Schmidt', #11/11/2011#"};
            for (const char* row : rows)
                core->execute(std::string("INSERT INTO Leser (NR, Name, Seit) VALUES (") + row + ")");
            core->execute("INSERT INTO Notiz (NR, Text) VALUES (1, 'eins')");
            core->close();
        }
        db.ProgramFolder = dir.path();
        db.SetDatabase(path);
        db.SetConnected(true);
        table.SetDatabase(&db);
    }

    void openQuery()
    {
        table.SetSQL("SELECT * FROM Leser ORDER BY ID");
        table.Open();
    }

    int id() const { return table.FieldByName("ID")->AsInteger(); }
    QString name() const { return table.FieldByName("Name")->AsString(); }

    QStringList names()
    {
        QStringList out;
        for (table.First(); !table.Eof(); table.Next())
            out << name();
        return out;
    }
};

} // namespace

// --- Locate ---

TEST_F(Readers, LocateMovesToTheFirstRowWithTheNumberAndStaysWhenNothingMatches)
{
    openQuery();
    int scrolls = 0;
    table.AfterScroll = [&](TDataSet*) { ++scrolls; };
    table.Last();
    scrolls = 0;
    EXPECT_TRUE(table.Locate("NR", 4711, 0));
    EXPECT_EQ(id(), 1);
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_EQ(scrolls, 1);
    table.Next();
    EXPECT_FALSE(table.Locate("NR", 4712, 0));
    EXPECT_EQ(id(), 2) << "the current row stays";
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_TRUE(table.Locate("NR;Name", QVariantList{"4711", "Schmidt"}, 0));
    EXPECT_EQ(id(), 6);
    EXPECT_EQ(table.RecNo(), 6);
}

TEST_F(Readers, PartialCaseInsensitiveSearchMatchesUmlautsInEitherCase)
{
    openQuery();
    const TLocateOptions options = loCaseInsensitive | loPartialKey;
    EXPECT_EQ(table.SearchCondition("Name", "Mül", options), "([Name]  LIKE LCASE(\"Mül*\"))");
    table.Last();
    EXPECT_TRUE(table.Locate("Name", "Mül", options));
    EXPECT_EQ(name(), "Müller");
    EXPECT_TRUE(table.FindNext("Name", "Mül", options));
    EXPECT_EQ(name(), "MÜLLER");
    EXPECT_FALSE(table.FindNext("Name", "Mül", options)) << "Mueller does not start with Mül";
    EXPECT_EQ(name(), "MÜLLER");
}

TEST_F(Readers, AStarInAPartialKeyStandsForItself)
{
    openQuery();
    EXPECT_EQ(table.SearchCondition("Name", "Star*", loPartialKey), "([Name]  LIKE \"Star[*]*\")");
    EXPECT_TRUE(table.Locate("Name", "Star*", loPartialKey));
    EXPECT_EQ(name(), "Star*Wars") << "Starship comes first but has no star";
}

TEST_F(Readers, ConditionTextsForEachKindOfValue)
{
    openQuery();
    EXPECT_EQ(table.SearchCondition("Name", "[x]-?#!\"", loPartialKey), "([Name]  LIKE \"[[]x[]][-][?][#][!]\"\"*\")");
    EXPECT_EQ(table.SearchCondition("NR;Seit", QVariantList{QVariant(), QDateTime(QDate(2024, 3, 5), QTime(14, 5, 9))},
                                    0),
              "([NR] IS NULL) AND ([Seit]  = #03/05/2024 14:05:09#)");
    EXPECT_EQ(table.SearchCondition("Name", "Müller", loCaseInsensitive), "([Name]  = LCASE(\"Müller\"))");
    EXPECT_EQ(table.KeyCondition("Name", "Mül*"), "([Name]  = \"Mül*\")");
    table.UseBrackets = false;
    EXPECT_EQ(table.SearchCondition("NR", 2.5, 0), "(NR  = 2.5)");
    EXPECT_EQ(errorText([&] { table.SearchCondition("NR", "viele", 0); }), "Unable to build Lookup Key SQL!");
    EXPECT_EQ(errorText([&] { table.KeyCondition("NR", "viele"); }), "Unable to build Key SQL!");
}

TEST_F(Readers, TableTypeLocateSeeksOnAFittingIndex)
{
    table.SetTableName("Leser");
    table.SetTableType(1);
    table.Open();
    ASSERT_FALSE(table.IndexDefs().isEmpty());
    EXPECT_TRUE(table.Locate("Name", "Schmidt", 0));
    EXPECT_EQ(id(), 6);
    EXPECT_TRUE(table.Locate("Name", "mue", loPartialKey | loCaseInsensitive));
    EXPECT_EQ(name(), "Mueller");
    EXPECT_EQ(table.RecNo(), 3) << "the row number is counted on the table";
    EXPECT_FALSE(table.Locate("Name", "Mz", loPartialKey)) << "the next name after Mz is no hit";
    EXPECT_FALSE(table.Locate("Name", "Zz", loPartialKey));
    EXPECT_EQ(name(), "Mueller");
    EXPECT_TRUE(table.Locate("ID", 5, 0)) << "the primary key serves the ID";
    EXPECT_EQ(name(), "Star*Wars");
    EXPECT_EQ(table.Lookup("Name", "Starship", "NR").toInt(), 7);
    EXPECT_EQ(name(), "Star*Wars");
}

TEST_F(Readers, TableTypeRowNumberFollowsAJumpToABookmark)
{
    table.SetTableName("Leser");
    table.SetTableType(1);
    table.SetIndexName("NameIdx");
    table.Open();
    table.MoveBy(4);
    const TBookmark fifth = table.GetBookmark();
    const QString name5 = name();
    table.First();
    table.GotoBookmark(fifth);
    EXPECT_EQ(name(), name5);
    EXPECT_EQ(table.RecNo(), 5);
    table.Next();
    EXPECT_EQ(table.RecNo(), 6);
}

TEST_F(Readers, TableTypeWithoutAnIndexRefusesLocate)
{
    table.SetTableName("Notiz");
    table.SetTableType(1);
    table.AutoFindIndex = false;
    table.Open();
    EXPECT_EQ(errorText([&] { table.Locate("NR", 1, 0); }),
              "Index Property is Empty!\r\nYou must set an index before using Locate with StandardTables");
    table.AutoFindIndex = true;
    EXPECT_EQ(errorText([&] { table.Locate("NR", 1, 0); }),
              "Index Property is Empty!\r\nYou must set an index before using Locate with StandardTables");
}

TEST_F(Readers, ForwardOnlyRecordsetsAreWalked)
{
    table.SetTableType(8);
    openQuery();
    table.Next();
    EXPECT_FALSE(table.Locate("Name", "*xyz*", loPartialKey));
    EXPECT_EQ(id(), 2) << "the cursor returns to its row";
    table.Next();
    EXPECT_EQ(id(), 3);
    EXPECT_TRUE(table.Locate("Name", "ÜLL", loPartialKey | loCaseInsensitive));
    EXPECT_EQ(name(), "Müller") << "the key may stand anywhere in the value";
    table.Next();
    EXPECT_EQ(name(), "MÜLLER");
    EXPECT_FALSE(table.FindFirst("NR", 12, 0)) << "finds need bookmarks";
}

// --- index settings ---

TEST_F(Readers, IndexNameOrdersATableAndTellsItsFields)
{
    table.SetTableName("Leser");
    EXPECT_EQ(errorText([&] { table.SetIndexName("NameIdx"); }),
              "TVoDaoTable.F_Set_IndexName: Indexes can be set only on Standard Tables!");
    table.SetIndexName(QString());
    table.SetTableType(1);
    table.SetIndexName("NameIdx");
    EXPECT_EQ(errorText([&] { table.IndexFields(0); }),
              "TVoDaoTable.F_Get_IndexField: Cannot get IndexField while Table is NOT active!");
    table.Open();
    EXPECT_EQ(names(), (QStringList{"Mueller", "Müller", "MÜLLER", "Schmidt", "Star*Wars", "Starship"}));
    EXPECT_EQ(table.IndexFieldCount(), 1);
    EXPECT_EQ(table.IndexFields(0)->FieldName(), "Name");
    table.SetIndexName(QString());
    EXPECT_EQ(names().first(), "Müller") << "back in the table's own order";
    table.SetIndexName("NameIdx");
    EXPECT_EQ(name(), "Mueller") << "setting the index moves to the first row";
    table.SetSortedBy("[NR] ASC");
    EXPECT_TRUE(table.IndexName().isEmpty());
    table.Close();
    table.SetIndexName("NameIdx");
    EXPECT_TRUE(table.SortedBy().isEmpty());
}

// --- find and the last search ---

TEST_F(Readers, FindOperationsKeepTheLastSearchForTheGenericFind)
{
    openQuery();
    EXPECT_FALSE(table.FindNext()) << "no search yet";
    EXPECT_TRUE(table.FindLast("NR", 4711, 0));
    EXPECT_EQ(id(), 6);
    EXPECT_TRUE(table.FindPrior());
    EXPECT_EQ(id(), 1);
    EXPECT_FALSE(table.FindPrior());
    EXPECT_EQ(id(), 1);
    EXPECT_TRUE(table.FindNext());
    EXPECT_EQ(id(), 6);
    EXPECT_TRUE(table.FindFirst());
    EXPECT_EQ(id(), 1);
    EXPECT_EQ(errorText([&] { table.FindFirst("NR", QVariantList{1, 2}, 0); }),
              "Number of elements in the KeyValues array must be equal to the number of fields.");
    EXPECT_FALSE(errorText([&] { table.FindFirst("Nope", 1, 0); }).isEmpty()) << "key fields must exist";
}

// --- Lookup ---

TEST_F(Readers, LookupGivesValuesWithoutMovingAndRefusesBadArguments)
{
    openQuery();
    table.Next();
    EXPECT_EQ(table.Lookup("NR", 12, "Name").toString(), "MÜLLER");
    EXPECT_EQ(table.Lookup("NR;Name", QVariantList{4711, "Schmidt"}, "ID;Seit"),
              (QVariantList{6, QDateTime(QDate(2011, 11, 11), QTime(0, 0))}));
    EXPECT_FALSE(table.Lookup("NR", 99, "Name").isValid());
    EXPECT_EQ(id(), 2) << "the current row does not move";
    EXPECT_EQ(table.RecNo(), 2);
    table.Next();
    EXPECT_EQ(id(), 3) << "the cursor goes on from its row";

    EXPECT_EQ(errorText([&] { table.Lookup("NR", 12, QString()); }), "ResultFields are not defined");
    EXPECT_EQ(errorText([&] { table.Lookup("NR", 12, "Name;Nope"); }), "Invalid field name: Nope");
    EXPECT_EQ(errorText([&] { table.Lookup("NR;Name", 12, "ID"); }),
              "Number of elements in the KeyValues array must be equal to the number of fields.");
    EXPECT_EQ(errorText([&] { table.Locate("NR;Name", 12, 0); }),
              "Number of elements in the KeyValues array must be equal to the number of fields.");
}

// --- Filter and Filtered ---

TEST_F(Readers, FilterReachesTheEngineAtEachReopen)
{
    openQuery();
    int opens = 0, scrolls = 0;
    table.AfterOpen = [&](TDataSet*) { ++opens; };
    table.AfterScroll = [&](TDataSet*) { ++scrolls; };
    table.SetFiltered(true);
    EXPECT_EQ(scrolls, 1) << "nothing to filter: only reopened";
    EXPECT_EQ(table.RecordCount(), 6);
    table.SetFilter("[NR] > 20");
    EXPECT_EQ(names(), (QStringList{"Müller", "Mueller", "Schmidt"}));
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(opens, 0) << "no open events for a reopen in place";
    table.Close();
    table.SetFiltered(true);
    table.Open();
    EXPECT_EQ(table.RecordCount(), 3) << "applied at open";
}

TEST_F(Readers, AnInvalidFilterRaisesTheEngineErrorAndTheDatasetGoesOn)
{
    openQuery();
    table.Next();
    table.SetFilter("[NR] = = 3");
    try {
        table.SetFiltered(true);
        FAIL() << "the engine accepted a broken filter";
    } catch (const dao::DaoError& e) {
        EXPECT_GT(e.number(), 0);
    }
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(names().size(), 6);
    EXPECT_THROW(table.SetFilter("Unbekannt = 1"), dao::DaoError);
    table.SetFiltered(false);
    EXPECT_EQ(table.RecordCount(), 6);
    table.SetFilter("[Name] LIKE \"S*\"");
    table.SetFiltered(true);
    EXPECT_EQ(names(), (QStringList{"Starship", "Star*Wars", "Schmidt"}));
}

TEST_F(Readers, OnFilterRecordSkipsRowsInBothDirectionsAndCountsByWalking)
{
    openQuery();
    table.SetOnFilterRecord([](TDataSet* ds, bool& accept) { accept = ds->FieldByName("NR")->AsInteger() != 4711; });
    EXPECT_EQ(names().size(), 6) << "the event waits for Filtered";
    table.SetFiltered(true);
    EXPECT_EQ(names(), (QStringList{"MÜLLER", "Mueller", "Starship", "Star*Wars"}));
    EXPECT_EQ(table.RecordCount(), 4);
    table.Last();
    EXPECT_EQ(name(), "Star*Wars");
    EXPECT_EQ(table.RecNo(), 4);
    QStringList backwards;
    for (table.Last(); !table.Bof(); table.Prior())
        backwards << name();
    EXPECT_EQ(backwards, (QStringList{"Star*Wars", "Starship", "Mueller", "MÜLLER"}));
    EXPECT_FALSE(table.Locate("NR", 30, 0)) << "searches stay out while the event is in use";
    EXPECT_FALSE(table.Lookup("NR", 30, "Name").isValid());
    table.SetFilter("[NR] < 10");
    EXPECT_EQ(names(), (QStringList{"Starship", "Star*Wars"})) << "filter text and event together";
    table.SetFiltered(false);
    EXPECT_EQ(table.RecordCount(), 6);
}

// --- the genuine Access files ---

namespace {

struct AccessFiles : ::testing::Test {
    TempFolder dir;
    TApplication app{std::make_unique<RecordingInteraction>()};
    TVoDaoDatabase db{"DB_Veltrano"};
    TVoDaoTable table{"TB_Veltrano"};

    void connect(const QString& fixture)
    {
        db.ProgramFolder = dir.path();
        db.SetVersion("3.6");
        db.SetDatabase(dir.copyFixture(fixture));
        db.SetConnected(true);
        table.SetDatabase(&db);
        table.SetReadOnly(true);
    }
};

} // namespace

TEST_F(AccessFiles, CatalogueSearchesByAuthorAndTitle)
{
    connect("catalogue/veltrano.mdb");
    table.SetSQL("SELECT * FROM TITEL ORDER BY Buchungsnummer");
    table.Open();
    const TLocateOptions options = loCaseInsensitive | loPartialKey;
    EXPECT_TRUE(table.FindFirst("HAUPTEINTRAG", "Mül", options));
    EXPECT_EQ(table.FieldByName("Buchungsnummer")->AsInteger(), 102);
    EXPECT_EQ(table.FieldByName("HAUPTEINTRAG")->AsString(), "Müller, Hans");
    EXPECT_TRUE(table.FindNext());
    EXPECT_EQ(table.FieldByName("HAUPTEINTRAG")->AsString(), "MÜLLER");
    EXPECT_FALSE(table.FindNext());
    EXPECT_TRUE(table.Locate("HAUPTTITEL", "Sterne *", loPartialKey));
    EXPECT_EQ(table.FieldByName("Buchungsnummer")->AsInteger(), 120);
    EXPECT_FALSE(table.Locate("HAUPTTITEL", "Ster*", loPartialKey)) << "no title starts with Ster and a star";
    EXPECT_TRUE(table.Locate("HAUPTTITEL", "Arrays [Index]", loPartialKey));
    EXPECT_EQ(table.FieldByName("Buchungsnummer")->AsInteger(), 123);
    EXPECT_EQ(table.Lookup("Buchungsnummer", 124, "HAUPTTITEL").toString(), "Das \"Zitat\" im Titel");
    EXPECT_EQ(table.Lookup("HAUPTTITEL", "Das \"Zitat\" im Titel", "Buchungsnummer").toInt(), 124);
    EXPECT_EQ(table.FieldByName("Buchungsnummer")->AsInteger(), 123);
}

TEST_F(AccessFiles, CatalogueTableSeeksCopiesByTheirIndex)
{
    connect("catalogue/veltrano.mdb");
    table.SetTableName("EXEMPLAR");
    table.SetTableType(1);
    table.Open();
    EXPECT_TRUE(table.Locate("EXEMPLARNUMMER", 2004, 0));
    EXPECT_EQ(table.FieldByName("TITEL")->AsInteger(), 109);
    EXPECT_FALSE(table.Locate("EXEMPLARNUMMER", 4713, 0));
    EXPECT_EQ(table.FieldByName("EXEMPLARNUMMER")->AsInteger(), 2004);
}

TEST_F(AccessFiles, InventoryLocateOfABookNumber)
{
    connect("inventory/db_inv-sample.mdb");
    table.SetSQL("SELECT * FROM inventur ORDER BY IDX");
    table.Open();
    table.Last();
    EXPECT_TRUE(table.Locate("NR", 4711, 0));
    EXPECT_EQ(table.FieldByName("IDX")->AsInteger(), 1);
    table.Next();
    EXPECT_FALSE(table.Locate("NR", 4712, 0));
    EXPECT_EQ(table.FieldByName("IDX")->AsInteger(), 2) << "the current row stays";
}
