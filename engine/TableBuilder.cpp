#include "engine/TableBuilder.h"

#include "engine/DaoConstants.h"
#include "engine/Metadata.h"
#include "engine/SqliteStatement.h"
#include "engine/sql/Quote.h"

#include <strings.h>

namespace dao {

using sql::quoteIdentifier;

namespace {

// Numbers and nulls only. Written as two comparisons: SQLite builds a
// temporary lookup table for an IN list on every row it checks, which made
// bulk inserts several times slower.
std::string numericTypeCheck(const std::string& column)
{
    return " CHECK (typeof(" + column + ") <> 'text' AND typeof(" + column + ") <> 'blob')";
}

const char* affinity(int type)
{
    switch (type) {
    case dbBoolean: case dbByte: case dbInteger: case dbLong: case dbBigInt:
        return "INTEGER";
    case dbCurrency: case dbSingle: case dbDouble: case dbDate: case dbNumeric: case dbDecimal: case dbFloat:
    case dbTime: case dbTimeStamp:
        return "REAL";
    case dbText: case dbMemo: case dbChar:
        return "TEXT";
    default:
        return "BLOB";
    }
}

std::string rangeCheck(const std::string& q, int type)
{
    const char* bounds = nullptr;
    switch (type) {
    case dbByte: bounds = "0 AND 255"; break;
    case dbInteger: bounds = "-32768 AND 32767"; break;
    case dbLong: bounds = "-2147483648 AND 2147483647"; break;
    case dbBoolean: bounds = "-1 AND 1"; break;
    default: return {};
    }
    return std::string(" CHECK (") + q + " IS NULL OR " + q + " BETWEEN " + bounds + ")";
}

} // namespace

std::string TableBuilder::sqliteIndexName(const std::string& table, const std::string& index)
{
    return table + "." + index;
}

const ColumnSchema* TableBuilder::rowidColumn(const TableSchema& t)
{
    for (const auto& c : t.columns)
        if (c.autoIncrement() && (c.type == dbLong || c.type == dbBigInt))
            return &c;
    return nullptr;
}

void TableBuilder::createTable(const TableSchema& t, bool writable, const ColumnSchema* copyRowid) const
{
    const ColumnSchema* rowid = writable ? rowidColumn(t) : copyRowid;
    std::string sql = "CREATE TABLE " + quoteIdentifier(schema_) + "." + quoteIdentifier(t.name) + " (";
    bool first = true;
    for (const auto& c : t.columns) {
        if (!first)
            sql += ", ";
        first = false;
        const std::string q = quoteIdentifier(c.name);
        sql += q + " ";
        if (&c == rowid) {
            sql += writable ? "INTEGER PRIMARY KEY AUTOINCREMENT" : "INTEGER PRIMARY KEY";
            continue;
        }
        sql += affinity(c.type);
        if (isTextType(c.type))
            sql += " COLLATE JETTEXT";
        if (!writable)
            continue;
        if (c.required)
            sql += " NOT NULL";
        if (!c.defaultValue.empty())
            sql += " DEFAULT (" + c.defaultValue + ")";
        switch (c.type) {
        case dbByte: case dbInteger: case dbLong: case dbBoolean:
            sql += " CONSTRAINT " + quoteIdentifier("jet_type_" + c.name) + numericTypeCheck(q);
            sql += " CONSTRAINT " + quoteIdentifier("jet_range_" + c.name) + rangeCheck(q, c.type);
            break;
        case dbCurrency: case dbSingle: case dbDouble: case dbDate:
            sql += " CONSTRAINT " + quoteIdentifier("jet_type_" + c.name) + numericTypeCheck(q);
            break;
        case dbText: case dbChar:
            if (c.size > 0)
                sql += " CONSTRAINT " + quoteIdentifier("jet_size_" + c.name) + " CHECK (length(" + q
                       + ") <= " + std::to_string(c.size) + ")";
            break;
        default:
            break;
        }
    }
    sql += ")";
    SqliteStatement(db_, sql).step();
    if (!writable)
        return;
    // Currency keeps four decimal places: values written with more are rounded at once.
    const std::string table = quoteIdentifier(t.name);
    for (const auto& c : t.columns) {
        if (c.type != dbCurrency)
            continue;
        const std::string q = quoteIdentifier(c.name);
        const std::string fix = " BEGIN UPDATE " + table + " SET " + q + " = round(" + q + ", 4) WHERE rowid = NEW.rowid AND "
                                + q + " <> round(" + q + ", 4); END";
        SqliteStatement(db_, "CREATE TRIGGER " + quoteIdentifier(schema_) + "."
                                 + quoteIdentifier("jet_currency_insert." + t.name + "." + c.name) + " AFTER INSERT ON "
                                 + table + fix)
            .step();
        SqliteStatement(db_, "CREATE TRIGGER " + quoteIdentifier(schema_) + "."
                                 + quoteIdentifier("jet_currency_update." + t.name + "." + c.name) + " AFTER UPDATE OF "
                                 + q + " ON " + table + fix)
            .step();
    }
}

void TableBuilder::createIndex(const std::string& table, const IndexSchema& x) const
{
    std::string sql = std::string("CREATE ") + (x.unique || x.primary ? "UNIQUE " : "") + "INDEX "
                      + quoteIdentifier(schema_) + "." + quoteIdentifier(sqliteIndexName(table, x.name)) + " ON "
                      + quoteIdentifier(table) + " (";
    bool first = true;
    for (const auto& [field, desc] : x.fields) {
        if (!first)
            sql += ", ";
        first = false;
        sql += quoteIdentifier(field) + (desc ? " DESC" : "");
    }
    sql += ")";
    SqliteStatement(db_, sql).step();
}

void TableBuilder::dropIndex(const std::string& table, const std::string& index) const
{
    SqliteStatement(db_, "DROP INDEX IF EXISTS " + quoteIdentifier(schema_) + "."
                             + quoteIdentifier(sqliteIndexName(table, index)))
        .step();
}

} // namespace dao
