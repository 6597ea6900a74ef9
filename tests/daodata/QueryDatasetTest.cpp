#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "framework/data/TField.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "tests/support/EngineRows.h"
#include "tests/support/ErrorText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using testsupport::TempFolder;

namespace {

// All copies with their titles, as the catalogue checks read them.
const QString kCopies = QStringLiteral(" SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, "
                                       "TITEL.HAUPTEINTRAG AS AUTOR FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = "
                                       "TITEL.Buchungsnummer");
const QString kAllCopies = kCopies + QStringLiteral(" ORDER BY EXEMPLAR.EXEMPLARNUMMER");

struct Catalogue : ::testing::Test {
    TempFolder dir;
    TApplication app{std::make_unique<RecordingInteraction>()};
    TVoDaoDatabase db{"DB_Veltrano"};
    TVoDaoTable table{"TB_Veltrano"};

    Catalogue()
    {
        db.ProgramFolder = dir.path();
        db.SetVersion("3.6");
        db.SetDatabase(dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb"));
        db.SetConnected(true);
        table.SetDatabase(&db);
        table.SetReadOnly(true);
    }
};

using testsupport::errorText;

} // namespace

TEST_F(Catalogue, ReadsEveryRowOfACheckInOrder)
{
    table.SetSQL(kAllCopies);
    table.Open();
    const QJsonArray expected = testsupport::expectedCatalogueQueries()["alle"].toObject()["rows"].toArray();
    EXPECT_EQ(table.RecordCount(), expected.size());
    ASSERT_EQ(table.FieldCount(), 3);
    EXPECT_EQ(table.FieldByName("BUCHNR")->DataType(), ftInteger);
    EXPECT_EQ(table.FieldByName("TITEL")->DataType(), ftString);
    EXPECT_EQ(table.FieldByName("TITEL")->Size(), 255);
    EXPECT_EQ(table.FieldByName("AUTOR")->Size(), 50);
    int row = 0;
    for (table.First(); !table.Eof(); table.Next(), ++row) {
        ASSERT_LT(row, expected.size());
        const QJsonArray want = expected[row].toArray();
        EXPECT_EQ(table.RecNo(), row + 1);
        EXPECT_EQ(table.FieldByName("BUCHNR")->AsInteger(), want[0].toInteger());
        // An empty text reads as null in the dataset's record buffers.
        EXPECT_EQ(table.FieldByName("TITEL")->IsNull(), want[1].isNull() || want[1].toString().isEmpty()) << row;
        EXPECT_EQ(table.FieldByName("TITEL")->AsString(), want[1].toString()) << row;
        EXPECT_EQ(table.FieldByName("AUTOR")->AsString(), want[2].toString()) << row;
    }
    EXPECT_EQ(row, expected.size());
    table.Last();
    EXPECT_EQ(table.FieldByName("BUCHNR")->AsInteger(), 2147483647);
    EXPECT_EQ(table.RecNo(), expected.size());
    table.Prior();
    EXPECT_EQ(table.RecNo(), expected.size() - 1);
}

TEST_F(Catalogue, BookmarksReturnToTheirRows)
{
    table.SetSQL(kAllCopies);
    table.Open();
    table.MoveBy(9);
    const TBookmark mark = table.GetBookmark();
    EXPECT_EQ(mark.size(), 4);
    const int number = table.FieldByName("BUCHNR")->AsInteger();
    table.Last();
    table.GotoBookmark(mark);
    EXPECT_EQ(table.FieldByName("BUCHNR")->AsInteger(), number);
    EXPECT_EQ(errorText([&] { table.GotoBookmark(TBookmark("\x7f\x7f\x00\x00", 4)); }), "Invalid Bookmark!");
}

TEST_F(Catalogue, ComputedDatesAreDateFields)
{
    table.SetSQL("SELECT TOP 1 DateSerial(2003, 1, 15) AS Tag, #1/15/2003 13:05# + 1 AS Morgen, "
                 "IIf(EXEMPLARNUMMER > 0, CDate('15.01.2003'), Null) AS Wahl, EXEMPLARNUMMER FROM EXEMPLAR");
    table.Open();
    for (const char* name : {"Tag", "Morgen", "Wahl"})
        EXPECT_EQ(table.FieldByName(name)->DataType(), ftDateTime) << name;
    EXPECT_EQ(table.FieldByName("Tag")->AsDateTime(), QDateTime(QDate(2003, 1, 15), QTime(0, 0)));
    EXPECT_EQ(table.FieldByName("Morgen")->AsDateTime(), QDateTime(QDate(2003, 1, 16), QTime(13, 5)));
    EXPECT_EQ(table.FieldByName("Wahl")->AsDateTime(), QDateTime(QDate(2003, 1, 15), QTime(0, 0)));
}

TEST_F(Catalogue, EmptyResultsAndSnapshotsAreReadOnly)
{
    table.SetReadOnly(false);
    table.SetTableType(4);
    table.SetSQL(kCopies + " AND EXEMPLAR.EXEMPLARNUMMER < 0");
    table.Open();
    EXPECT_TRUE(table.ReadOnly());
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_EQ(table.RecNo(), -1);
}

TEST_F(Catalogue, RefusalsWhileOpenAndBeforeOpening)
{
    TVoDaoTable lonely;
    EXPECT_EQ(errorText([&] { lonely.Open(); }), "TVoDaoTable.OpenDaoRecordset: Missing Database Property");
    lonely.SetDatabase(&db);
    EXPECT_EQ(errorText([&] { lonely.Open(); }),
              "TVoDaoTable.OpenDaoRecordset: Missing TableName or QueryDefName, or SQL is empty!");

    table.SetSQL(kAllCopies);
    table.Open();
    EXPECT_EQ(errorText([&] { table.SetTableName("TITEL"); }),
              "TVoDaoTable.F_Set_TableName: Cannot set TableName while Table is active!");
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(errorText([&] { table.SetTableType(1); }),
              "TVoDaoTable.F_Set_TableType: Cannot set TableType while Table is active!");

    lonely.SetSQL("SELECT * FROM TITEL");
    db.SetConnected(false);
    EXPECT_FALSE(table.Active()) << "disconnecting closes the datasets opened on the connection";
    EXPECT_TRUE(table.ClosedByDatabase());
    EXPECT_EQ(errorText([&] { lonely.Open(); }), "TVoDaoTable.OpenDaoRecordset: Database is NOT connected");
    lonely.DatabaseAutoActivate = true;
    lonely.Open();
    EXPECT_TRUE(db.Connected());
    EXPECT_TRUE(lonely.Active());
}

TEST_F(Catalogue, AnUnnamedDatasetIsNamedWhenItOpens)
{
    TVoDaoTable unnamed;
    unnamed.SetDatabase(&db);
    unnamed.SetSQL("SELECT * FROM TITEL");
    unnamed.Open();
    EXPECT_TRUE(unnamed.Name().startsWith("VoDaoTable_"));
}

TEST_F(Catalogue, EngineErrorsOfTheQueryPropagate)
{
    table.SetSQL(" SELECT NR FROM inventur WHERE NR =  AND inventur.inventurliste =3");
    EXPECT_NE(errorText([&] { table.Open(); }), "");
    EXPECT_FALSE(table.Active());
}
