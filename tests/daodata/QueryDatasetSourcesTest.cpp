#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "engine/Database.h"
#include "engine/QueryDef.h"
#include "framework/data/TField.h"
#include "framework/data/TStringField.h"
#include "framework/data/ValueText.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "tests/support/EngineRows.h"
#include "tests/support/ErrorText.h"
#include "tests/support/InventoryTables.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using testsupport::TempFolder;

namespace {

// The inventory database with two lists and a few entries, and a saved
// query of the entries of one list.
struct Sources : ::testing::Test {
    TempFolder dir;
    TApplication app{std::make_unique<RecordingInteraction>()};
    TVoDaoDatabase db{"DB_INV"};
    TVoDaoTable table{"TB_INV"};

    Sources()
    {
        testsupport::createInventoryTables(dir.file("db_inv.mdb"));
        db.ProgramFolder = dir.path();
        db.SetVersion("3.6");
        db.SetDatabase(dir.file("db_inv.mdb"));
        db.SetConnected(true);
        for (const char* row : {"(4711, 1)", "(1, 1)", "(2, 2)", "(3, 2)", "(5, 2)"})
            exec(QString("INSERT INTO inventur (NR, Inventurliste) VALUES ") + row);
        db.CoreDatabase()->createQueryDef(
            "EintraegeDerListe",
            "PARAMETERS [Liste] Long, [Ab] Long; SELECT NR FROM inventur WHERE Inventurliste = [Liste] AND NR >= [Ab] "
            "ORDER BY NR");
        table.SetDatabase(&db);
    }

    void exec(const QString& sql) { db.CoreDatabase()->execute(sql.toStdString()); }
    QList<int> numbers()
    {
        QList<int> result;
        for (table.First(); !table.Eof(); table.Next())
            result << table.FieldByName("NR")->AsInteger();
        return result;
    }
};

using testsupport::errorText;

} // namespace

TEST_F(Sources, ParametersOfTheSqlTextAreSubstitutedAtOpen)
{
    table.SetSQL("SELECT NR FROM inventur WHERE Inventurliste = :Liste AND NR > :Ab ORDER BY NR");
    ASSERT_EQ(table.Params.Count(), 2);
    table.Params.ParamByName("Liste").SetAsInteger(2);
    table.Params.ParamByName("Ab").SetAsInteger(2);
    table.Open();
    EXPECT_EQ(numbers(), (QList<int>{3, 5}));
    table.Close();

    table.Params.ParamByName("Ab").Clear(); // null: " IS NULL" takes the place of the comparison
    table.SetSQL("SELECT NR FROM inventur WHERE Inventurliste = :Liste AND NR = :Ab OR :Ab ORDER BY NR");
    table.Params.ParamByName("Liste").SetAsInteger(2);
    EXPECT_EQ(table.SQLText(),
              "SELECT NR FROM inventur WHERE Inventurliste = 2 AND NR =  IS NULL OR  IS NULL ORDER BY NR");

    table.ParamCheck = false;
    table.SetSQL("SELECT NR FROM inventur WHERE NR = 4711");
    table.Open();
    EXPECT_EQ(numbers(), QList<int>{4711});
}

TEST_F(Sources, SavedQueriesTakeTheirParametersLineByLine)
{
    table.SetQueryDefName("EintraegeDerListe");
    table.QueryDefParameters = QStringList{"2", "3"};
    table.Open();
    EXPECT_EQ(numbers(), (QList<int>{3, 5}));
    EXPECT_TRUE(table.QueryDefSQLText.join(' ').contains("Inventurliste = [Liste]"));
    EXPECT_EQ(errorText([&] { table.SetQueryDefName("other"); }),
              "TVoDaoTable.F_Set_QueryDefName: Cannot set QueryDefName while Table is Active!");
    table.Close();

    const QString refused = "TVoDaoTable.OpenDaoRecordset: Invalid number of QueryDef parameters or parameter is "
                            "not in valid format!";
    table.QueryDefParameters = QStringList{"2"};
    EXPECT_EQ(errorText([&] { table.Open(); }), refused) << "a line missing";
    EXPECT_FALSE(table.Active());
    table.QueryDefParameters = QStringList{"2", "viele"};
    EXPECT_EQ(errorText([&] { table.Open(); }), refused) << "text for a Long parameter";
    EXPECT_FALSE(table.Active());

    // Setting SQL text replaces the saved query and its settings.
    table.SetSQL("SELECT NR FROM inventur WHERE NR = 1");
    EXPECT_TRUE(table.QueryDefName().isEmpty());
    EXPECT_TRUE(table.QueryDefParameters.isEmpty());
}

TEST_F(Sources, TheConnectionsQueryTimeoutReachesASavedQueryOnlyWhenNot60)
{
    auto query = db.CoreDatabase()->queryDefs().item("EintraegeDerListe");
    query->setOdbcTimeout(17);
    table.SetQueryDefName("EintraegeDerListe");
    table.QueryDefParameters = QStringList{"1", "0"};
    table.Open();
    EXPECT_EQ(query->odbcTimeout(), 17) << "60 is the engine's own default and is not sent";
    table.Close();
    db.QueryTimeout = 90;
    table.Open();
    EXPECT_EQ(query->odbcTimeout(), 90);
}

TEST_F(Sources, ExecSqlRunsOnAConnectedDatabaseAndCountsTheRows)
{
    const QString refused =
        "TVoDaoTable.ExecSQL: Cannot execute SQL query while Database is not Assigned or Connected!";
    TVoDaoTable lonely;
    EXPECT_EQ(errorText([&] { lonely.ExecSQL({"DELETE FROM inventur"}); }), refused);

    table.Params.ParseSQL(":Liste");
    table.Params.ParamByName("Liste").SetAsInteger(2);
    table.ExecSQL({"DELETE FROM inventur", "WHERE Inventurliste = :Liste"});
    EXPECT_EQ(table.RecordsAffected(), 3);
    EXPECT_EQ(testsupport::queryRows(dir.file("db_inv.mdb"), "SELECT NR FROM inventur ORDER BY NR"),
              (QJsonArray{QJsonArray{1}, QJsonArray{4711}}));

    db.SetConnected(false);
    EXPECT_EQ(errorText([&] { table.ExecSQL({"DELETE FROM inventur"}); }), refused);
}

TEST_F(Sources, SettersRefuseWhileOpenAndDynamicTablesNeedOdbc)
{
    table.SetSQL("SELECT * FROM inventur");
    table.SetTableType(16);
    EXPECT_EQ(errorText([&] { table.Open(); }),
              "TVoDaoTable.OpenDaoRecordset: DynamicTables are for ODBC connections only!");
    EXPECT_FALSE(table.Active());

    table.SetTableType(2);
    table.Open();
    TVoDaoDatabase other;
    EXPECT_EQ(errorText([&] { table.SetDatabase(&other); }),
              "TVoDaoTable.F_Set_Database: Cannot set Database while Table is Active!");
    EXPECT_EQ(table.Database(), &db);
    EXPECT_EQ(errorText([&] { table.SetLockType(2); }),
              "TVoDaoTable.F_Set_LockType: Cannot set LockType while Table is active!");
    EXPECT_EQ(errorText([&] { table.SetReadOnly(true); }),
              "TVoDaoTable.F_Set_ReadOnly: Cannot set ReadOnly while table is Active!");
    EXPECT_FALSE(table.ReadOnly());
    EXPECT_EQ(errorText([&] { table.GotoBookmark(TBookmark(4, '\0')); }), "Bookmarks are not supported!");
    EXPECT_TRUE(table.Active());
}

TEST_F(Sources, AnAutoIncrementFieldIsNeverWritten)
{
    table.SetSQL("SELECT * FROM inventur");
    table.Open();
    table.Append();
    table.FieldByName("IDX")->SetAsInteger(999); // ignored: the engine numbers the row
    table.FieldByName("NR")->SetAsInteger(6);
    table.Post();
    EXPECT_EQ(table.FieldByName("IDX")->AsInteger(), 6);
    EXPECT_EQ(testsupport::queryRows(dir.file("db_inv.mdb"), "SELECT IDX FROM inventur WHERE NR = 6"),
              QJsonArray{QJsonArray{6}});
}

TEST_F(Sources, ATextColumnWithoutASizeIsRead255Wide)
{
    // A computed text column has no DAO size of its own.
    table.SetSQL("SELECT 'Nr. ' & NR AS Nummer FROM inventur ORDER BY NR");
    table.Open();
    EXPECT_EQ(table.FieldByName("Nummer")->DataType(), ftString);
    EXPECT_EQ(table.FieldByName("Nummer")->Size(), 255);
    EXPECT_EQ(table.FieldByName("Nummer")->AsString(), "Nr. 1");
}

TEST_F(Sources, NewRecordsStartWithTheTextDefaultWithoutItsQuotes)
{
    table.ExecSQL({"CREATE TABLE vorgaben (IDX COUNTER PRIMARY KEY, Ort TEXT(20) DEFAULT \"Magazin\", Anzahl LONG "
                   "DEFAULT 3)"});
    table.SetSQL("SELECT * FROM vorgaben");
    table.Open();
    table.Append();
    EXPECT_EQ(table.FieldByName("Ort")->AsString(), "Magazin");
    EXPECT_EQ(table.FieldByName("Anzahl")->AsInteger(), 3);
    table.Post();
    EXPECT_EQ(testsupport::queryRows(dir.file("db_inv.mdb"), "SELECT Ort, Anzahl FROM vorgaben"),
              (QJsonArray{QJsonArray{"Magazin", 3}}));
}

TEST_F(Sources, SavedQueryParametersMayBeGivenAsOneText)
{
    table.SetQueryDefName("EintraegeDerListe");
    table.SetQueryDefParametersText("2\r\n3");
    EXPECT_EQ(table.QueryDefParameters, (QStringList{"2", "3"}));
    table.Open();
    EXPECT_EQ(numbers(), (QList<int>{3, 5}));
    EXPECT_EQ(table.QueryDefParametersText(), "2\n3");
}

TEST_F(Sources, TableDatesComeFromTheTableDefinition)
{
    EXPECT_EQ(table.TableDateCreated(), "") << "no table named";
    table.SetTableName("inventur");
    QDateTime created, updated;
    ASSERT_TRUE(TextToDateTime(table.TableDateCreated(), created)) << table.TableDateCreated().toStdString();
    ASSERT_TRUE(TextToDateTime(table.TableLastUpdated(), updated));
    const QDateTime now = QDateTime::currentDateTime();
    EXPECT_LE(std::abs(created.secsTo(now)), 600) << "the engine keeps the moment the table was made";
    EXPECT_GE(updated, created);

    // For an Access file the dates its system catalogue holds (as mdb-export shows them).
    TVoDaoDatabase access;
    access.SetDatabase(dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb"));
    access.SetConnected(true);
    TVoDaoTable copies;
    copies.SetDatabase(&access);
    copies.SetTableName("EXEMPLAR");
    ASSERT_TRUE(TextToDateTime(copies.TableDateCreated(), created));
    EXPECT_EQ(created, QDateTime(QDate(2026, 12, 6), QTime(8, 42, 24)));
    ASSERT_TRUE(TextToDateTime(copies.TableLastUpdated(), updated));
    EXPECT_EQ(updated, QDateTime(QDate(2026, 12, 6), QTime(8, 42, 24)));
}

TEST_F(Sources, LockEditsShowsThePessimisticLockOfTheRecordset)
{
    table.SetTableName("inventur");
    table.SetLockType(2);
    table.Open();
    EXPECT_TRUE(table.LockEdits());
    table.Close();
    table.SetLockType(3);
    table.Open();
    EXPECT_FALSE(table.LockEdits());
}

TEST_F(Sources, FieldsTheEngineFillsAreMarkedAndLeftToIt)
{
    table.ExecSQL({"CREATE TABLE exemplare (ID GUID DEFAULT GenGUID() NOT NULL, Zufall LONG DEFAULT GenUniqueID() "
                   "NOT NULL, Titel TEXT(50))"});
    table.SetSQL("SELECT * FROM exemplare");
    table.Open();
    TField* id = table.FieldByName("ID");
    TField* random = table.FieldByName("Zufall");
    EXPECT_EQ(id->AutoGenerateValue(), arAutoInc);
    EXPECT_EQ(random->AutoGenerateValue(), arAutoInc);
    EXPECT_EQ(table.FieldByName("Titel")->AutoGenerateValue(), arNone);
    for (const char* title : {"Faust", "Ilias"}) {
        table.Append();
        EXPECT_TRUE(id->IsNull()) << "the default is the engine's, not a text to show";
        EXPECT_TRUE(random->IsNull());
        table.FieldByName("Titel")->SetAsString(title);
        table.Post(); // required, yet left for the engine to fill
    }
    const QJsonArray rows = testsupport::queryRows(dir.file("db_inv.mdb"), "SELECT ID, Zufall FROM exemplare");
    ASSERT_EQ(rows.size(), 2);
    for (const QJsonValue& row : rows) {
        EXPECT_FALSE(row[0].isNull());
        EXPECT_NE(row[1].toDouble(), 0);
    }
    EXPECT_NE(rows[0][0], rows[1][0]) << "a new GUID for every row";
}

TEST_F(Sources, CacheLookupsSwitchesTheLookupCachesOnAtOpen)
{
    exec("INSERT INTO inventurliste (Bezeichnung) VALUES ('Frühjahr')");
    exec("INSERT INTO inventurliste (Bezeichnung) VALUES ('Herbst')");
    TVoDaoTable lists;
    lists.SetDatabase(&db);
    lists.SetTableName("inventurliste");
    lists.Open();
    auto* listName = table.AddField<TStringField>("Liste", fkLookup);
    listName->SetLookupDataSet(&lists);
    listName->SetKeyFields("Inventurliste");
    listName->SetLookupKeyFields("IDX");
    listName->SetLookupResultField("Bezeichnung");
    table.SetSQL("SELECT * FROM inventur ORDER BY NR");
    table.Open();
    EXPECT_FALSE(listName->LookupCache()) << "off unless asked for";
    table.Close();
    table.CacheLookups = true;
    table.Open();
    EXPECT_TRUE(listName->LookupCache());
    EXPECT_EQ(listName->AsString(), QStringLiteral("Frühjahr"));
    table.Next();
    EXPECT_EQ(listName->AsString(), "Herbst");
}
