#pragma once
// Statements that change a schema: CREATE TABLE and CREATE INDEX (with Jet's
// metadata), DROP TABLE, DROP INDEX, and SELECT … INTO a new table.
#include "engine/Storage.h"

namespace dao {

class SchemaChanges {
public:
    explicit SchemaChanges(Storage& storage) : storage_(storage) {}

    long createTable(const sql::Statement& st);
    long createIndex(const sql::Statement& st);
    long dropTable(const sql::Statement& st);
    long dropIndex(const sql::Statement& st);
    long selectInto(const sql::Statement& st, const ParameterValues& values); // rows copied

private:
    sqlite3* db() const;
    static bool isForeignFormat(const std::string& connect);
    Storage& storage_;
};

} // namespace dao
