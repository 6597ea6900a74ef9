#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/IsamWriter.h"
#include "tests/support/ExternalReaders.h"
#include "tests/support/TempFolder.h"
#include "platform/CodePages.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace dao;
using namespace dao::isam;
using sql::JetType;

namespace {

const std::vector<Column> kColumns = {{"BUCHNR", JetType::Long, 0}, {"TITEL", JetType::Text, 255}, {"AUTOR", JetType::Text, 50}};

std::vector<std::vector<Variant>> sampleRows()
{
    return {{Variant(4), Variant(std::string("Äpfel, Birnen und Quitten")), Variant(std::string("Öhler, Jürgen"))},
            {Variant(1004), Variant(std::string("Das \"Zitat\" im Titel")), Variant()},
            {Variant(1010), Variant(std::string("Preise in € und <b>&</b>")), Variant(std::string(""))}};
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

void exportRows(const std::string& connect, const QString& folder, const std::string& table,
                const std::vector<Column>& columns = kColumns, const std::vector<std::vector<Variant>>& rows = sampleRows())
{
    auto writer = openWriter(connect, folder.toStdString(), table, columns);
    for (const auto& r : rows)
        writer->writeRow(r);
    writer->finish();
}

long errorNumber(const std::function<void()>& f)
{
    try {
        f();
    } catch (const DaoError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(TextExport, CsvWithHeaderQuotedTextAnsiAndCompletedSchemaIni)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("schema.ini"), "[other.txt]\r\nFormat=TabDelimited\r\n");
    exportRows("Text;", dir.path(), "liste#csv");
    const QByteArray expected = platform::toCp1252(QStringLiteral(
        "\"BUCHNR\",\"TITEL\",\"AUTOR\"\r\n"
        "4,\"Äpfel, Birnen und Quitten\",\"Öhler, Jürgen\"\r\n"
        "1004,\"Das \"\"Zitat\"\" im Titel\",\r\n"
        "1010,\"Preise in € und <b>&</b>\",\"\"\r\n"));
    EXPECT_EQ(readFile(dir.filePath("liste.csv")), expected);
    EXPECT_EQ(readFile(dir.filePath("schema.ini")),
              QByteArray("[other.txt]\r\nFormat=TabDelimited\r\n[liste.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\n"
                         "CharacterSet=ANSI\r\nCol1=BUCHNR Integer\r\nCol2=TITEL Char Width 255\r\nCol3=AUTOR Char Width 50\r\n"));
}

TEST(TextExport, OptionsOfAnExistingSectionAreHonouredAndItsColumnsReplaced)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("schema.ini"),
              "[LISTE.TXT]\r\nColNameHeader=False\r\nFormat=Delimited(;)\r\nCharacterSet=65001\r\nCol1=Old Text\r\n"
              "Col9=Gone Long\r\n");
    exportRows("Text;", dir.path(), "liste#txt");
    EXPECT_EQ(readFile(dir.filePath("liste.txt")),
              QStringLiteral("4;\"Äpfel, Birnen und Quitten\";\"Öhler, Jürgen\"\r\n1004;\"Das \"\"Zitat\"\" im Titel\";\r\n"
                             "1010;\"Preise in € und <b>&</b>\";\"\"\r\n")
                  .toUtf8());
    const QByteArray ini = readFile(dir.filePath("schema.ini"));
    EXPECT_TRUE(ini.contains("[LISTE.TXT]\r\nColNameHeader=False\r\nFormat=Delimited(;)\r\nCharacterSet=65001\r\nCol1=BUCHNR"));
    EXPECT_FALSE(ini.contains("Col9")) << ini.toStdString();
}

TEST(TextExport, FixedLengthPadsToTheWidthsOfTheSection)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("schema.ini"), "[f.txt]\nFormat=FixedLength\nColNameHeader=False\nCol1=N Long Width 6\nCol2=T Text Width 8\n");
    exportRows("Text;", dir.path(), "f#txt", {{"N", JetType::Long, 0}, {"T", JetType::Text, 50}},
               {{Variant(12), Variant(std::string("abcdefghijk"))}, {Variant(), Variant(std::string("x"))}});
    EXPECT_EQ(readFile(dir.filePath("f.txt")), QByteArray("12    abcdefgh\r\n      x       \r\n"));
    EXPECT_TRUE(readFile(dir.filePath("schema.ini")).contains("Col2=T Char Width 8"));
}

TEST(TextExport, BadInputRaisesJetsErrorsAndWritesNothing)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("schema.ini"), "[bad.txt]\nFormat=Bogus\n");
    EXPECT_EQ(errorNumber([&] { exportRows("Text;", dir.path(), "bad#txt"); }), 3442);
    EXPECT_FALSE(QFile::exists(dir.filePath("bad.txt")));

    writeFile(dir.filePath("old.txt"), "keep");
    EXPECT_EQ(errorNumber([&] { exportRows("Text;", dir.path(), "old#txt"); }), 3010);
    EXPECT_EQ(readFile(dir.filePath("old.txt")), QByteArray("keep"));

    EXPECT_EQ(errorNumber([&] { exportRows("Text;", dir.filePath("missing"), "x#txt"); }), 3044);
    EXPECT_EQ(errorNumber([&] { exportRows("Lotus WK1;", dir.path(), "x"); }), 3170);

    {
        auto writer = openWriter("Text;", dir.path().toStdString(), "dropped#txt", kColumns);
        writer->writeRow(sampleRows()[0]);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("dropped.txt"))) << "a writer dropped before finish leaves no file";
}

TEST(HtmlExport, AnIndependentParserReadsExactlyTheRows)
{
    QTemporaryDir dir;
    exportRows("HTML Export;", dir.path(), "Inventur vom 06.12.2026.html");
    const QString file = dir.filePath("Inventur vom 06.12.2026.html");
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_TRUE(readFile(file).contains("charset=utf-8"));

    EXPECT_EQ(testsupport::htmlTitle(file), "Inventur vom 06.12.2026");
    const QJsonArray rows = testsupport::htmlTableRows(file);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].toArray().toVariantList(), (QVariantList{"BUCHNR", "TITEL", "AUTOR"}));
    EXPECT_EQ(rows[1].toArray().toVariantList(),
              (QVariantList{"4", QStringLiteral("Äpfel, Birnen und Quitten"), QStringLiteral("Öhler, Jürgen")}));
    EXPECT_EQ(rows[2].toArray().toVariantList(), (QVariantList{"1004", "Das \"Zitat\" im Titel", ""}));
    EXPECT_EQ(rows[3].toArray().toVariantList(), (QVariantList{"1010", QStringLiteral("Preise in € und <b>&</b>"), ""}));
}

#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/QueryDef.h"
#include "tests/support/Fixtures.h"

TEST(IsamExportStatement, ATemporaryQueryIsExportedAsHtmlAndText)
{
    testsupport::TempFolder dir;
    const QString catalogue = dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb");
    QDir(dir.path()).mkdir("REPORTS");
    const std::string folder = dir.file("REPORTS/").toStdString();
    DBEngine engine;
    auto db = engine.openDatabase(catalogue.toStdString());
    db->createQueryDef("Query5212340",
                       " SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS AUTOR "
                       "FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer ORDER BY EXEMPLAR.EXEMPLARNUMMER");
    db->execute("Select  [BUCHNR], [TITEL], [AUTOR] INTO [fehlend.htm] IN \"" + folder +
                    "\"[HTML Export;] FROM [Query5212340]  WHERE AUTOR IS NULL ;",
                dbFailOnError);
    EXPECT_EQ(db->recordsAffected(), 4) << "the copies without author";
    const QByteArray html = readFile(dir.file("REPORTS/fehlend.htm"));
    EXPECT_EQ(html.count("<tr valign=\"top\">"), 4) << html.toStdString();
    EXPECT_TRUE(html.contains("Handbuch der Bibliothekspraxis"));

    db->execute("Select  [BUCHNR], [AUTOR] INTO [liste#csv] IN \"" + folder + "\"[Text;] FROM [Query5212340] ;",
                dbFailOnError);
    const QByteArray csv = readFile(dir.file("REPORTS/liste.csv"));
    EXPECT_TRUE(csv.startsWith("\"BUCHNR\",\"AUTOR\"\r\n1,\"Goethe, Johann Wolfgang von\"\r\n")) << csv.toStdString();
    EXPECT_TRUE(readFile(dir.file("REPORTS/schema.ini")).contains("[liste.csv]"));

    try {
        db->execute("Select  [BUCHNR] INTO [liste#csv] IN \"" + folder + "\"[Text;] FROM [Query5212340] ;", dbFailOnError);
        FAIL() << "an existing target must be refused";
    } catch (const DaoError& e) {
        EXPECT_EQ(e.number(), 3010);
    }
    db->deleteQueryDef("Query5212340");
}

TEST(TextExport, ComputedColumnsAreWrittenWithTheirJetType)
{
    testsupport::TempFolder folder;
    dao::DBEngine engine;
    auto db = engine.createDatabase(folder.file("quelle.mdb").toStdString(), dbLangGeneral);
    db->execute("CREATE TABLE t (D DATETIME, C CURRENCY)", dbFailOnError);
    db->execute("INSERT INTO t VALUES (#1/15/2003 13:05#, 1.25)", dbFailOnError);
    db->execute("SELECT D + 1 AS Morgen, DateSerial(2003, 2, 1) AS Erster, Sum(C) AS Summe INTO [aus#txt] IN '"
                    + folder.path().toStdString() + "' [Text;] FROM t GROUP BY D",
                dbFailOnError);
    EXPECT_EQ(folder.read("aus.txt"),
              QByteArray("\"Morgen\",\"Erster\",\"Summe\"\r\n16.01.2003 13:05:00,01.02.2003 00:00:00,1.25\r\n"));
    EXPECT_TRUE(
        folder.read("schema.ini").contains("Col1=Morgen DateTime\r\nCol2=Erster DateTime\r\nCol3=Summe Currency"));
}
