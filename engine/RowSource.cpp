#include "engine/RowSource.h"

#include "engine/JetErrors.h"
#include "engine/ValueConversion.h"

#include <algorithm>
#include <atomic>
#include <sqlite3.h>

namespace dao {

RowSource::RowSource()
{
    static std::atomic<unsigned> next{0};
    family_ = static_cast<std::uint8_t>(next++ % 255 + 1);
}

TableKeyset::TableKeyset(std::vector<std::int64_t> rowids, SqliteStatement selectByRowid, std::vector<int> types)
    : rowids_(std::move(rowids)), select_(std::move(selectByRowid)), types_(std::move(types))
{
}

const Variant* TableKeyset::row(size_t slot)
{
    const long long changes = sqlite3_total_changes64(sqlite3_db_handle(select_.handle()));
    if (changes != blockAtChanges_ || slot < blockStart_ || slot >= blockStart_ + blockSize_) {
        // Moving backwards reads the block that ends at the slot, otherwise the one that starts there.
        const bool backwards = blockStart_ != SIZE_MAX && slot + 1 == blockStart_;
        const size_t start = backwards ? (slot + 1 >= kBlock ? slot + 1 - kBlock : 0) : slot;
        blockStart_ = SIZE_MAX;
        blockSize_ = 0;
        if (!fillBlock(start)) {
            singleRow(slot); // throws 3167 for a deleted row
            blockStart_ = slot;
            blockSize_ = 1;
            present_.assign(1, true);
        }
        blockAtChanges_ = changes;
    }
    if (!present_[slot - blockStart_])
        throw jet::recordDeleted();
    return block_.data() + (slot - blockStart_) * types_.size();
}

const Variant* TableKeyset::singleRow(size_t slot)
{
    select_.reset();
    select_.bindInt(1, rowids_.at(slot));
    if (!select_.step())
        throw jet::recordDeleted();
    block_.resize(types_.size());
    for (size_t i = 0; i < types_.size(); ++i)
        block_[i] = variantFromColumn(select_, static_cast<int>(i), types_[i]);
    select_.reset();
    return block_.data();
}

std::vector<Variant> TableKeyset::readRow(size_t slot)
{
    select_.reset();
    select_.bindInt(1, rowids_.at(slot));
    if (!select_.step()) {
        select_.reset();
        throw jet::recordDeleted();
    }
    std::vector<Variant> values(types_.size());
    for (size_t i = 0; i < types_.size(); ++i)
        values[i] = variantFromColumn(select_, static_cast<int>(i), types_[i]);
    select_.reset();
    return values;
}

bool TableKeyset::fillBlock(size_t start)
{
    if (!blockPrepared_) {
        blockPrepared_ = true;
        // "SELECT cols FROM t WHERE rowid = ?1" becomes "SELECT rowid, cols FROM t WHERE rowid IN (?1, ..., ?64)".
        const std::string one = sqlite3_sql(select_.handle());
        const std::string tail = " WHERE rowid = ?1";
        if (one.rfind("SELECT ", 0) != 0 || one.size() < tail.size() || one.compare(one.size() - tail.size(), tail.size(), tail) != 0)
            return false;
        std::string sql = "SELECT rowid, " + one.substr(7, one.size() - tail.size() - 7) + " WHERE rowid IN (";
        for (size_t i = 0; i < kBlock; ++i)
            sql += (i ? ", ?" : "?") + std::to_string(i + 1);
        selectBlock_ = SqliteStatement(sqlite3_db_handle(select_.handle()), sql + ")");
    }
    // One row (the last one, as after an append) is read by its rowid alone.
    if (!selectBlock_.handle() || start + 1 >= rowids_.size())
        return false;
    const size_t count = std::min(kBlock, rowids_.size() - start);
    const size_t width = types_.size();
    selectBlock_.reset();
    for (size_t i = 0; i < kBlock; ++i)
        selectBlock_.bindInt(static_cast<int>(i + 1), rowids_[start + std::min(i, count - 1)]);
    block_.assign(count * width, Variant());
    present_.assign(count, false);
    while (selectBlock_.step()) {
        const std::int64_t id = selectBlock_.columnInt(0);
        for (size_t i = 0; i < count; ++i) {
            if (rowids_[start + i] != id)
                continue;
            present_[i] = true;
            for (size_t c = 0; c < width; ++c)
                block_[i * width + c] = variantFromColumn(selectBlock_, static_cast<int>(c + 1), types_[c]);
        }
    }
    selectBlock_.reset();
    blockStart_ = start;
    blockSize_ = count;
    return true;
}

bool TableKeyset::deleted(size_t slot) const
{
    return std::binary_search(deleted_.begin(), deleted_.end(), slot);
}

size_t TableKeyset::deletedBefore(size_t slot) const
{
    return static_cast<size_t>(std::lower_bound(deleted_.begin(), deleted_.end(), slot) - deleted_.begin());
}

void TableKeyset::markDeleted(size_t slot)
{
    auto at = std::lower_bound(deleted_.begin(), deleted_.end(), slot);
    if (at == deleted_.end() || *at != slot)
        deleted_.insert(at, slot);
}

} // namespace dao
