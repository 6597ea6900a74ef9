#pragma once
// Creates SQLite tables and indexes from Jet descriptions: text columns with
// collation JETTEXT, Jet's range and size rules as named CHECK constraints,
// auto-increment as INTEGER PRIMARY KEY AUTOINCREMENT.
#include "engine/TableSchema.h"

#include <string>

struct sqlite3;

namespace dao {

class TableBuilder {
public:
    TableBuilder(sqlite3* db, std::string schema) : db_(db), schema_(std::move(schema)) {}

    // writable: engine-made tables get Jet's checks and AUTOINCREMENT; copies of
    // Access tables get plain columns (their data is checked already) and copyRowid,
    // when given, as their INTEGER PRIMARY KEY. Indexes are not built here (see createIndex).
    void createTable(const TableSchema& table, bool writable, const ColumnSchema* copyRowid = nullptr) const;
    void createIndex(const std::string& table, const IndexSchema& index) const;
    void dropIndex(const std::string& table, const std::string& index) const;

    // The SQLite name of a Jet index (index names are per table in Jet, per schema in SQLite).
    static std::string sqliteIndexName(const std::string& table, const std::string& index);
    // The column that becomes a writable table's INTEGER PRIMARY KEY: its auto-increment Long, if any.
    static const ColumnSchema* rowidColumn(const TableSchema& table);

private:
    sqlite3* db_;
    std::string schema_;
};

} // namespace dao
