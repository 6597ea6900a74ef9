#pragma once
// A prepared SQLite statement (RAII) with binding and reading of Variants.
#include "engine/Variant.h"

#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace dao {

class StatementCache;

class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, const std::string& sql); // raises DaoError (mapped) on failure
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool step(); // true while a row is available
    void reset();
    // 1-based. copy=false: SQLite uses the value's bytes in place until the next step or reset.
    void bind(int index, const Variant& value, bool copy = true);
    void bindNull(int index);
    void bindInt(int index, long long v);
    void bindDouble(int index, double v);
    void bindText(int index, const std::string& v);
    void bindBlob(int index, const std::string& bytes);

    int columnCount() const;
    std::string columnName(int i) const;
    bool isNull(int i) const;
    long long columnInt(int i) const;
    double columnDouble(int i) const;
    std::string columnText(int i) const;
    std::string columnBlob(int i) const;
    int columnStorage(int i) const; // SQLITE_INTEGER, SQLITE_FLOAT, ...
    // Where a result column comes from (empty for expressions).
    std::string originDatabase(int i) const;
    std::string originTable(int i) const;
    std::string originColumn(int i) const;

    sqlite3_stmt* handle() const { return stmt_; }

private:
    friend class StatementCache;
    // A statement of a cache, which gets it back instead of its being finalised.
    SqliteStatement(sqlite3* db, sqlite3_stmt* stmt, std::string sql, std::weak_ptr<StatementCache> home);
    void keepIn(std::weak_ptr<StatementCache> home, std::string sql);
    void release();

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::weak_ptr<StatementCache> home_;
    std::string sql_; // the text it is kept by (only for a cache's statement)
};

} // namespace dao
