#pragma once
// The rows that pessimistic Edits hold, by file, table and rowid. SQLite locks
// whole files, so the row locks Jet takes at Edit are kept here, between the
// recordsets of this program.
#include <cstdint>
#include <string>

namespace dao {

class Storage;

namespace rowlocks {

// The key of a row: its database file, its table and its rowid.
std::string key(const Storage& storage, const std::string& table, std::int64_t rowid);
// Takes the row for owner; 3188 when another owner holds it.
void take(const std::string& key, const void* owner);
// Frees the row if owner holds it.
void release(const std::string& key, const void* owner);
// 3188 when another owner than self holds the row.
void checkFree(const Storage& storage, const std::string& table, std::int64_t rowid, const void* self);

} // namespace rowlocks
} // namespace dao
