#pragma once
// The rows behind a recordset, by keyset slot. A slot is the position of a
// row identity captured when the recordset opened; the row's values are
// fetched by identity when the cursor lands on it.
#include "engine/SqliteStatement.h"
#include "engine/Variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dao {

class RowSource {
public:
    virtual ~RowSource() = default;
    virtual size_t size() const = 0;
    virtual size_t width() const = 0;
    // The width() values of the row in a slot; raises 3167 when the row was deleted meanwhile.
    virtual const Variant* row(size_t slot) = 0;
};

// A read-only result held in memory in the query's order, filled row by row.
// Rows live in fixed blocks, so that growing never moves the values already read.
class MaterializedRows : public RowSource {
public:
    explicit MaterializedRows(size_t width) : width_(width) {}
    size_t size() const override { return size_; }
    size_t width() const override { return width_; }
    const Variant* row(size_t slot) override
    {
        return blocks_[slot / kBlockRows].get() + (slot % kBlockRows) * width_;
    }
    // Room for the next row's width values, to be filled by the caller.
    Variant* appendRow()
    {
        if (size_ % kBlockRows == 0)
            blocks_.push_back(std::make_unique<Variant[]>(kBlockRows * width_));
        return blocks_.back().get() + (size_++ % kBlockRows) * width_;
    }
    // The values of one column, for settling the type of computed columns.
    const Variant* firstNonNull(size_t column) const
    {
        for (size_t r = 0; r < size_; ++r) {
            const Variant& v = blocks_[r / kBlockRows][(r % kBlockRows) * width_ + column];
            if (!v.isNull())
                return &v;
        }
        return nullptr;
    }

private:
    static constexpr size_t kBlockRows = 4096;
    std::vector<std::unique_ptr<Variant[]>> blocks_;
    size_t width_;
    size_t size_ = 0;
};

// The rowids of a base table captured at open; each row is read by its rowid.
class TableKeyset : public RowSource {
public:
    // selectByRowid: "SELECT cols FROM t WHERE rowid = ?1"; types: Jet type per column.
    TableKeyset(std::vector<std::int64_t> rowids, SqliteStatement selectByRowid, std::vector<int> types);
    size_t size() const override { return rowids_.size(); }
    size_t width() const override { return types_.size(); }
    const Variant* row(size_t slot) override;
    std::int64_t rowid(size_t slot) const { return rowids_.at(slot); }

private:
    std::vector<std::int64_t> rowids_;
    SqliteStatement select_;
    std::vector<int> types_;
    size_t cachedSlot_ = SIZE_MAX;
    std::vector<Variant> cached_;
};

} // namespace dao
