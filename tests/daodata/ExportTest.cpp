#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "tests/support/EngineRows.h"
#include "tests/support/ErrorText.h"
#include "tests/support/ExternalReaders.h"
#include "tests/support/InventoryTables.h"
#include "tests/support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

using testsupport::errorText;
using testsupport::TempFolder;

namespace {

const QString kBase = QStringLiteral(
    " SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS AUTOR FROM EXEMPLAR, "
    "TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer");

// The catalogue fixture with a dataset on a query of it, as the report uses it.
struct CatalogueExport : ::testing::Test {
    TempFolder dir;
    TApplication app{std::make_unique<RecordingInteraction>()};
    TVoDaoDatabase db{"DB_Veltrano"};
    TVoDaoTable table{"TB_Veltrano"};

    CatalogueExport()
    {
        db.SetVersion("3.6");
        db.SetDatabase(dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb"));
        db.SetConnected(true);
        table.SetDatabase(&db);
        table.SetSQL(kBase + QStringLiteral(" AND EXEMPLAR.EXEMPLARNUMMER IN (3, 4, 1004, 1010) ORDER BY "
                                            "EXEMPLAR.EXEMPLARNUMMER"));
        table.Open();
    }
};

} // namespace

TEST_F(CatalogueExport, FieldListFollowsVisibilityBracketsAndExportMethod)
{
    EXPECT_EQ(table.ExportFieldList(false), " [BUCHNR], [TITEL], [AUTOR]");
    table.FieldByName("AUTOR")->SetVisible(false);
    EXPECT_EQ(table.ExportFieldList(false), " [BUCHNR], [TITEL]") << "no trailing comma when the last field is hidden";
    table.UseBrackets = false;
    EXPECT_EQ(table.ExportFieldList(false), " BUCHNR, TITEL");
    table.ExportMethod = AllFields;
    EXPECT_EQ(table.ExportFieldList(false), "*");
}

TEST_F(CatalogueExport, TextToAFolderIsReadBackByACsvReader)
{
    QDir(dir.path()).mkdir("out");
    const auto queriesBefore = db.QueryDefNames();
    table.ExportToText(dir.file("out/liste.csv"), false, false);
    const QJsonArray rows = testsupport::csvRows(dir.file("out/liste.csv"));
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[0], (QJsonArray{"BUCHNR", "TITEL", "AUTOR"}));
    EXPECT_EQ(rows[2], (QJsonArray{"4", QStringLiteral("Äpfel, Birnen und Quitten"), QStringLiteral("Öhler, Jürgen")}));
    EXPECT_EQ(rows[3], (QJsonArray{"1004", "Das \"Zitat\" im Titel", "Tucholsky, Kurt"}));
    EXPECT_EQ(rows[4][1], QStringLiteral("Preise in € und ‚Rabatte‘"));
    EXPECT_EQ(db.QueryDefNames(), queriesBefore) << "the temporary query is gone after the export";
    EXPECT_TRUE(table.Active());
}

TEST_F(CatalogueExport, TextFormatFollowsTheSchemaIniBesideTheFile)
{
    const QJsonArray fourth{"4", QStringLiteral("Äpfel, Birnen und Quitten"), QStringLiteral("Öhler, Jürgen")};
    const struct {
        const char* format;
        const char* delimiter;
    } delimited[] = {{"CSVDelimited", ","}, {"TabDelimited", "\t"}, {"Delimited(;)", ";"}, {"Delimited(|)", "|"}};
    for (const auto& [format, delimiter] : delimited) {
        SCOPED_TRACE(format);
        dir.write("schema.ini", QByteArray("[liste.txt]\r\nColNameHeader=False\r\nCharacterSet=UTF-8\r\nFormat=") +
                                    format + "\r\n");
        table.ExportToText(dir.file("liste.txt"), false, true);
        const QJsonArray rows = testsupport::csvRows(dir.file("liste.txt"), delimiter, "utf-8");
        ASSERT_EQ(rows.size(), 4) << "no header row";
        EXPECT_EQ(rows[1], fourth);
        EXPECT_EQ(rows[2], (QJsonArray{"1004", "Das \"Zitat\" im Titel", "Tucholsky, Kurt"}));
    }

    dir.write("schema.ini", "[breit.txt]\r\nColNameHeader=False\r\nFormat=FixedLength\r\nCharacterSet=ANSI\r\n"
                            "Col1=BUCHNR Long Width 6\r\nCol2=TITEL Text Width 12\r\nCol3=AUTOR Text Width 30\r\n");
    table.ExportToText(dir.file("breit.txt"), false, true);
    const QJsonArray fixed = testsupport::fixedWidthRows(dir.file("breit.txt"), {6, 12, 30});
    ASSERT_EQ(fixed.size(), 4);
    EXPECT_EQ(fixed[1], (QJsonArray{"4", QStringLiteral("Äpfel, Birne"), QStringLiteral("Öhler, Jürgen")}))
        << "a text longer than its column is cut";
    EXPECT_EQ(fixed[3][1], QStringLiteral("Preise in €"));
}

TEST_F(CatalogueExport, BareFileNamesGoToTheCurrentFolder)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    table.ExportToHTML("bericht.html", false, true);
    table.ExportToText("bericht.txt", false, true);
    QDir::setCurrent(previous);
    EXPECT_EQ(testsupport::htmlTableRows(dir.file("bericht.html")).size(), 5);
    EXPECT_EQ(testsupport::csvRows(dir.file("bericht.txt")).size(), 5);
}

TEST_F(CatalogueExport, HiddenFieldsFiltersAndAllFieldsShapeTheFile)
{
    table.FieldByName("AUTOR")->SetVisible(false);
    table.SetFilter("BUCHNR > 1000");
    table.ExportToHTML(dir.file("a.html"), false, true);
    const QJsonArray unfiltered = testsupport::htmlTableRows(dir.file("a.html"));
    ASSERT_EQ(unfiltered.size(), 5) << "an unfiltered dataset ignores the filter text";
    EXPECT_EQ(unfiltered[0], (QJsonArray{"BUCHNR", "TITEL"}));

    table.SetFiltered(true);
    table.ExportToHTML(dir.file("a.html"), false, true);
    const QJsonArray rows = testsupport::htmlTableRows(dir.file("a.html"));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1], (QJsonArray{"1004", "Das \"Zitat\" im Titel"}));

    table.SetFilter("");
    table.ExportMethod = AllFields;
    table.ExportToHTML(dir.file("a.html"), false, true);
    const QJsonArray all = testsupport::htmlTableRows(dir.file("a.html"));
    ASSERT_EQ(all.size(), 5) << "a filtered dataset with an empty filter exports every row";
    EXPECT_EQ(all[0].toArray().size(), 3) << "AllFields exports hidden fields too";
}

TEST_F(CatalogueExport, TheFileHoldsTheRowsInTheDatasetsSortOrder)
{
    // Numbers 3, 4, 1004, 1010 by the query; by title descending: Preise,
    // Größe, Das "Zitat", Äpfel. Filter and sort go together.
    table.SetSortedBy("[TITEL] DESC");
    table.ExportToHTML(dir.file("sortiert.html"), false, true);
    QJsonArray numbers;
    for (const QJsonValue& row : testsupport::htmlTableRows(dir.file("sortiert.html")))
        numbers.append(row.toArray()[0]);
    EXPECT_EQ(numbers, (QJsonArray{"BUCHNR", "1010", "3", "1004", "4"}));

    table.SetFilter("BUCHNR < 1010");
    table.SetFiltered(true);
    table.SetSortedBy(QStringList{"[BUCHNR] DESC"});
    table.ExportToText(dir.file("sortiert.csv"), false, true);
    numbers = {};
    for (const QJsonValue& row : testsupport::csvRows(dir.file("sortiert.csv")))
        numbers.append(row.toArray()[0]);
    EXPECT_EQ(numbers, (QJsonArray{"BUCHNR", "1004", "4", "3"}));
}

TEST_F(CatalogueExport, AnExistingTargetIsReplacedOnlyWithDeleteOld)
{
    dir.write("r.html", "old report");
    const QString error = errorText([&] { table.ExportToHTML(dir.file("r.html"), false, false); });
    EXPECT_TRUE(error.contains("already exists")) << error.toStdString();
    EXPECT_EQ(dir.read("r.html"), "old report");

    table.ExportToHTML(dir.file("r.html"), false, true);
    EXPECT_EQ(testsupport::htmlTableRows(dir.file("r.html")).size(), 5);
}

TEST_F(CatalogueExport, RefusalsAndEngineErrorsLeaveNoQueryBehind)
{
    const auto queriesBefore = db.QueryDefNames();
    EXPECT_EQ(errorText([&] { table.ExportToText(dir.path() + "sub/", false, true); }), "FileName is empty!");
    EXPECT_FALSE(errorText([&] { table.ExportToHTML(dir.path() + "sub/", false, true); }).isEmpty())
        << "an HTML target without a name is left to the engine, which refuses it";
    // The dataset refuses the invalid filter at its reopen; should it keep the
    // filter switched on, the export must refuse it as well.
    const QString filterError = errorText([&] {
        table.SetFilter("BUCHNR >");
        table.SetFiltered(true);
    });
    if (table.Filtered()) {
        EXPECT_FALSE(errorText([&] { table.ExportToHTML(dir.file("f.html"), false, true); }).isEmpty());
        EXPECT_FALSE(dir.exists("f.html"));
    } else {
        EXPECT_FALSE(filterError.isEmpty());
    }
    EXPECT_EQ(db.QueryDefNames(), queriesBefore);

    table.Close();
    EXPECT_EQ(errorText([&] { table.ExportToHTML(dir.file("g.html"), false, true); }),
              "Table must be open in order to export data!");
}

TEST_F(CatalogueExport, DeleteOldReplacesTheOldTargetOnlyOnceTheNewOneIsComplete)
{
    // Paradox: the table and its companions are replaced, the index files go.
    for (const char* ext : {".db", ".mb", ".px", ".val"})
        dir.write(QStringLiteral("kunden") + ext, "alt");
    table.ExportToParadox(dir.file("kunden.db"), 5, false, true);
    EXPECT_EQ(int(quint8(dir.read("kunden.db").at(0x39))), 0x0B) << "a Paradox 5 table";
    EXPECT_FALSE(dir.exists("kunden.px"));
    EXPECT_FALSE(dir.exists("kunden.val"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter(QRegularExpression("^\\.")).size(), 0)
        << "nothing set aside stays behind";

    // Without an old file DeleteOld has nothing to do.
    table.ExportToDBase(dir.file("neu.dbf"), 4, false, true);
    EXPECT_EQ(testsupport::dbfTable(dir.file("neu.dbf"))["rows"].toArray().size(), 4);

    // An export that fails puts the old files back as they were.
    dir.write("liste.dbf", "alte Liste");
    dir.write("liste.dbt", "alte Memos");
    TVoDaoTable huge("TB_Gross");
    huge.SetDatabase(&db);
    huge.SetSQL("SELECT EXEMPLARNUMMER * 1E30 AS RIESIG FROM EXEMPLAR"); // wider than any numeric field
    huge.Open();
    EXPECT_FALSE(errorText([&] { huge.ExportToDBase(dir.file("liste.dbf"), 4, false, true); }).isEmpty());
    EXPECT_EQ(dir.read("liste.dbf"), "alte Liste");
    EXPECT_EQ(dir.read("liste.dbt"), "alte Memos");

    dir.write("bericht.html", "alter Bericht");
    dir.write("schema.ini", "[bericht.html]\r\nFormat=Unsinn\r\n");
    EXPECT_TRUE(errorText([&] { table.ExportToHTML(dir.file("bericht.html"), false, true); }).contains("Format"));
    EXPECT_EQ(dir.read("bericht.html"), "alter Bericht");
}

TEST_F(CatalogueExport, OldFilesThatCannotGoAreLeftToTheEngineOrRefused)
{
    // Companions are found whatever the case of their names.
    for (const char* name : {"KUNDEN.DB", "Kunden.PX", "kunden.Val"})
        dir.write(name, "alt");
    table.ExportToParadox(dir.file("kunden.db"), 5, false, true);
    EXPECT_EQ(QDir(dir.path()).entryList({"kunden*", "KUNDEN*", "Kunden*"}, QDir::Files), QStringList{"kunden.db"});

    // A name so long that the old file cannot be moved aside (a file system
    // limit even an administrator meets). A whole-file target that stays is
    // refused by the engine: the export fails and the old report is kept.
    const QString longName = QString(240, 'b');
    dir.write(longName + ".html", "alter Bericht");
    const QString error = errorText([&] { table.ExportToHTML(dir.file(longName + ".html"), false, true); });
    EXPECT_TRUE(error.contains("already exists")) << error.toStdString();
    EXPECT_EQ(dir.read(longName + ".html"), "alter Bericht");

    // An old index that cannot go would describe the old rows beside the new
    // table: the export refuses before anything is written.
    dir.write(longName + ".mdx", "alter Index");
    EXPECT_EQ(errorText([&] { table.ExportToDBase(dir.file(longName + ".dbf"), 4, false, true); }),
              "Cannot delete file " + dir.file(longName + ".mdx") + "!");
    EXPECT_FALSE(dir.exists(longName + ".dbf"));
    EXPECT_EQ(dir.read(longName + ".mdx"), "alter Index");
}

TEST_F(CatalogueExport, FileNamesWithBlanksUmlautsAndQuotes)
{
    const QString folder = dir.file("Listen für \"Inventur\" 'alt'");
    ASSERT_TRUE(QDir().mkpath(folder));
    table.ExportToExcel(folder + "/Bücher \"fehlend\".xls", "Fehlend", 8, false, true);
    EXPECT_EQ(testsupport::xlrdWorkbook(folder + "/Bücher \"fehlend\".xls")["rows"].toArray().size(), 5);
    table.ExportToFoxPro(folder + "/Bücher 'alt'.dbf", 30, false, true);
    EXPECT_EQ(testsupport::dbfTable(folder + "/Bücher 'alt'.dbf")["rows"].toArray().size(), 4);
    table.ExportToText(folder + "/Liste \"A\".csv", false, true);
    EXPECT_EQ(testsupport::csvRows(folder + "/Liste \"A\".csv").size(), 5);
}

// The inventory database as an engine-made source and target.
struct InventoryExport : ::testing::Test {
    TempFolder dir;
    TApplication app{std::make_unique<RecordingInteraction>()};
    TVoDaoDatabase db{"DB_INV"};
    TVoDaoTable table{"TB_INV"};

    InventoryExport()
    {
        testsupport::createInventoryTables(dir.file("db_inv.mdb"));
        testsupport::createInventoryTables(dir.file("ziel.mdb"));
        db.SetVersion("3.6");
        db.SetDatabase(dir.file("db_inv.mdb"));
        db.SetConnected(true);
        table.SetDatabase(&db);
        table.ExecSQL({"INSERT INTO inventurliste (Bezeichnung) VALUES ('Liste')"});
        for (int nr : {5, 6, 7})
            table.ExecSQL({QStringLiteral("INSERT INTO inventur (NR, Inventurliste) VALUES (%1, 1)").arg(nr)});
    }
};

TEST_F(InventoryExport, DatabaseExportReplacesTheTargetTableAndKeepsTheSourceWritable)
{
    table.SetSQL("SELECT NR FROM inventur WHERE NR >= 6");
    table.Open();
    table.ExportToDatabase(dir.file("ziel.mdb"), "kopie", false, true);
    EXPECT_EQ(testsupport::queryRows(dir.file("ziel.mdb"), "SELECT NR FROM kopie ORDER BY NR"),
              (QJsonArray{QJsonArray{6}, QJsonArray{7}}));
    table.ExportToDatabase(dir.file("ziel.mdb"), "kopie", false, true);
    EXPECT_EQ(testsupport::queryRows(dir.file("ziel.mdb"), "SELECT COUNT(*) FROM kopie"),
              (QJsonArray{QJsonArray{2}}));
    EXPECT_FALSE(errorText([&] { table.ExportToDatabase(dir.file("ziel.mdb"), "kopie", false, false); }).isEmpty());

    // The text export rolls its transaction back; writes afterwards must still last.
    table.ExportToText(dir.file("nr.txt"), false, true);
    table.ExecSQL({"INSERT INTO inventur (NR, Inventurliste) VALUES (8, 1)"});
    EXPECT_EQ(testsupport::queryRows(dir.file("db_inv.mdb"), "SELECT COUNT(*) FROM inventur"),
              (QJsonArray{QJsonArray{4}}));
    EXPECT_TRUE(db.QueryDefNames().isEmpty());
}

TEST_F(InventoryExport, TableSourceExportsWithoutATemporaryQuery)
{
    table.SetTableName("inventur");
    table.SetTableType(1);
    table.Open();
    table.ExportToHTML(dir.file("inventur.html"), false, true);
    EXPECT_EQ(testsupport::htmlTableRows(dir.file("inventur.html")).size(), 4);
}
