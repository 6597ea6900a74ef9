#include "engine/Savepoint.h"

#include "engine/SqliteErrors.h"
#include "engine/sql/Quote.h"

#include <sqlite3.h>

namespace dao {

namespace {

void run(sqlite3* db, const std::string& sql)
{
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw sqliteError(db, rc);
}

std::string rollbackSql(const std::string& name)
{
    const std::string quoted = sql::quoteIdentifier(name);
    return "ROLLBACK TO " + quoted + "; RELEASE " + quoted;
}

} // namespace

void beginSavepoint(sqlite3* db, const std::string& name) { run(db, "SAVEPOINT " + sql::quoteIdentifier(name)); }

void releaseSavepoint(sqlite3* db, const std::string& name) { run(db, "RELEASE " + sql::quoteIdentifier(name)); }

void rollbackSavepoint(sqlite3* db, const std::string& name) { run(db, rollbackSql(name)); }

Savepoint::Savepoint(sqlite3* db, std::string name, Start start)
    : db_(db), name_(std::move(name)), own_(start == Start::Immediate && sqlite3_get_autocommit(db) != 0)
{
    if (own_)
        run(db_, "BEGIN IMMEDIATE");
    else
        beginSavepoint(db_, name_);
}

Savepoint::~Savepoint()
{
    if (done_)
        return;
    // Nothing may escape a destructor: a failed rollback leaves SQLite's own recovery to do the rest.
    sqlite3_exec(db_, own_ ? "ROLLBACK" : rollbackSql(name_).c_str(), nullptr, nullptr, nullptr);
}

void Savepoint::commit()
{
    if (own_)
        run(db_, "COMMIT");
    else
        releaseSavepoint(db_, name_);
    done_ = true;
}

} // namespace dao
