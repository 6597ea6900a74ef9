#pragma once
// The VBA expression functions and Jet operators as SQLite functions (jet_*).
// A function that fails (Overflow, Type mismatch ...) ends the statement with a
// SQLite error whose message is "<VBA text> (error <n>)"; functionError turns
// such a message back into the DaoError the engine raises.
#include "engine/DaoError.h"

#include <optional>
#include <string_view>

struct sqlite3;

namespace dao::sql {

void registerScalarFunctions(sqlite3* db);    // text, conversion, numbers, operators
void registerDateFunctions(sqlite3* db);      // dates and Format
void registerAggregateFunctions(sqlite3* db); // First, Last, StDev, Var

std::optional<DaoError> functionError(std::string_view sqliteMessage);

} // namespace dao::sql
