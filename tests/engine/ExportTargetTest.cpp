// Where exports land: tables of engine databases (new or existing), genuine
// Access files (read only), awkward paths, and the list of formats that write.
#include "engine/Database.h"
#include "engine/IsamWriter.h"
#include "engine/Recordset.h"
#include "platform/Registry.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/ExportFixture.h"
#include "tests/support/ExternalReaders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>

using exporttest::CatalogueExport;

namespace {

QByteArray digest(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

TEST(DatabaseTarget, ANewEngineDatabaseIsMadeAndAnExistingOneGainsTables)
{
    CatalogueExport source;
    const QString target = source.dir.file("Ziel Datenbank.mdb");
    EXPECT_EQ(source.exportTo("[" + target.toStdString() + "].[Bestand]"), 67);
    ASSERT_TRUE(QFile::exists(target));

    dao::DBEngine engine;
    auto check = [&](const std::string& table) {
        auto db = engine.openDatabase(target.toStdString());
        auto rs = db->openRecordset("SELECT * FROM [" + table + "] ORDER BY BUCHNR", dao::dbOpenSnapshot);
        const QJsonArray rows = enginetest::rowsOf(*rs);
        db->close();
        return rows;
    };
    const QJsonArray first = check("Bestand");
    auto original = source.db->openRecordset(source.select(), dao::dbOpenSnapshot);
    EXPECT_EQ(first, enginetest::rowsOf(*original)) << "the engine reads back exactly the rows";

    EXPECT_EQ(source.exportTo("[" + target.toStdString() + "].[Kopie]"), 67) << "a second table in the same database";
    EXPECT_EQ(enginetest::errorOf([&] { source.exportTo("[" + target.toStdString() + "].[Kopie]"); }), 3010);
    EXPECT_EQ(check("Kopie"), first);
    EXPECT_EQ(check("Bestand"), first);

    EXPECT_EQ(enginetest::errorOf([&] { source.exportTo("[" + source.dir.file("fehlt/neu.mdb").toStdString() + "].[X]"); }),
              3044);
    EXPECT_FALSE(QDir(source.dir.file("fehlt")).exists());
}

TEST(DatabaseTarget, AGenuineAccessFileIsReadOnly)
{
    CatalogueExport source;
    const QString access = source.dir.copyFixture("catalogue/veltrano.mdb", "alt.mdb");
    const QByteArray before = digest(access);
    try {
        source.exportTo("[" + access.toStdString() + "].[Bestand]");
        FAIL() << "an Access file cannot be written";
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), 3027);
        EXPECT_STREQ(e.what(), "Cannot update.  Database or object is read-only.");
    }
    EXPECT_EQ(digest(access), before);
}

TEST(ExportTargets, AFailureLeavesNoFileAndAnExistingTargetUntouched)
{
    CatalogueExport source;
    const QStringList before = filesIn(source.dir.path());
    const char* const formats[] = {"dBase IV", "Paradox 7.X", "FoxPro 3.0", "Excel 5.0", "Text", "HTML Export"};
    for (const char* format : formats) {
        SCOPED_TRACE(format);
        auto writer = dao::isam::openWriter(std::string(format) + ";", source.dir.path().toStdString(), "abbruch",
                                            {{"NR", dao::sql::JetType::Double, 0}, {"NOTIZ", dao::sql::JetType::Memo, 0}});
        writer->writeRow({dao::Variant(1.5), dao::Variant("erste Zeile")});
        // Dropped before finish(): an export that failed on its way.
    }
    EXPECT_EQ(filesIn(source.dir.path()), before) << "neither the table, its memo file nor a temporary file stays";

    // An existing target is refused and kept as it was.
    for (const char* format : formats) {
        SCOPED_TRACE(format);
        const std::string table = std::string(format).starts_with("Excel") ? "alt.xls"
                                  : std::string(format).starts_with("Paradox") ? "alt.db"
                                  : std::string(format).starts_with("Text") ? "alt.txt"
                                  : std::string(format).starts_with("HTML") ? "alt.htm" : "alt.dbf";
        source.dir.write(QString::fromStdString(table), "alte Daten");
        const std::string where = std::string(format).starts_with("Excel") ? source.dir.file(QString::fromStdString(table)).toStdString()
                                                                            : source.dir.path().toStdString();
        EXPECT_EQ(enginetest::errorOf([&] {
                      source.exportTo("[" + (std::string(format).starts_with("Excel") ? std::string("Blatt") : table) + "] IN \""
                                      + where + "\"[" + format + ";]");
                  }),
                  3010);
        EXPECT_EQ(source.dir.read(QString::fromStdString(table)), "alte Daten");
    }
}

TEST(ExportTargets, PathsWithBlanksUmlautsAndQuotes)
{
    CatalogueExport source;
    const QString folder = source.dir.file("Bücher 'neu' \"2026\"");
    ASSERT_TRUE(QDir().mkpath(folder));
    // Double quotes inside the IN string are written twice.
    QString quoted = folder;
    quoted.replace("\"", "\"\"");
    const std::string in = " IN \"" + quoted.toStdString() + "/\"";
    EXPECT_EQ(source.exportTo("[Größe 'a' \"b\".dbf]" + in + "[FoxPro 2.6;]"), 67);
    EXPECT_EQ(testsupport::dbfTable(folder + "/Größe 'a' \"b\".dbf")["rows"].toArray().size(), 67);
    EXPECT_TRUE(QFile::exists(folder + "/Größe 'a' \"b\".fpt"));

    const QString book = folder + "/Übersicht 'x'.xls";
    QString quotedBook = book;
    quotedBook.replace("\"", "\"\"");
    EXPECT_EQ(source.exportTo("[Übersicht] IN \"" + quotedBook.toStdString() + "\"[Excel 8.0;]"), 67);
    EXPECT_EQ(testsupport::xlrdWorkbook(book)["sheets"].toArray(), (QJsonArray{QStringLiteral("Übersicht")}));

    // A path in single quotes, the format right after it.
    QString singleQuoted = folder + "/Liste.xls";
    singleQuoted.replace("'", "''");
    EXPECT_EQ(source.exportTo("[Liste] IN '" + singleQuoted.toStdString() + "'[Excel 8.0;]"), 67);
    EXPECT_EQ(testsupport::xlrdWorkbook(folder + "/Liste.xls")["sheets"].toArray(), (QJsonArray{"Liste"}));
}

TEST(ExportTargets, TheRegistryListsExactlyTheFormatsThatWrite)
{
    QStringList written;
    for (const std::string& f : dao::isam::writableFormats())
        written << QString::fromStdString(f);
    for (const char* jet : {"3.5", "4.0"})
        EXPECT_EQ(platform::Registry::isamFormats(jet), written) << jet;
    testsupport::TempFolder dir;
    for (const QString& format : written) {
        SCOPED_TRACE(format.toStdString());
        auto writer = dao::isam::openWriter(format.toStdString() + ";", dir.path().toStdString(), "t",
                                            {{"N", dao::sql::JetType::Long, 0}});
        EXPECT_TRUE(writer);
    }
}
