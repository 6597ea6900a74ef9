#include "engine/Metadata.h"

#include "engine/SqliteStatement.h"
#include "engine/Variant.h"
#include "engine/sql/Quote.h"

#include <ctime>
#include <sqlite3.h>
#include <strings.h>

namespace dao {

using sql::quoteIdentifier;

double jetNow()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return jetDateFromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                            local.tm_sec);
}

bool Metadata::isMetadataTable(const std::string& name)
{
    return strncasecmp(name.c_str(), "_jet_", 5) == 0 || strncasecmp(name.c_str(), "sqlite_", 7) == 0;
}

std::string Metadata::t(const char* table) const { return quoteIdentifier(schema_) + "." + table; }

namespace {

void exec(sqlite3* db, const std::string& sql)
{
    SqliteStatement s(db, sql);
    s.step();
}

std::string encodeFields(const IndexSchema& x)
{
    std::string out;
    for (const auto& [name, desc] : x.fields) {
        if (!out.empty())
            out += '\x1f';
        out += desc ? '-' : '+';
        out += name;
    }
    return out;
}

std::vector<std::pair<std::string, bool>> decodeFields(const std::string& text)
{
    std::vector<std::pair<std::string, bool>> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\x1f', pos);
        if (end == std::string::npos)
            end = text.size();
        if (end > pos)
            out.emplace_back(text.substr(pos + 1, end - pos - 1), text[pos] == '-');
        pos = end + 1;
    }
    return out;
}

} // namespace

void Metadata::create() const
{
    exec(db_, "CREATE TABLE IF NOT EXISTS " + t("_jet_tables")
                  + " (name TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, attributes INTEGER NOT NULL DEFAULT 0,"
                    " date_created REAL, last_updated REAL)");
    exec(db_, "CREATE TABLE IF NOT EXISTS " + t("_jet_columns")
                  + " (table_name TEXT NOT NULL COLLATE NOCASE, ordinal INTEGER NOT NULL, name TEXT NOT NULL COLLATE "
                    "NOCASE, type INTEGER NOT NULL, size INTEGER NOT NULL, attributes INTEGER NOT NULL, required "
                    "INTEGER NOT NULL, allow_zero_length INTEGER NOT NULL, default_value TEXT,"
                    " PRIMARY KEY (table_name, name))");
    exec(db_, "CREATE TABLE IF NOT EXISTS " + t("_jet_indexes")
                  + " (table_name TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE, ordinal INTEGER,"
                    " fields TEXT NOT NULL, is_primary INTEGER NOT NULL, is_unique INTEGER NOT NULL, is_required "
                    "INTEGER NOT NULL, ignore_nulls INTEGER NOT NULL, is_foreign INTEGER NOT NULL,"
                    " PRIMARY KEY (table_name, name))");
    exec(db_, "CREATE TABLE IF NOT EXISTS " + t("_jet_properties")
                  + " (table_name TEXT NOT NULL COLLATE NOCASE, column_name TEXT NOT NULL COLLATE NOCASE, name TEXT "
                    "NOT NULL COLLATE NOCASE, value TEXT, PRIMARY KEY (table_name, column_name, name))");
    exec(db_, "CREATE TABLE IF NOT EXISTS " + t("_jet_queries")
                  + " (name TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, sql TEXT NOT NULL, date_created REAL,"
                    " last_updated REAL)");
}

bool Metadata::present() const
{
    SqliteStatement s(db_, "SELECT 1 FROM " + quoteIdentifier(schema_)
                               + ".sqlite_master WHERE type = 'table' AND name = '_jet_columns'");
    return s.step();
}

std::vector<std::string> Metadata::tableNames() const
{
    std::vector<std::string> out;
    SqliteStatement s(db_, "SELECT name FROM " + t("_jet_tables") + " ORDER BY rowid");
    while (s.step())
        out.push_back(s.columnText(0));
    return out;
}

std::optional<TableSchema> Metadata::table(const std::string& name) const
{
    SqliteStatement s(db_, "SELECT name, attributes, date_created, last_updated FROM " + t("_jet_tables")
                               + " WHERE name = ?1");
    s.bindText(1, name);
    if (!s.step())
        return std::nullopt;
    TableSchema ts;
    ts.name = s.columnText(0);
    ts.attributes = static_cast<long>(s.columnInt(1));
    ts.dateCreated = s.columnDouble(2);
    ts.lastUpdated = s.columnDouble(3);

    SqliteStatement c(db_, "SELECT name, type, size, attributes, required, allow_zero_length, default_value FROM "
                               + t("_jet_columns") + " WHERE table_name = ?1 ORDER BY ordinal");
    c.bindText(1, name);
    while (c.step()) {
        ColumnSchema col;
        col.name = c.columnText(0);
        col.type = static_cast<int>(c.columnInt(1));
        col.size = static_cast<int>(c.columnInt(2));
        col.attributes = static_cast<int>(c.columnInt(3));
        col.required = c.columnInt(4) != 0;
        col.allowZeroLength = c.columnInt(5) != 0;
        col.defaultValue = c.columnText(6);
        ts.columns.push_back(std::move(col));
    }
    SqliteStatement p(db_, "SELECT column_name, name, value FROM " + t("_jet_properties") + " WHERE table_name = ?1");
    p.bindText(1, name);
    while (p.step()) {
        const std::string column = p.columnText(0);
        for (auto& col : ts.columns)
            if (strcasecmp(col.name.c_str(), column.c_str()) == 0)
                col.properties[p.columnText(1)] = p.columnText(2);
    }
    SqliteStatement x(db_, "SELECT name, fields, is_primary, is_unique, is_required, ignore_nulls, is_foreign FROM "
                               + t("_jet_indexes") + " WHERE table_name = ?1 ORDER BY ordinal, rowid");
    x.bindText(1, name);
    while (x.step()) {
        IndexSchema idx;
        idx.name = x.columnText(0);
        idx.fields = decodeFields(x.columnText(1));
        idx.primary = x.columnInt(2) != 0;
        idx.unique = x.columnInt(3) != 0;
        idx.required = x.columnInt(4) != 0;
        idx.ignoreNulls = x.columnInt(5) != 0;
        idx.foreign = x.columnInt(6) != 0;
        ts.indexes.push_back(std::move(idx));
    }
    return ts;
}

void Metadata::writeTable(const TableSchema& ts) const
{
    dropTable(ts.name);
    SqliteStatement s(db_, "INSERT INTO " + t("_jet_tables")
                               + " (name, attributes, date_created, last_updated) VALUES (?1, ?2, ?3, ?4)");
    s.bindText(1, ts.name);
    s.bindInt(2, ts.attributes);
    s.bindDouble(3, ts.dateCreated);
    s.bindDouble(4, ts.lastUpdated);
    s.step();
    SqliteStatement c(db_, "INSERT INTO " + t("_jet_columns")
                               + " (table_name, ordinal, name, type, size, attributes, required, allow_zero_length,"
                                 " default_value) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    SqliteStatement p(db_, "INSERT OR REPLACE INTO " + t("_jet_properties")
                               + " (table_name, column_name, name, value) VALUES (?1, ?2, ?3, ?4)");
    int ordinal = 0;
    for (const auto& col : ts.columns) {
        c.reset();
        c.bindText(1, ts.name);
        c.bindInt(2, ordinal++);
        c.bindText(3, col.name);
        c.bindInt(4, col.type);
        c.bindInt(5, col.size);
        c.bindInt(6, col.attributes);
        c.bindInt(7, col.required);
        c.bindInt(8, col.allowZeroLength);
        if (col.defaultValue.empty())
            c.bindNull(9);
        else
            c.bindText(9, col.defaultValue);
        c.step();
        for (const auto& [name, value] : col.properties) {
            p.reset();
            p.bindText(1, ts.name);
            p.bindText(2, col.name);
            p.bindText(3, name);
            p.bindText(4, value);
            p.step();
        }
    }
    for (const auto& idx : ts.indexes)
        addIndex(ts.name, idx);
}

void Metadata::dropTable(const std::string& name) const
{
    for (const char* table : {"_jet_tables", "_jet_columns", "_jet_indexes", "_jet_properties"}) {
        SqliteStatement s(db_, "DELETE FROM " + t(table) + (std::string(table) == "_jet_tables" ? " WHERE name = ?1"
                                                                                                 : " WHERE table_name = ?1"));
        s.bindText(1, name);
        s.step();
    }
}

void Metadata::touchTable(const std::string& name) const
{
    SqliteStatement s(db_, "UPDATE " + t("_jet_tables") + " SET last_updated = ?2 WHERE name = ?1");
    s.bindText(1, name);
    s.bindDouble(2, jetNow());
    s.step();
}

void Metadata::addIndex(const std::string& table, const IndexSchema& x) const
{
    SqliteStatement s(db_, "INSERT OR REPLACE INTO " + t("_jet_indexes")
                               + " (table_name, name, ordinal, fields, is_primary, is_unique, is_required,"
                                 " ignore_nulls, is_foreign) VALUES (?1, ?2, (SELECT count(*) FROM "
                               + t("_jet_indexes") + " WHERE table_name = ?1), ?3, ?4, ?5, ?6, ?7, ?8)");
    s.bindText(1, table);
    s.bindText(2, x.name);
    s.bindText(3, encodeFields(x));
    s.bindInt(4, x.primary);
    s.bindInt(5, x.unique || x.primary);
    s.bindInt(6, x.required || x.primary);
    s.bindInt(7, x.ignoreNulls);
    s.bindInt(8, x.foreign);
    s.step();
}

void Metadata::dropIndex(const std::string& table, const std::string& index) const
{
    SqliteStatement s(db_, "DELETE FROM " + t("_jet_indexes") + " WHERE table_name = ?1 AND name = ?2");
    s.bindText(1, table);
    s.bindText(2, index);
    s.step();
}

void Metadata::setColumnProperty(const std::string& table, const std::string& column, const std::string& name,
                                 const std::string& value) const
{
    SqliteStatement p(db_, "INSERT OR REPLACE INTO " + t("_jet_properties")
                               + " (table_name, column_name, name, value) VALUES (?1, ?2, ?3, ?4)");
    p.bindText(1, table);
    p.bindText(2, column);
    p.bindText(3, name);
    p.bindText(4, value);
    p.step();
}

std::vector<SavedQuery> Metadata::queries() const
{
    std::vector<SavedQuery> out;
    SqliteStatement s(db_, "SELECT name, sql, date_created, last_updated FROM " + t("_jet_queries") + " ORDER BY name");
    while (s.step())
        out.push_back({s.columnText(0), s.columnText(1), s.columnDouble(2), s.columnDouble(3)});
    return out;
}

std::optional<SavedQuery> Metadata::query(const std::string& name) const
{
    SqliteStatement s(db_, "SELECT name, sql, date_created, last_updated FROM " + t("_jet_queries")
                               + " WHERE name = ?1");
    s.bindText(1, name);
    if (!s.step())
        return std::nullopt;
    return SavedQuery{s.columnText(0), s.columnText(1), s.columnDouble(2), s.columnDouble(3)};
}

void Metadata::saveQuery(const SavedQuery& q) const
{
    SqliteStatement s(db_, "INSERT OR REPLACE INTO " + t("_jet_queries")
                               + " (name, sql, date_created, last_updated) VALUES (?1, ?2, ?3, ?4)");
    s.bindText(1, q.name);
    s.bindText(2, q.sql);
    s.bindDouble(3, q.dateCreated);
    s.bindDouble(4, q.lastUpdated);
    s.step();
}

void Metadata::deleteQuery(const std::string& name) const
{
    SqliteStatement s(db_, "DELETE FROM " + t("_jet_queries") + " WHERE name = ?1");
    s.bindText(1, name);
    s.step();
}

} // namespace dao
