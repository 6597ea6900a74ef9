// dBase and FoxPro tables written by SELECT … INTO … IN "<folder>"[dBase IV;]
// and the like, read back by python3-dbf (python3-dbfread for dBase IV/5.0
// tables with memos).
#include "engine/Database.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/ExportFixture.h"
#include "tests/support/ExternalReaders.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>

using exporttest::CatalogueExport;

namespace {

struct Flavour {
    const char* connect;
    int version;       // first byte of the table
    int codePageMark;  // byte 29: Windows ANSI
    const char* memo;  // extension of the memo file
};
const Flavour kFlavours[] = {
    {"dBase III", 0x83, 0x03, ".dbt"},  {"dBase IV", 0x8B, 0x57, ".dbt"},   {"dBase 5.0", 0x8B, 0x57, ".dbt"},
    {"FoxPro 2.0", 0xF5, 0x03, ".fpt"}, {"FoxPro 2.5", 0xF5, 0x03, ".fpt"}, {"FoxPro 2.6", 0xF5, 0x03, ".fpt"},
    {"FoxPro 3.0", 0x30, 0x03, ".fpt"},
};

// Without null flags a blank text or memo reads as empty or as null, depending on the reader.
QJsonArray blankTextAsEmpty(QJsonArray rows)
{
    for (int r = 0; r < rows.size(); ++r) {
        QJsonArray row = rows[r].toArray();
        for (int i : {1, 2, 7})
            if (row[i].isNull())
                row[i] = QString();
        rows[r] = row;
    }
    return rows;
}

} // namespace

TEST(DbfExport, EveryFlavourIsReadBackWithItsMemosDatesAndNulls)
{
    CatalogueExport source;
    const auto expected = source.expectedRows();
    const std::string folder = source.dir.path().toStdString();
    for (const Flavour& f : kFlavours) {
        SCOPED_TRACE(f.connect);
        const QString name = QString::fromLatin1(f.connect).remove(' ').remove('.');
        EXPECT_EQ(source.exportTo("[" + name.toStdString() + "] IN \"" + folder + "\"[" + f.connect + ";]"), 67);
        ASSERT_TRUE(QFile::exists(source.dir.file(name + f.memo)));

        const QJsonObject table = testsupport::dbfTable(source.dir.file(name + ".dbf"));
        EXPECT_EQ(table["version"].toInt(), f.version);
        EXPECT_EQ(table["codepage"].toInt(), f.codePageMark);
        QStringList fields;
        for (const auto& n : table["fields"].toArray())
            fields << n.toString().toUpper();
        EXPECT_EQ(fields, (QStringList{"BUCHNR", "TITEL", "AUTOR", "PREIS", "AUSGELIEHE", "ERFASST", "JAHR", "BEMERKUNG"}))
            << "names cut to ten characters";

        const bool visual = f.version == 0x30;
        exporttest::Reading reading;
        reading.trailingBlanksKept = false; // fixed-width character fields
        reading.datesWithTime = visual;     // dBase and FoxPro 2 dates have no time
        const QJsonArray rows = table["rows"].toArray();
        if (visual) {
            EXPECT_EQ(rows, exporttest::expectedJson(expected, reading)) << "Visual FoxPro keeps nulls apart";
        } else {
            reading.nullTextIsEmpty = true;
            EXPECT_EQ(blankTextAsEmpty(rows), exporttest::expectedJson(expected, reading));
        }
        EXPECT_EQ(rows[3].toArray()[7].toString(), exporttest::kLongNote);
    }
}

TEST(DbfExport, NamesCutToTenCharactersNeverClash)
{
    CatalogueExport source;
    source.db->execute("SELECT E.EXEMPLARNUMMER AS Exemplarnummer_alt, E.EXEMPLARNUMMER + 1 AS Exemplarnummer_neu, "
                       "E.STANDORT AS [Größe des Standorts], E.PREIS AS Exemplarnummer INTO [namen] IN \""
                           + source.dir.path().toStdString() + "\"[dBase III;] FROM EXEMPLAR AS E WHERE E.EXEMPLARNUMMER = 4711",
                       dao::dbFailOnError);
    const QJsonObject table = testsupport::dbfTable(source.dir.file("namen.dbf"));
    QStringList fields;
    for (const auto& n : table["fields"].toArray())
        fields << n.toString().toUpper();
    EXPECT_EQ(fields, (QStringList{"EXEMPLARNU", "EXEMPLAR_1", "GR__E_DES_", "EXEMPLAR_2"}));
    EXPECT_EQ(table["rows"].toArray(), (QJsonArray{QJsonArray{4711.0, 4712.0, "Magazin", 45.57}}));
    EXPECT_FALSE(QFile::exists(source.dir.file("namen.dbt"))) << "no memo file without memos";
    EXPECT_EQ(table["version"].toInt(), 0x03);
}
