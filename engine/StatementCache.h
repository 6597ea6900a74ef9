#pragma once
// Prepared statements of one connection kept by their SQL text, so that a
// statement run again (a keyset's row read, an entry's INSERT, a name looked
// up in the schema) is not compiled again. A statement taken from the cache
// is the caller's alone until it goes out of scope, when it is reset and
// comes back; the least recently used ones beyond a bound are finalised.
#include "engine/SqliteStatement.h"

#include <list>
#include <memory>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace dao {

class StatementCache : public std::enable_shared_from_this<StatementCache> {
public:
    static constexpr size_t kKept = 64;

    explicit StatementCache(sqlite3* db) : db_(db) {}
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // The statement for sql: a kept one, or one prepared now (raises as SqliteStatement does).
    SqliteStatement take(const std::string& sql);
    // Finalises the kept statements (before the schema or the connection goes);
    // statements in use are finalised when they come back.
    void clear();
    void close();

private:
    friend class SqliteStatement;
    // A statement coming back from use.
    void giveBack(std::string sql, sqlite3_stmt* stmt);

    using Kept = std::list<std::pair<std::string, sqlite3_stmt*>>; // most recently used first
    sqlite3* db_;
    bool closed_ = false;
    Kept kept_;
    std::unordered_map<std::string, Kept::iterator> byText_;
};

} // namespace dao
