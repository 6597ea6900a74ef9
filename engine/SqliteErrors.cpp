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

std::string unknownColumnName(const std::string& message) { return after(message, "no such column: "); }

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
    if (auto column = unknownColumnName(message); !column.empty())
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
                return {3315, "Field '" + name.substr(15) + "' cannot be a zero-length string."};
        }
        return jet::keyDuplicate();
    }
    case SQLITE_AUTH:
    case SQLITE_READONLY:
        return jet::readOnly();
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {3218, "Could not update; currently locked."};
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return {3049, "Cannot open database ''.  It may not be a database that your application recognizes, or the "
                      "file may be corrupt."};
    case SQLITE_FULL:
        return {3026, "Not enough space on disk."};
    case SQLITE_IOERR:
        return {3043, "Disk or network error."};
    case SQLITE_CANTOPEN:
        return {3051, "The Microsoft Jet database engine cannot open the file ''.  It is already opened exclusively "
                      "by another user, or you need permission to view its data."};
    default:
        return {3000, "Reserved error (" + std::to_string(ext) + "); " + message};
    }
}

} // namespace dao
