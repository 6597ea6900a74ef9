// Opening a recordset, its fields and the current row's values, Clone and Requery.
#include "engine/Recordset.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"

namespace dao {

std::shared_ptr<Recordset> Recordset::create(std::shared_ptr<Storage> storage, std::vector<FieldInfo> fields,
                                             std::unique_ptr<RowSource> rows, RecordsetSettings settings)
{
    return create(std::move(storage), std::move(fields), std::shared_ptr<RowSource>(std::move(rows)),
                  std::move(settings), true);
}

std::shared_ptr<Recordset> Recordset::create(std::shared_ptr<Storage> storage, std::vector<FieldInfo> fields,
                                             std::shared_ptr<RowSource> rows, RecordsetSettings settings,
                                             bool landOnFirst)
{
    std::shared_ptr<Recordset> rs(new Recordset);
    rs->storage_ = std::move(storage);
    rs->settings_ = std::move(settings);
    rs->rows_ = std::move(rows);
    rs->baseSize_ = rs->rows_->size();
    rs->pessimistic_ = rs->settings_.lockEdit == 0 || rs->settings_.lockEdit == dbPessimistic;
    int ordinal = 0;
    for (auto& info : fields)
        rs->fields_.append(std::make_shared<Field>(std::move(info), ordinal++, rs->weak_from_this()));
    if (landOnFirst) {
        const long first = rs->liveFrom(0, 1);
        if (first < static_cast<long>(rs->rows_->size()))
            rs->land(first); // OpenRecordset makes the first row current
    } else if (rs->rows_->size() > 0) {
        rs->eof_ = false; // before the first row: MoveNext and MoveFirst reach it
    }
    return rs;
}

Recordset::~Recordset()
{
    discardEdit();
}

void Recordset::checkCurrentRow() const
{
    if (bof_ || eof_)
        throw jet::noCurrentRecord();
    if (rows_->deleted(static_cast<size_t>(slot_)))
        throw jet::recordDeleted();
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

const Collection<Field>& Recordset::fields() const
{
    checkOpen();
    return fields_;
}

const Variant& Recordset::currentValue(int column) const
{
    checkOpen();
    if (column < 0 || column >= static_cast<int>(rows_->width()))
        throw jet::itemNotFound();
    if (editMode_ != 0) // during AddNew/Edit fields read the edit buffer
        return buffer_[static_cast<size_t>(column)];
    checkCurrentRow();
    return rows_->row(static_cast<size_t>(slot_))[column];
}

void Recordset::close()
{
    discardEdit();
    open_ = false;
    rows_.reset();
}

std::shared_ptr<Recordset> Recordset::clone() const
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    std::vector<FieldInfo> fields;
    for (int i = 0; i < fields_.count(); ++i)
        fields.push_back(fields_.item(i)->info());
    auto copy = create(storage_, std::move(fields), rows_, settings_, false);
    copy->baseSize_ = baseSize_;
    copy->reopen_ = reopen_;
    return copy;
}

void Recordset::requery()
{
    checkOpen();
    if (!reopen_)
        throw jet::illegalOperation();
    auto fresh = reopen_();
    discardEdit();
    fresh->rows_->setFamily(rows_->family()); // bookmarks stay valid
    rows_ = fresh->rows_;
    baseSize_ = rows_->size();
    visited_ = 0;
    lastModified_ = -1;
    slot_ = -1;
    bof_ = eof_ = true;
    const long first = liveFrom(0, 1);
    if (first < static_cast<long>(rows_->size()))
        land(first);
    if (!index_.empty())
        applyIndexOrder();
}

} // namespace dao
