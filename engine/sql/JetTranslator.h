#pragma once
// Jet SQL (the dialect DAO 3.6 speaks) translated into SQLite SQL, with the
// statement's structure (Statement.h).
#include "Statement.h"

#include <string_view>

struct sqlite3;

namespace dao::sql {

// Translates one Jet statement. Bytes that are not valid UTF-8 are read as
// Windows-1252. Syntax errors raise DaoError with Jet's number and text.
Statement translate(std::string_view jetSql, const TableResolver& resolve);

// A SELECT narrowed by a recordset's Filter (a WHERE body) and ordered by its
// Sort (an ORDER BY body; empty keeps the statement's order). Both name the
// fields of the result. On a single SELECT without grouping, DISTINCT or TOP the
// filter joins its WHERE and the sort replaces its ORDER BY, so that indexes
// serve and an editable source stays editable; any other statement is read as
// a subquery and filtered and sorted from outside. Names in neither become
// parameters after those of the statement.
Statement refine(const Statement& base, std::string_view filter, std::string_view sort, const TableResolver& resolve);

// Registers on a connection the collation "JETTEXT" (Jet's General sort order:
// case-insensitive for all of Unicode) and every function the translated SQL calls.
void registerJetFunctions(sqlite3* db);

} // namespace dao::sql
