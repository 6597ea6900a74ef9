#include "engine/SqliteErrors.h"

#include "engine/JetErrors.h"
#include "engine/sql/JetFunctions.h"

#include <sqlite3.h>

namespace dao {

namespace {

std::string after(const std::string& message, const std::string& prefix)
{
    auto pos = message.find(prefix);
    return pos == std::string::npos ? std::string() : message.substr(pos + prefix.size());
}

// "main.EXEMPLAR" → "EXEMPLAR"; "T.col" → "col".
std::string lastPart(const std::string& dotted)
{
    auto dot = dotted.rfind('.');
    return dot == std::string::npos ? dotted : dotted.substr(dot + 1);
}

} // namespace

DaoError sqliteError(sqlite3* db, int rc)
{
    (void)rc;
    return sqliteError(sqlite3_extended_errcode(db), sqlite3_errmsg(db));
}

DaoError sqliteError(int ext, const std::string& message)
{
    const int primary = ext & 0xff;
    // A Jet function that failed (Overflow, Type mismatch …) names its own error.
    if (auto failed = sql::functionError(message))
        return *failed;
    if (auto table = after(message, "no such table: "); !table.empty())
        return jet::inputTableNotFound(lastPart(table));
    // A name the translator took for a column of a table whose columns it was not told.
    if (!after(message, "no such column: ").empty())
        return jet::tooFewParameters(1);
    switch (primary) {
    case SQLITE_CONSTRAINT: {
        if (ext == SQLITE_CONSTRAINT_NOTNULL)
            return jet::requiredNull(lastPart(after(message, "NOT NULL constraint failed: ")));
        if (ext == SQLITE_CONSTRAINT_CHECK) {
            const std::string name = after(message, "CHECK constraint failed: ");
            if (name.rfind("jet_range", 0) == 0)
                return jet::numericOverflow();
            if (name.rfind("jet_size", 0) == 0)
                return jet::fieldTooSmall();
            if (name.rfind("jet_type", 0) == 0)
                return jet::typeMismatch();
            if (name.rfind("jet_zerolength", 0) == 0)
                return jet::zeroLength(name.substr(15));
        }
        return jet::keyDuplicate();
    }
    case SQLITE_AUTH:
    case SQLITE_READONLY:
        return jet::readOnly();
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return jet::error(3218);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return jet::error(3049, {""});
    case SQLITE_FULL:
        return jet::error(3026);
    case SQLITE_IOERR:
        return jet::error(3043);
    case SQLITE_CANTOPEN:
        return jet::fileAccessDenied("");
    default:
        return jet::error(3000, {std::to_string(ext), message});
    }
}

} // namespace dao
