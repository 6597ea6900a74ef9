#pragma once
// Transactions of a SQLite connection, in one place: named savepoints (which
// start a transaction when none is open) and the scope of one write that must
// happen whole.
#include <string>

struct sqlite3;

namespace dao {

// Opens a savepoint; outside a transaction it starts one.
void beginSavepoint(sqlite3* db, const std::string& name);
// Keeps what was done since the savepoint; commits when the savepoint started the transaction.
void releaseSavepoint(sqlite3* db, const std::string& name);
// Undoes what was done since the savepoint and closes it.
void rollbackSavepoint(sqlite3* db, const std::string& name);

// One write with the checks before it: a transaction of its own (BEGIN IMMEDIATE, so
// that the write lock is held before anything is compared) or, inside a transaction
// the caller keeps open, a savepoint. Rolled back unless committed.
class WriteScope {
public:
    explicit WriteScope(sqlite3* db);
    ~WriteScope();
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;
    void commit();

private:
    sqlite3* db_;
    bool own_;
    bool done_ = false;
};

} // namespace dao
