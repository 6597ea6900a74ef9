#include "SqlTestDb.h"

#include "platform/CodePages.h"

#include "engine/JetErrors.h"
#include "engine/sql/Quote.h"
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
        dao::sql::ResolvedTable t;
        t.name = ref.name;
        if (ref.externalPath.empty())
            t.schema = "main";
        for (const auto& [path, schema] : attached_)
            if (path == ref.externalPath)
                t.schema = schema;
        if (t.schema.empty())
            throw dao::jet::fileNotFound(ref.externalPath);
        t.sql = dao::sql::quoteIdentifier(t.schema) + "." + dao::sql::quoteIdentifier(t.name);
        t.columns = columns(t.schema, t.name);
        return t;
    };
}

std::optional<std::vector<dao::sql::TableColumn>> SqlTestDb::columns(const std::string& schema,
                                                                     const std::string& table)
{
    using dao::sql::JetType;
    std::vector<dao::sql::TableColumn> out;
    for (const Row& row : query("PRAGMA " + dao::sql::quoteIdentifier(schema) + ".table_info("
                                + dao::sql::quoteIdentifier(table) + ")")) {
        const QString declared = QString::fromStdString(row.at(2).value_or("")).toUpper();
        JetType type = JetType::Text;
        if (declared.contains("DATE"))
            type = JetType::Date;
        else if (declared.contains("INT"))
            type = JetType::Long;
        else if (declared.contains("REAL") || declared.contains("FLOA") || declared.contains("DOUB"))
            type = JetType::Double;
        else if (declared.contains("CURRENCY"))
            type = JetType::Currency;
        out.push_back({*row.at(1), type});
    }
    if (out.empty())
        return std::nullopt;
    return out;
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
    return platform::toCp1252(QString::fromUtf8(utf8.c_str())).toStdString();
}

} // namespace sqltest
