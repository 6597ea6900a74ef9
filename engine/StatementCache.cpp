#include "engine/StatementCache.h"

#include <sqlite3.h>

namespace dao {

StatementCache::~StatementCache() { clear(); }

SqliteStatement StatementCache::take(const std::string& sql)
{
    if (!closed_) {
        if (auto found = byText_.find(sql); found != byText_.end()) {
            sqlite3_stmt* stmt = found->second->second;
            kept_.erase(found->second);
            byText_.erase(found);
            return SqliteStatement(db_, stmt, sql, weak_from_this());
        }
    }
    SqliteStatement fresh(db_, sql);
    if (!closed_)
        fresh.keepIn(weak_from_this(), sql);
    return fresh;
}

void StatementCache::giveBack(std::string sql, sqlite3_stmt* stmt)
{
    if (closed_ || byText_.count(sql)) { // one kept statement per text is enough
        sqlite3_finalize(stmt);
        return;
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    kept_.emplace_front(std::move(sql), stmt);
    byText_.emplace(kept_.front().first, kept_.begin());
    if (kept_.size() > kKept) {
        byText_.erase(kept_.back().first);
        sqlite3_finalize(kept_.back().second);
        kept_.pop_back();
    }
}

void StatementCache::clear()
{
    for (auto& [sql, stmt] : kept_)
        sqlite3_finalize(stmt);
    kept_.clear();
    byText_.clear();
}

void StatementCache::close()
{
    clear();
    closed_ = true;
}

} // namespace dao
