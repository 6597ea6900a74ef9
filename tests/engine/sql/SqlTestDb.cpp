#include "SqlTestDb.h"

#include "engine/DaoError.h"
#include "tests/support/Fixtures.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <stdexcept>

namespace sqltest {

SqlTestDb::SqlTestDb()
{
    sqlite3_open(":memory:", &db_);
    dao::sql::registerJetFunctions(db_);
}

SqlTestDb::~SqlTestDb()
{
    sqlite3_close(db_);
}

void SqlTestDb::exec(const std::string& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        ADD_FAILURE() << "SQLite: " << (err ? err : "?") << "\n in: " << sql;
        sqlite3_free(err);
    }
}

std::vector<Row> SqlTestDb::query(const std::string& sql)
{
    std::vector<Row> rows;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "SQLite: " << sqlite3_errmsg(db_) << "\n in: " << sql;
        return rows;
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        Row row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            if (sqlite3_column_type(stmt, i) == SQLITE_NULL)
                row.emplace_back(std::nullopt);
            else
                row.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
        }
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        ADD_FAILURE() << "SQLite: " << sqlite3_errmsg(db_) << "\n in: " << sql;
    sqlite3_finalize(stmt);
    return rows;
}

dao::sql::TableResolver SqlTestDb::resolver()
{
    return [this](const dao::sql::TableRef& ref) {
        resolved.push_back(ref);
        if (ref.externalPath.empty())
            return "\"main\".\"" + ref.name + "\"";
        for (const auto& [path, schema] : attached_)
            if (path == ref.externalPath)
                return "\"" + schema + "\".\"" + ref.name + "\"";
        throw dao::DaoError(3024, "Could not find file '" + ref.externalPath + "'.");
    };
}

std::vector<Row> SqlTestDb::jet(const std::string& jetSql)
{
    const auto st = dao::sql::translate(jetSql, resolver());
    return query(st.sql);
}

std::string SqlTestDb::jetError(const std::string& jetSql)
{
    const auto st = dao::sql::translate(jetSql, resolver());
    sqlite3_stmt* stmt = nullptr;
    std::string message;
    if (sqlite3_prepare_v2(db_, st.sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        return sqlite3_errmsg(db_);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
    }
    if (sqlite3_errcode(db_) != SQLITE_OK && sqlite3_errcode(db_) != SQLITE_DONE)
        message = sqlite3_errmsg(db_);
    sqlite3_finalize(stmt);
    return message;
}

void SqlTestDb::attach(const std::string& path, const std::string& schema)
{
    exec("ATTACH ':memory:' AS \"" + schema + "\"");
    attached_.emplace_back(path, schema);
}

std::vector<Row> markdownRows(const std::string& file, const std::string& heading)
{
    QFile f(testsupport::fixturePath(QString::fromStdString(file)));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing fixture " + file);
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    std::vector<Row> rows;
    int i = 0;
    while (i < lines.size() && !lines[i].contains(QString::fromStdString(heading)))
        ++i;
    while (i < lines.size() && !lines[i].startsWith("```"))
        ++i;
    for (++i; i < lines.size() && !lines[i].startsWith("```"); ++i) {
        QString line = lines[i].trimmed();
        const int close = line.lastIndexOf(QStringLiteral("]  #"));
        if (close >= 0)
            line = line.left(close + 1);
        const QJsonArray array = QJsonDocument::fromJson(line.toUtf8()).array();
        Row row;
        for (const auto& v : array) {
            if (v.isNull())
                row.emplace_back(std::nullopt);
            else if (v.isString())
                row.emplace_back(v.toString().toStdString());
            else if (v.isBool())
                row.emplace_back(v.toBool() ? "-1" : "0");
            else
                row.emplace_back(QString::number(static_cast<qint64>(v.toDouble())).toStdString());
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string toSqlString(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::string toCp1252(const std::string& utf8)
{
    const QString s = QString::fromUtf8(utf8.c_str());
    std::string out;
    static const char16_t high[32] = {0x20AC, 0x81, 0x201A, 0x192, 0x201E, 0x2026, 0x2020, 0x2021, 0x2C6, 0x2030, 0x160,
                                      0x2039, 0x152, 0x8D, 0x17D, 0x8F, 0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                      0x2013, 0x2014, 0x2DC, 0x2122, 0x161, 0x203A, 0x153, 0x9D, 0x17E, 0x178};
    for (QChar c : s) {
        const char16_t u = c.unicode();
        int code = -1;
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            code = u;
        for (int k = 0; k < 32 && code < 0; ++k)
            if (high[k] == u)
                code = 0x80 + k;
        out += static_cast<char>(code < 0 ? '?' : code);
    }
    return out;
}

} // namespace sqltest
