#include "engine/RowLocks.h"

#include "engine/JetErrors.h"
#include "engine/Storage.h"

#include <filesystem>
#include <map>
#include <mutex>

namespace dao::rowlocks {

namespace {

struct Locks {
    std::mutex mutex;
    std::map<std::string, const void*> owners;
};

Locks& locks()
{
    static Locks all;
    return all;
}

} // namespace

std::string key(const Storage& storage, const std::string& table, std::int64_t rowid)
{
    std::error_code ec;
    const auto file = std::filesystem::weakly_canonical(storage.path(), ec);
    return (ec ? storage.path() : file.string()) + '\x1f' + table + '\x1f' + std::to_string(rowid);
}

void take(const std::string& key, const void* owner)
{
    std::lock_guard<std::mutex> guard(locks().mutex);
    const auto [at, added] = locks().owners.emplace(key, owner);
    if (!added && at->second != owner)
        throw jet::lockedBySession();
}

void release(const std::string& key, const void* owner)
{
    std::lock_guard<std::mutex> guard(locks().mutex);
    const auto at = locks().owners.find(key);
    if (at != locks().owners.end() && at->second == owner)
        locks().owners.erase(at);
}

void checkFree(const Storage& storage, const std::string& table, std::int64_t rowid, const void* self)
{
    {
        std::lock_guard<std::mutex> guard(locks().mutex);
        if (locks().owners.empty())
            return;
    }
    const std::string k = key(storage, table, rowid);
    std::lock_guard<std::mutex> guard(locks().mutex);
    const auto at = locks().owners.find(k);
    if (at != locks().owners.end() && at->second != self)
        throw jet::lockedBySession();
}

} // namespace dao::rowlocks
