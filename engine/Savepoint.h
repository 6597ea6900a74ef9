#pragma once
// Transactions of a SQLite connection, in one place: named savepoints (which
// start a transaction when none is open), for BeginTrans levels and for a piece
// of work that must happen whole.
#include <string>

struct sqlite3;

namespace dao {

// Opens a savepoint; outside a transaction it starts one.
void beginSavepoint(sqlite3* db, const std::string& name);
// Keeps what was done since the savepoint; commits when the savepoint started the transaction.
void releaseSavepoint(sqlite3* db, const std::string& name);
// Undoes what was done since the savepoint and closes it.
void rollbackSavepoint(sqlite3* db, const std::string& name);

// A piece of work done whole: rolled back unless committed. Deferred, it is a savepoint
// (inside the caller's transaction, or starting one). Immediate, it takes the write lock
// at once when it starts its own transaction (BEGIN IMMEDIATE), so that nobody writes
// between a check and the write that depends on it.
class Savepoint {
public:
    enum class Start { Deferred, Immediate };
    Savepoint(sqlite3* db, std::string name, Start start = Start::Deferred);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
    void commit();

private:
    sqlite3* db_;
    std::string name_;
    bool own_ = false; // a transaction of its own (BEGIN IMMEDIATE) rather than a savepoint
    bool done_ = false;
};

} // namespace dao
