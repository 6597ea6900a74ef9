#pragma once
// Prepares translated SQL and binds its parameters. Jet treats every name it
// cannot bind as a parameter: such names are bound from the given values, and
// when values are missing the error is 3061 with the count of unbound names.
#include "engine/SqliteStatement.h"
#include "engine/Storage.h"

#include <string>

namespace dao {

class ParameterBinder {
public:
    ParameterBinder(sqlite3* db, const sql::Statement& st, const ParameterValues& values)
        : db_(db), st_(st), values_(values)
    {
    }
    SqliteStatement prepare() const;

    // Names SQLite could not bind in the statement (probing, without values).
    std::vector<std::string> unboundNames() const;

    // Replaces every reference to a (dotted) column name outside string literals.
    static std::string replaceName(const std::string& sql, const std::string& dottedName,
                                   const std::string& replacement);

private:
    const Variant* valueFor(const std::string& name) const;
    sqlite3* db_;
    const sql::Statement& st_;
    const ParameterValues& values_;
};

} // namespace dao
