#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "engine/Database.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "tests/support/EngineRows.h"
#include "tests/support/InventoryTables.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using testsupport::TempFolder;

namespace {

// The inventory database with the program's datasets on it.
struct Inventory : ::testing::Test {
    TempFolder dir;
    TApplication app{std::make_unique<RecordingInteraction>()};
    TVoDaoDatabase db{"DB_INV"};
    TVoDaoTable master{"TB_Master"};
    TVoDaoTable entries{"TB_INV"};

    Inventory()
    {
        testsupport::createInventoryTables(dir.file("db_inv.mdb"));
        db.ProgramFolder = dir.path();
        db.SetVersion("3.6");
        db.SetDatabase(dir.file("db_inv.mdb"));
        db.SetConnected(true);
        master.SetDatabase(&db);
        master.SetSQL("SELECT * FROM inventurliste");
        entries.SetDatabase(&db);
        entries.SetSQL(QStringList{"SELECT *", "FROM  inventur"});
    }

    QJsonArray rows(const QString& sql) { return testsupport::queryRows(dir.file("db_inv.mdb"), sql); }
};

} // namespace

TEST_F(Inventory, AppendPostGivesTheNewIdAndCountsWithoutARecount)
{
    master.Open();
    EXPECT_TRUE(master.IsEmpty());
    EXPECT_EQ(master.FieldByName("IDX")->DataType(), ftAutoInc);
    EXPECT_TRUE(master.FieldByName("IDX")->ReadOnly());
    EXPECT_EQ(master.FieldByName("Bezeichnung")->Size(), 50);
    EXPECT_EQ(master.RecordCount(), 0);

    master.Append();
    master.FieldByName("Bezeichnung")->SetAsString(QStringLiteral("Inventur vom: 06.12.2026"));
    master.Post();
    EXPECT_EQ(master.RecordCount(), 1);
    EXPECT_EQ(master.FieldByName("IDX")->AsInteger(), 1) << "the engine's auto-increment value is read back";
    EXPECT_EQ(master.FieldByName("Bezeichnung")->AsString(), QStringLiteral("Inventur vom: 06.12.2026"));

    master.Append();
    master.FieldByName("Bezeichnung")->SetAsString("zweite");
    master.Post();
    EXPECT_EQ(master.RecordCount(), 2);
    EXPECT_EQ(master.FieldByName("IDX")->AsInteger(), 2);
    EXPECT_EQ(rows("SELECT IDX, Bezeichnung FROM inventurliste ORDER BY IDX"),
              (QJsonArray{QJsonArray{1, QStringLiteral("Inventur vom: 06.12.2026")}, QJsonArray{2, "zweite"}}))
        << "posted rows are in the file at once";
}

TEST_F(Inventory, EditPostAndCancelChangeOnlyWhatWasPosted)
{
    master.Open();
    for (const char* name : {"a", "b", "c"}) {
        master.Append();
        master.FieldByName("Bezeichnung")->SetAsString(name);
        master.Post();
    }
    master.First();
    master.Next();
    master.Edit();
    master.FieldByName("Bezeichnung")->SetAsString("B");
    master.Post();
    master.Last();
    master.Edit();
    master.FieldByName("Bezeichnung")->SetAsString("nicht");
    master.Cancel();
    EXPECT_EQ(master.FieldByName("Bezeichnung")->AsString(), "c");
    EXPECT_EQ(rows("SELECT Bezeichnung FROM inventurliste ORDER BY IDX"), (QJsonArray{QJsonArray{"a"}, QJsonArray{"B"}, QJsonArray{"c"}}));
}

TEST_F(Inventory, DeletingTheLastRowMovesToTheNewLastRow)
{
    entries.Open();
    for (int nr : {4711, 1, 2}) {
        entries.Append();
        entries.FieldByName("NR")->SetAsInteger(nr);
        entries.FieldByName("Inventurliste")->SetAsInteger(1);
        entries.Post();
    }
    entries.Last();
    EXPECT_EQ(entries.FieldByName("NR")->AsInteger(), 2);
    entries.Delete();
    EXPECT_EQ(entries.FieldByName("NR")->AsInteger(), 1);
    EXPECT_EQ(entries.RecordCount(), 2);
    entries.First();
    entries.Delete();
    EXPECT_EQ(entries.FieldByName("NR")->AsInteger(), 1);
    EXPECT_EQ(rows("SELECT NR FROM inventur ORDER BY IDX"), (QJsonArray{QJsonArray{1}}));

    entries.Delete();
    EXPECT_TRUE(entries.IsEmpty());
    try {
        entries.Delete();
        FAIL() << "deleting on an empty dataset must be refused";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("TB_INV: Operation bei leerer Datenmenge nicht ausführbar"));
    }
}

TEST_F(Inventory, ARowDeletedMeanwhileIsSwallowedOnDelete)
{
    entries.Open();
    entries.Append();
    entries.FieldByName("NR")->SetAsInteger(8);
    entries.Post();
    db.CoreDatabase()->execute("DELETE FROM inventur");
    EXPECT_NO_THROW(entries.Delete()) << "error 3167 is swallowed and the dataset re-read";
}

TEST_F(Inventory, ReadOnlyCountDatasetRefusesChanges)
{
    TVoDaoTable count{"TB_INV_COUNT"};
    count.SetDatabase(&db);
    count.SetReadOnly(true);
    count.SetSQL(" SELECT NR FROM inventur WHERE NR = 4711 AND inventur.inventurliste =3");
    count.Open();
    EXPECT_EQ(count.RecordCount(), 0);
    EXPECT_THROW(count.Append(), EDatabaseError);
    count.Close();

    entries.Open();
    entries.Append();
    entries.FieldByName("NR")->SetAsInteger(4711);
    entries.FieldByName("Inventurliste")->SetAsInteger(3);
    entries.Post();
    count.Open();
    EXPECT_EQ(count.RecordCount(), 1);
}

TEST_F(Inventory, TableTypeDatasetsReadAndAppend)
{
    TVoDaoTable table{"TB_Table"};
    table.SetDatabase(&db);
    table.SetTableName("inventur");
    table.SetTableType(1);
    table.Open();
    for (int nr : {5, 6}) {
        table.Append();
        table.FieldByName("NR")->SetAsInteger(nr);
        table.Post();
    }
    table.First();
    EXPECT_EQ(table.FieldByName("NR")->AsInteger(), 5);
    table.Next();
    EXPECT_EQ(table.FieldByName("NR")->AsInteger(), 6);
    EXPECT_EQ(table.RecordCount(), 2);
}

TEST_F(Inventory, ARefusedPostKeepsTheInsertStateAndWritesNothing)
{
    db.CoreDatabase()->execute("CREATE TABLE pflicht (IDX COUNTER PRIMARY KEY, Name TEXT(5) NOT NULL)");
    db.CoreDatabase()->execute("CREATE UNIQUE INDEX EinName ON pflicht (Name)");
    TVoDaoTable t{"TB_Pflicht"};
    t.SetDatabase(&db);
    t.SetSQL("SELECT * FROM pflicht");
    t.Open();
    EXPECT_TRUE(t.FieldByName("Name")->Required());
    t.Append();
    EXPECT_THROW(t.Post(), std::exception) << "a required field left empty";
    EXPECT_EQ(t.State(), dsInsert);
    t.FieldByName("Name")->SetAsString("ok");
    t.Post();
    EXPECT_EQ(t.State(), dsBrowse);
    EXPECT_EQ(rows("SELECT Name FROM pflicht"), QJsonArray{QJsonArray{"ok"}});

    int errors = 0;
    t.OnPostError = [&](TDataSet*, const std::exception&, TDataAction& action) {
        ++errors;
        action = daAbort;
    };
    t.Append();
    t.FieldByName("Name")->SetAsString("ok"); // the engine refuses a second "ok"
    EXPECT_THROW(t.Post(), EAbort);           // the silent exception: no message is shown
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(t.State(), dsInsert);
    EXPECT_EQ(rows("SELECT Name FROM pflicht"), QJsonArray{QJsonArray{"ok"}});
    t.OnPostError = nullptr;
    EXPECT_THROW(t.Post(), std::exception);
    EXPECT_EQ(t.State(), dsInsert);
    t.Cancel();
    EXPECT_EQ(t.RecordCount(), 1);
}

TEST_F(Inventory, OpenOptionsAddUpAsDaoValues)
{
    TVoDaoTable t;
    t.OpenOptions = dbDenyWriteOpt | dbForwardOnlyOpt;
    EXPECT_EQ(t.OpenOptionsValue(), 257);
    t.SetDatabase(&db);
    t.SetTableType(8);
    t.SetSQL("SELECT * FROM inventurliste");
    t.Open();
    EXPECT_TRUE(t.ReadOnly()) << "forward-only makes the dataset read-only";
    EXPECT_EQ(t.RecordCount(), -1);
    EXPECT_EQ(t.RecNo(), -1);
}
