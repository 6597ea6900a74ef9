// Excel 3.0 to 8.0 files written by SELECT … INTO … IN "<file>"[Excel n;],
// read back by python3-xlrd and LibreOffice.
#include "engine/Database.h"
#include "engine/IsamWriter.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/ExportFixture.h"
#include "tests/support/ExternalReaders.h"

#include <QDir>
#include <QJsonObject>
#include <cmath>
#include <gtest/gtest.h>

using exporttest::CatalogueExport;

namespace {

struct Version {
    const char* connect;
    int biff;
};
const Version kVersions[] = {{"Excel 3.0", 30}, {"Excel 4.0", 40}, {"Excel 5.0", 50}, {"Excel 8.0", 80}};

QJsonArray header()
{
    QJsonArray names;
    for (const QString& n : CatalogueExport::fieldNames())
        names.append(n);
    return names;
}

// A value as LibreOffice shows it in the formats the writer gives the cells.
QString shownByCalc(const dao::Variant& v)
{
    using dao::VarType;
    switch (v.type()) {
    case VarType::Null: return {};
    case VarType::Boolean: return v.toBool() ? "1" : "0";
    case VarType::Currency: return QString::number(v.toDouble(), 'f', 2);
    case VarType::Date: {
        const double days = v.toDouble();
        const QDateTime t = QDateTime(QDate(1899, 12, 30).addDays(qint64(std::floor(days))), QTime(0, 0))
                                .addSecs(std::lround((days - std::floor(days)) * 86400.0));
        return t.toString(days == std::floor(days) ? "dd.MM.yyyy" : "dd.MM.yyyy HH:mm:ss");
    }
    case VarType::Text: return QString::fromStdString(v.bytes());
    default: return QString::fromStdString(v.toText());
    }
}

std::vector<dao::isam::Column> twoColumns() { return {{"NR", dao::sql::JetType::Long, 0}, {"TEXT", dao::sql::JetType::Memo, 0}}; }

} // namespace

TEST(SpreadsheetExport, EveryVersionIsReadBackByXlrdAndLibreOffice)
{
    CatalogueExport source;
    const auto expected = source.expectedRows();
    ASSERT_EQ(expected.size(), 67u) << "the documented copies with a title";
    QStringList files;
    for (const Version& v : kVersions) {
        const QString file = source.dir.file(QStringLiteral("Katalog %1.xls").arg(v.biff));
        EXPECT_EQ(source.exportTo("[Bestand] IN \"" + file.toStdString() + "\"[" + v.connect + ";]"), 67);
        files << file;

        SCOPED_TRACE(v.connect);
        const QJsonObject book = testsupport::xlrdWorkbook(file);
        EXPECT_EQ(book["biff"].toInt(), v.biff);
        if (v.biff >= 50) {
            EXPECT_EQ(book["sheets"].toArray(), (QJsonArray{"Bestand"})) << "the sheet takes the table's name";
        }
        QJsonArray rows = book["rows"].toArray();
        ASSERT_EQ(rows.size(), 68);
        EXPECT_EQ(rows.takeAt(0).toArray(), header());
        EXPECT_EQ(rows, exporttest::expectedJson(expected, {})) << "numbers, dates, Booleans, text, memo and nulls";
    }
    EXPECT_EQ(testsupport::xlrdWorkbook(files[3])["rows"].toArray()[4].toArray()[7].toString(), exporttest::kLongNote);

    // One LibreOffice run over all four files: it is slow to start.
    const auto calc = testsupport::libreOfficeRows(files);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        ASSERT_TRUE(calc.contains(file));
        QJsonArray rows = calc[file];
        ASSERT_EQ(rows.size(), 68);
        EXPECT_EQ(rows.takeAt(0).toArray(), header());
        for (size_t r = 0; r < expected.size(); ++r) {
            QJsonArray want;
            for (const auto& v : expected[r])
                want.append(shownByCalc(v));
            EXPECT_EQ(rows[int(r)].toArray(), want) << "row " << r + 1;
        }
    }
}

TEST(SpreadsheetExport, RowsBeyondASheetGoOnFurtherSheetsOrRaiseSpreadsheetFull)
{
    CatalogueExport source;
    // 70 × 70 × 70 copies: more rows than the one sheet of an Excel 3.0 file holds.
    const QString file = source.dir.file(QStringLiteral("voll.xls"));
    EXPECT_EQ(enginetest::errorOf([&] {
                  source.db->execute("SELECT A.EXEMPLARNUMMER AS NR, B.EXEMPLARNUMMER AS NR2 INTO [Alle] IN \""
                                         + file.toStdString() + "\"[Excel 3.0;] FROM EXEMPLAR AS A, EXEMPLAR AS B, EXEMPLAR AS C",
                                     dao::dbFailOnError);
              }),
              3437);
    EXPECT_FALSE(QFile::exists(file)) << "never a truncated file";
    EXPECT_EQ(QDir(source.dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".xls").size(), 0)
        << "no temporary file is left either";

    auto write = [&](const char* connect, const QString& path, int rows) {
        auto writer = dao::isam::openWriter(connect, path.toStdString(), "Viele", twoColumns());
        for (int i = 1; i <= rows; ++i)
            writer->writeRow({dao::Variant(i), dao::Variant()});
        writer->finish();
        return testsupport::xlrdWorkbook(path);
    };
    // Exactly full: the header row and 16,383 rows fit a BIFF4 sheet.
    const QJsonObject full = write("Excel 4.0;", source.dir.file("genau.xls"), 16383);
    EXPECT_EQ(full["sheetRows"].toArray(), (QJsonArray{16384}));

    // Workbooks go on with a further sheet, the field names on top again.
    const QJsonObject excel5 = write("Excel 5.0;", source.dir.file("excel5.xls"), 20000);
    EXPECT_EQ(excel5["sheets"].toArray(), (QJsonArray{"Viele", "Viele (2)"}));
    EXPECT_EQ(excel5["sheetRows"].toArray(), (QJsonArray{16384, 1 + 20000 - 16383}));
    EXPECT_EQ(excel5["lastRows"].toArray()[1].toArray()[0].toDouble(), 20000.0);
    const QJsonObject excel97 = write("Excel 8.0;", source.dir.file("excel97.xls"), 65536);
    EXPECT_EQ(excel97["sheetRows"].toArray(), (QJsonArray{65536, 2}));
    EXPECT_EQ(excel97["lastRows"].toArray()[0].toArray()[0].toDouble(), 65535.0);
    EXPECT_EQ(excel97["lastRows"].toArray()[1].toArray(), (QJsonArray{65536.0, QJsonValue()}));
}

TEST(SpreadsheetExport, LongTextsAndOddSheetNamesInAnExcel97Workbook)
{
    testsupport::TempFolder dir;
    // Longer than one record of the shared string table: it continues in
    // CONTINUE records, with characters beyond Latin-1 stored as UTF-16.
    const QString huge = QStringLiteral("Preis 5 € – ").repeated(1500);
    const QString latin = QStringLiteral("Größe ").repeated(2000);
    const QString file = dir.file("lang.xls");
    {
        auto writer = dao::isam::openWriter("Excel 8.0;", file.toStdString(), "Liste [a/b]: 2026?", twoColumns());
        writer->writeRow({dao::Variant(1), dao::Variant(huge.toStdString())});
        writer->writeRow({dao::Variant(2), dao::Variant(latin.toStdString())});
        writer->writeRow({dao::Variant(3), dao::Variant(huge.toStdString())});
        writer->finish();
    }
    const QJsonObject book = testsupport::xlrdWorkbook(file);
    EXPECT_EQ(book["sheets"].toArray(), (QJsonArray{"Liste _a_b__ 2026_"}));
    const QJsonArray rows = book["rows"].toArray();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[1].toArray()[1].toString(), huge);
    EXPECT_EQ(rows[2].toArray()[1].toString(), latin);
    EXPECT_EQ(rows[3].toArray()[1].toString(), huge) << "a repeated text is shared";

    // An existing workbook is not overwritten.
    EXPECT_EQ(enginetest::errorOf([&] { dao::isam::openWriter("Excel 8.0;", file.toStdString(), "Neu", twoColumns()); }),
              3010);
    EXPECT_EQ(testsupport::xlrdWorkbook(file)["rows"].toArray().size(), 4);
}
