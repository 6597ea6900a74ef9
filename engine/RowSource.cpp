#include "engine/RowSource.h"

#include "engine/DaoError.h"
#include "engine/ValueConversion.h"

namespace dao {

TableKeyset::TableKeyset(std::vector<std::int64_t> rowids, SqliteStatement selectByRowid, std::vector<int> types)
    : rowids_(std::move(rowids)), select_(std::move(selectByRowid)), types_(std::move(types))
{
}

const Variant* TableKeyset::row(size_t slot)
{
    if (slot == cachedSlot_)
        return cached_.data();
    select_.reset();
    select_.bindInt(1, rowids_.at(slot));
    if (!select_.step())
        throw DaoError(3167, "Record is deleted.");
    cached_.resize(types_.size());
    for (size_t i = 0; i < types_.size(); ++i)
        cached_[i] = variantFromColumn(select_, static_cast<int>(i), types_[i]);
    select_.reset();
    cachedSlot_ = slot;
    return cached_.data();
}

} // namespace dao
