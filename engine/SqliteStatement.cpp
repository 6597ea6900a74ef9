#include "engine/SqliteStatement.h"

#include "engine/SqliteErrors.h"
#include "engine/StatementCache.h"

#include <sqlite3.h>

namespace dao {

SqliteStatement::SqliteStatement(sqlite3* db, const std::string& sql) : db_(db)
{
    int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw sqliteError(db, rc);
    }
}

SqliteStatement::SqliteStatement(sqlite3* db, sqlite3_stmt* stmt, std::string sql, std::weak_ptr<StatementCache> home)
    : db_(db), stmt_(stmt), home_(std::move(home)), sql_(std::move(sql))
{
}

void SqliteStatement::keepIn(std::weak_ptr<StatementCache> home, std::string sql)
{
    home_ = std::move(home);
    sql_ = std::move(sql);
}

void SqliteStatement::release()
{
    if (!stmt_)
        return;
    if (auto home = home_.lock())
        home->giveBack(std::move(sql_), stmt_);
    else
        sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    home_.reset();
}

SqliteStatement::~SqliteStatement() { release(); }

SqliteStatement::SqliteStatement(SqliteStatement&& o) noexcept
    : db_(o.db_), stmt_(o.stmt_), home_(std::move(o.home_)), sql_(std::move(o.sql_))
{
    o.stmt_ = nullptr;
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& o) noexcept
{
    if (this != &o) {
        release();
        db_ = o.db_;
        stmt_ = o.stmt_;
        home_ = std::move(o.home_);
        sql_ = std::move(o.sql_);
        o.stmt_ = nullptr;
    }
    return *this;
}

bool SqliteStatement::step()
{
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    int ext = sqlite3_extended_errcode(db_);
    std::string msg = sqlite3_errmsg(db_);
    sqlite3_reset(stmt_);
    throw sqliteError(ext, msg);
}

void SqliteStatement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void SqliteStatement::bindNull(int i) { sqlite3_bind_null(stmt_, i); }
void SqliteStatement::bindInt(int i, long long v) { sqlite3_bind_int64(stmt_, i, v); }
void SqliteStatement::bindDouble(int i, double v) { sqlite3_bind_double(stmt_, i, v); }
void SqliteStatement::bindText(int i, const std::string& v)
{
    sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
}
void SqliteStatement::bindBlob(int i, const std::string& v)
{
    sqlite3_bind_blob(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bind(int i, const Variant& v, bool copy)
{
    if (!copy && (v.type() == VarType::Text || v.type() == VarType::Binary || v.type() == VarType::Guid)) {
        const auto& b = v.bytes();
        if (v.type() == VarType::Text)
            sqlite3_bind_text(stmt_, i, b.data(), static_cast<int>(b.size()), SQLITE_STATIC);
        else
            sqlite3_bind_blob(stmt_, i, b.data(), static_cast<int>(b.size()), SQLITE_STATIC);
        return;
    }
    switch (v.type()) {
    case VarType::Null:
        bindNull(i);
        break;
    case VarType::Boolean: case VarType::Byte: case VarType::Integer: case VarType::Long:
        bindInt(i, v.toInt64());
        break;
    case VarType::Currency: case VarType::Single: case VarType::Double: case VarType::Date:
        bindDouble(i, v.toDouble());
        break;
    case VarType::Text:
        bindText(i, v.bytes());
        break;
    case VarType::Binary: case VarType::Guid:
        bindBlob(i, v.bytes());
        break;
    }
}

int SqliteStatement::columnCount() const { return sqlite3_column_count(stmt_); }
std::string SqliteStatement::columnName(int i) const
{
    const char* n = sqlite3_column_name(stmt_, i);
    return n ? n : "";
}
bool SqliteStatement::isNull(int i) const { return sqlite3_column_type(stmt_, i) == SQLITE_NULL; }
int SqliteStatement::columnStorage(int i) const { return sqlite3_column_type(stmt_, i); }
long long SqliteStatement::columnInt(int i) const { return sqlite3_column_int64(stmt_, i); }
double SqliteStatement::columnDouble(int i) const { return sqlite3_column_double(stmt_, i); }
std::string SqliteStatement::columnText(int i) const
{
    const auto* t = sqlite3_column_text(stmt_, i);
    return t ? std::string(reinterpret_cast<const char*>(t), sqlite3_column_bytes(stmt_, i)) : std::string();
}
std::string SqliteStatement::columnBlob(int i) const
{
    const void* b = sqlite3_column_blob(stmt_, i);
    return b ? std::string(static_cast<const char*>(b), sqlite3_column_bytes(stmt_, i)) : std::string();
}

static std::string orEmpty(const char* s) { return s ? s : ""; }
std::string SqliteStatement::originDatabase(int i) const { return orEmpty(sqlite3_column_database_name(stmt_, i)); }
std::string SqliteStatement::originTable(int i) const { return orEmpty(sqlite3_column_table_name(stmt_, i)); }
std::string SqliteStatement::originColumn(int i) const { return orEmpty(sqlite3_column_origin_name(stmt_, i)); }

} // namespace dao
