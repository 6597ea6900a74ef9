#pragma once
// Copies one table of a genuine Access file into a SQLite schema: its rows in
// one bulk insert, then real SQLite indexes for its Jet indexes, and its Jet
// description into the schema's metadata.
#include "engine/TableSchema.h"

#include <string>

struct sqlite3;

namespace dao {

class MdbFile;

class AccessLoader {
public:
    AccessLoader(sqlite3* db, std::string schema) : db_(db), schema_(std::move(schema)) {}
    void load(MdbFile& mdb, const std::string& table) const;

    // The column whose order the copy takes: a single numeric primary key, else a
    // single numeric unique index; -1 keeps the file's order.
    static int sortColumn(const TableSchema& table);

private:
    sqlite3* db_;
    std::string schema_;
};

} // namespace dao
