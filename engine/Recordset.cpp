#include "engine/Recordset.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/Storage.h"

#include <algorithm>
#include <cmath>

namespace dao {

std::shared_ptr<Recordset> Recordset::create(std::shared_ptr<Storage> storage, std::vector<FieldInfo> fields,
                                             std::unique_ptr<RowSource> rows, RecordsetSettings settings)
{
    std::shared_ptr<Recordset> rs(new Recordset);
    rs->storage_ = std::move(storage);
    rs->settings_ = std::move(settings);
    rs->rows_ = std::move(rows);
    int ordinal = 0;
    for (auto& info : fields)
        rs->fields_.append(std::make_shared<Field>(std::move(info), ordinal++, rs->weak_from_this()));
    if (rs->rows_->size() > 0)
        rs->land(0); // OpenRecordset makes the first row current
    return rs;
}

void Recordset::checkOpen() const
{
    if (!open_ || !storage_->isOpen())
        throw jet::objectInvalid();
}

size_t Recordset::size() const
{
    checkOpen();
    return rows_->size();
}

RowSource& Recordset::rows() const
{
    checkOpen();
    return *rows_;
}

void Recordset::land(long slot)
{
    slot_ = slot;
    bof_ = eof_ = false;
    visited_ = std::max(visited_, slot + 1);
}

bool Recordset::bof() const
{
    checkOpen();
    return bof_;
}

bool Recordset::eof() const
{
    checkOpen();
    return eof_;
}

long Recordset::recordCount() const
{
    checkOpen();
    if (settings_.type == dbOpenTable)
        return static_cast<long>(rows_->size());
    return visited_;
}

long Recordset::absolutePosition() const
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly || settings_.type == dbOpenTable)
        throw jet::notSupported();
    return bof_ || eof_ ? -1 : slot_;
}

double Recordset::percentPosition() const
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    const long count = recordCount();
    if (bof_ || eof_ || count == 0)
        return 0;
    return 100.0 * static_cast<double>(slot_ + 1) / static_cast<double>(count);
}

void Recordset::moveFirst()
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    if (rows_->size() == 0)
        throw jet::noCurrentRecord();
    land(0);
}

void Recordset::moveLast()
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    if (rows_->size() == 0)
        throw jet::noCurrentRecord();
    land(static_cast<long>(rows_->size()) - 1);
}

void Recordset::moveNext()
{
    checkOpen();
    if (eof_ && (!bof_ || rows_->size() == 0))
        throw jet::noCurrentRecord();
    const long next = bof_ ? 0 : slot_ + 1;
    if (next >= static_cast<long>(rows_->size())) {
        slot_ = static_cast<long>(rows_->size());
        eof_ = true;
        bof_ = false;
        return;
    }
    land(next);
}

void Recordset::movePrevious()
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    if (bof_)
        throw jet::noCurrentRecord();
    const long prev = slot_ - 1;
    if (prev < 0) {
        slot_ = -1;
        bof_ = true;
        eof_ = false;
        return;
    }
    land(prev);
}

void Recordset::move(long n)
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly && n <= 0)
        throw jet::notSupported();
    const long size = static_cast<long>(rows_->size());
    if (size == 0 || (n == 0 && (bof_ || eof_)) || (n < 0 && bof_) || (n > 0 && eof_))
        throw jet::noCurrentRecord();
    const long target = (bof_ ? -1 : slot_) + n;
    if (target < 0) {
        slot_ = -1;
        bof_ = true;
        eof_ = false;
    } else if (target >= size) {
        slot_ = size;
        eof_ = true;
        bof_ = false;
    } else {
        land(target);
    }
}

const Collection<Field>& Recordset::fields() const
{
    checkOpen();
    return fields_;
}

const Variant& Recordset::currentValue(int column) const
{
    checkOpen();
    if (bof_ || eof_)
        throw jet::noCurrentRecord();
    if (column < 0 || column >= static_cast<int>(rows_->width()))
        throw jet::itemNotFound();
    return rows_->row(static_cast<size_t>(slot_))[column];
}

void Recordset::close()
{
    open_ = false;
    rows_.reset();
}

} // namespace dao
