#pragma once
// Maps SQLite's error codes and messages onto Jet's errors.
#include "engine/DaoError.h"

#include <string>

struct sqlite3;

namespace dao {

DaoError sqliteError(sqlite3* db, int rc);
DaoError sqliteError(int extendedCode, const std::string& message);

} // namespace dao
