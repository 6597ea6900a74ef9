// The engine's copies of Access tables hold what the file holds: every user
// table of the fixtures, read through a query, gives the rows mdb-export
// prints for it, value by value (text in both of Jet 4's stored forms, keys
// that become the copy's order, tables without a key).
#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Storage.h"
#include "tests/support/TempFolder.h"

#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const char kNull[] = "\x1d";

// A number as both sides are compared: six significant digits.
std::string number(double d)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", d);
    return text;
}

// One value of mdb-export's output in the form the engine's value is given in.
std::string exported(const std::string& text, int type)
{
    if (text == kNull)
        return type == dao::dbBoolean ? "0" : "null";
    switch (type) {
    case dao::dbBoolean: return text == "0" ? "0" : "1";
    case dao::dbByte: case dao::dbInteger: case dao::dbLong: case dao::dbCurrency: case dao::dbSingle:
    case dao::dbDouble:
        return number(std::stod(text));
    case dao::dbBinary: case dao::dbLongBinary: case dao::dbGUID: return "bytes";
    default: return text;
    }
}

std::string engineValue(const dao::Variant& v, int type)
{
    if (type == dao::dbBoolean)
        return !v.isNull() && v.toDouble() != 0 ? "1" : "0";
    if (v.isNull())
        return "null";
    switch (type) {
    case dao::dbByte: case dao::dbInteger: case dao::dbLong: case dao::dbCurrency: case dao::dbSingle:
    case dao::dbDouble:
        return number(v.toDouble());
    case dao::dbBinary: case dao::dbLongBinary: case dao::dbGUID: return "bytes";
    case dao::dbDate: return dao::formatJetDate(v.toDouble());
    default: return v.toText().empty() ? "null" : v.toText(); // mdb-export prints no zero-length text
    }
}

std::vector<std::string> exportedRows(const QString& file, const std::string& table, const std::vector<int>& types)
{
    const QString stamp = QStringLiteral("%Y-%m-%d %H:%M:%S");
    QProcess p;
    p.start(QStringLiteral("mdb-export"), {QStringLiteral("-H"), QStringLiteral("-Q"), QStringLiteral("-d"),
                                           QStringLiteral("\x1f"), QStringLiteral("-R"), QStringLiteral("\x1e"),
                                           QStringLiteral("-0"), QString::fromLatin1(kNull), QStringLiteral("-D"),
                                           stamp, QStringLiteral("-T"), stamp, file, QString::fromStdString(table)});
    EXPECT_TRUE(p.waitForFinished(60000));
    const std::string out = p.readAllStandardOutput().toStdString();
    std::vector<std::string> rows;
    size_t start = 0;
    for (size_t end = out.find('\x1e'); end != std::string::npos; start = end + 1, end = out.find('\x1e', start)) {
        const std::string line = out.substr(start, end - start);
        std::string row;
        size_t from = 0;
        for (size_t i = 0; i < types.size(); ++i) {
            const size_t to = std::min(line.find('\x1f', from), line.size());
            row += exported(line.substr(from, to - from), types[i]) + "|";
            from = to + 1;
        }
        rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<std::string> engineRows(dao::Database& db, const std::string& table, std::vector<int>& types)
{
    auto rs = db.openRecordset("SELECT * FROM [" + table + "]", dao::dbOpenSnapshot);
    types.clear();
    for (int i = 0; i < rs->fields().count(); ++i)
        types.push_back(rs->field(i)->type());
    std::vector<std::string> rows;
    for (; !rs->eof(); rs->moveNext()) {
        std::string row;
        for (size_t i = 0; i < types.size(); ++i)
            row += engineValue(rs->value(static_cast<int>(i)), types[i]) + "|";
        rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

TEST(AccessCopy, EveryUserTableOfTheFixturesHoldsWhatMdbExportReads)
{
    testsupport::TempFolder folder;
    for (const char* fixture : {"catalogue/veltrano.mdb", "inventory/db_inv.mdb", "inventory/db_inv-sample.mdb"}) {
        const QString file = folder.copyFixture(QString::fromLatin1(fixture));
        dao::DBEngine engine;
        auto db = engine.openDatabase(file.toStdString());
        int tables = 0;
        for (const std::string& table : db->storage()->tableNames(false)) {
            SCOPED_TRACE(std::string(fixture) + " " + table);
            std::vector<int> types;
            const std::vector<std::string> ours = engineRows(*db, table, types);
            const std::vector<std::string> theirs = exportedRows(file, table, types);
            EXPECT_EQ(ours.size(), theirs.size());
            std::vector<std::string> onlyOurs, onlyTheirs;
            std::set_difference(ours.begin(), ours.end(), theirs.begin(), theirs.end(), std::back_inserter(onlyOurs));
            std::set_difference(theirs.begin(), theirs.end(), ours.begin(), ours.end(), std::back_inserter(onlyTheirs));
            EXPECT_EQ(onlyOurs, std::vector<std::string>());
            EXPECT_EQ(onlyTheirs, std::vector<std::string>());
            ++tables;
        }
        EXPECT_GT(tables, 0);
    }
}

TEST(AccessCopy, TheKeyOfACopyFindsAndOrdersItsRows)
{
    testsupport::TempFolder folder;
    dao::DBEngine engine;
    auto db = engine.openDatabase(folder.copyFixture("catalogue/veltrano-100k.mdb").toStdString());
    // Every copy number once, ascending, with nothing lost: the key became the copy's order.
    auto all = db->openRecordset("SELECT EXEMPLARNUMMER FROM EXEMPLAR ORDER BY EXEMPLARNUMMER DESC",
                                 dao::dbOpenSnapshot);
    long rows = 0;
    double previous = 1e18;
    bool descending = true;
    for (; !all->eof(); all->moveNext(), ++rows) {
        const double n = all->value(0).toDouble();
        descending = descending && n < previous;
        previous = n;
    }
    EXPECT_EQ(rows, 100000);
    EXPECT_TRUE(descending);
    // A lookup by key, and one along the other index, agree with each other.
    auto one = db->openRecordset("SELECT EXEMPLARNUMMER, TITEL FROM EXEMPLAR WHERE EXEMPLARNUMMER = " +
                                     std::to_string(static_cast<long>(previous)),
                                 dao::dbOpenSnapshot);
    ASSERT_FALSE(one->eof());
    const std::string title = one->value(1).toText();
    auto same = db->openRecordset("SELECT count(*) FROM EXEMPLAR WHERE TITEL = " + title + " AND EXEMPLARNUMMER = " +
                                      std::to_string(static_cast<long>(previous)),
                                  dao::dbOpenSnapshot);
    EXPECT_EQ(same->value(0).toDouble(), 1);
}
