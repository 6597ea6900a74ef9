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
    RowSource();
    virtual ~RowSource() = default;
    // Set in the high byte of bookmarks, so that those of an unrelated recordset are refused;
    // clones share it and a requery keeps it.
    std::uint8_t family() const { return family_; }
    void setFamily(std::uint8_t family) { family_ = family; }
    virtual size_t size() const = 0;
    virtual size_t width() const = 0;
    // The width() values of the row in a slot; raises 3167 when the row was deleted meanwhile.
    virtual const Variant* row(size_t slot) = 0;
    // Slots whose rows this keyset's recordsets deleted: moves pass over them.
    virtual bool deleted(size_t) const { return false; }
    // How many deleted slots lie before slot (all of them for SIZE_MAX).
    virtual size_t deletedBefore(size_t) const { return 0; }
    // Drops rows read ahead, so that the next read shows what others wrote meanwhile.
    virtual void refresh() {}

private:
    std::uint8_t family_;
};

// A read-only result held in memory in the query's order, filled row by row.
// Rows live in fixed blocks, so that growing never moves the values already read;
// the first block is small, as most results opened again and again (a title
// looked up, a count) hold a row or none.
class MaterializedRows : public RowSource {
public:
    explicit MaterializedRows(size_t width) : width_(width) {}
    size_t size() const override { return size_; }
    size_t width() const override { return width_; }
    const Variant* row(size_t slot) override { return at(slot); }
    // Room for the next row's width values, to be filled by the caller.
    Variant* appendRow()
    {
        if (size_ == 0)
            blocks_.push_back(std::make_unique<Variant[]>(kFirstRows * width_));
        else if (size_ >= kFirstRows && (size_ - kFirstRows) % kBlockRows == 0)
            blocks_.push_back(std::make_unique<Variant[]>(kBlockRows * width_));
        return at(size_++);
    }
    // The values of one column, for settling the type of computed columns.
    const Variant* firstNonNull(size_t column) const
    {
        for (size_t r = 0; r < size_; ++r)
            if (const Variant& v = at(r)[column]; !v.isNull())
                return &v;
        return nullptr;
    }

private:
    static constexpr size_t kFirstRows = 16;
    static constexpr size_t kBlockRows = 4096;
    Variant* at(size_t slot) const
    {
        if (slot < kFirstRows)
            return blocks_[0].get() + slot * width_;
        slot -= kFirstRows;
        return blocks_[1 + slot / kBlockRows].get() + (slot % kBlockRows) * width_;
    }
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
    bool deleted(size_t slot) const override;
    size_t deletedBefore(size_t slot) const override;
    void refresh() override { blockStart_ = SIZE_MAX; blockSize_ = 0; }
    // The row of a slot as it is in the table now (3167 when it is gone); leaves the rows read ahead alone.
    std::vector<Variant> readRow(size_t slot);

    // A row added through a recordset of this keyset goes at the end.
    void append(std::int64_t rowid) { rowids_.push_back(rowid); }
    void markDeleted(size_t slot);

private:
    std::vector<std::int64_t> rowids_;
    SqliteStatement select_;
    std::vector<int> types_;
    std::vector<size_t> deleted_; // sorted slots
    // Rows are read kBlock slots at a time with one statement; the block holds while this
    // connection has written nothing since it was read.
    static constexpr size_t kBlock = 64;
    bool fillBlock(size_t start);
    const Variant* singleRow(size_t slot); // when no block statement can be made
    SqliteStatement selectBlock_;
    bool blockPrepared_ = false;
    size_t blockStart_ = SIZE_MAX;
    size_t blockSize_ = 0;
    long long blockAtChanges_ = 0;
    std::vector<Variant> block_;   // kBlock rows of width() values
    std::vector<bool> present_;    // slots of the block whose row exists
};

} // namespace dao
