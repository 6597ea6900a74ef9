// Editing of the DAO dataset: edit, insert, post, cancel and delete through
// the recordset, with the dataset's own rules for post and delete errors;
// the bulk append of many records in one transaction.
#include "daodata/TVoDaoTable.h"

#include "daodata/TVoDaoDatabase.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/DaoError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"
#include "framework/data/TimeStamp.h"

namespace {

bool isDateType(TFieldType t) { return t == ftDate || t == ftTime || t == ftDateTime; }

} // namespace

void TVoDaoTable::InternalEdit()
{
    auto* active = static_cast<TVoDaoRecordBuffer*>(ActiveBuffer());
    oldRecord_ = *active;
    if (recordset_->editMode() == 0)
        recordset_->edit();
    FetchInto(active);
}

void TVoDaoTable::InternalCancel()
{
    if (recordset_ && recordset_->editMode() != 0)
        recordset_->cancelUpdate();
}

const TRecordBuffer* TVoDaoTable::GetOldRecordBuffer() const
{
    // Asked for in the temporary old-value state, which only an edit enters.
    return State() == dsEdit || State() == dsOldValue ? &oldRecord_ : nullptr;
}

dao::Variant TVoDaoTable::PostValue(int index, const QString& text) const
{
    if (text.isEmpty())
        return {};
    const TFieldType type = FieldDefs().Items(index)->DataType();
    if (isDateType(type)) {
        QDateTime value;
        if (ParseTimeStampText(text, value))
            return dao::Variant::date(DateTimeToNumber(value));
    }
    if ((type == ftBytes || type == ftVarBytes) && fieldObjects_[index]->type() != 15)
        return dao::Variant::binary(text.toLatin1().toStdString());
    if (type == ftBlob || type == ftGraphic || type == ftTypedBinary)
        return dao::Variant::binary(ToEngineText(index, text).toLatin1().toStdString());
    if (IsGuidColumn(index)) {
        // The 16 bytes as read from the row (Microsoft's layout) or GUID text.
        const QByteArray bytes = BytesOfText(index, text);
        if (bytes.size() == 16)
            return dao::Variant::guid(bytes.toStdString());
        // Text that is no GUID goes to the engine, which refuses it.
    }
    return dao::Variant(ToEngineText(index, text).toUtf8().toStdString());
}

void TVoDaoTable::WriteValues()
{
    const auto* active = static_cast<const TVoDaoRecordBuffer*>(ActiveBuffer());
    for (size_t i = 0; i < fieldObjects_.size(); ++i)
        if (active->Changed[i] && writable_[i])
            fieldObjects_[i]->setValue(PostValue(int(i), active->Texts[i]));
}

void TVoDaoTable::PostToRecordset(bool again)
{
    const bool inserting = State() == dsInsert;
    if (!again) {
        if (inserting)
            recordset_->addNew();
        else if (recordset_->editMode() == 0)
            recordset_->edit();
    }
    WriteValues();
    recordset_->update();
}

void TVoDaoTable::InternalPost() { PostToRecordset(false); }

void TVoDaoTable::AfterPostPosition(bool inserted)
{
    if (inserted) {
        if (!countStale_)
            ++cachedCount_;
        ++position_;
    }
    if (tableType_ != 8 && bookmarkable_) {
        recordset_->moveLast();
        recordset_->setBookmark(recordset_->lastModified());
        position_ = CursorPosition();
    }
    database_->CoreDBEngine()->idle(0);
}

void TVoDaoTable::RunPost()
{
    CheckRequiredFields();
    UpdateCursorPos();
    const bool inserting = State() == dsInsert;
    bool again = false;
    for (;;) {
        try {
            PostToRecordset(again);
            break;
        } catch (const EAbort&) {
            throw;
        } catch (const std::exception& error) {
            TDataAction action = daFail;
            if (OnPostError)
                OnPostError(this, error, action);
            if (action == daRetry) {
                again = true;
                continue;
            }
            // Abort and fail drop the pending change and re-read the row.
            if (recordset_->editMode() != 0)
                recordset_->cancelUpdate();
            try {
                recordset_->move(0);
            } catch (const dao::DaoError&) {
                // No current row to re-read (an insert at the end).
            }
            if (action == daAbort)
                throw EAbort();
            throw;
        }
    }
    AfterPostPosition(inserting);
}

void TVoDaoTable::InternalDelete()
{
    recordset_->deleteCurrent();
    database_->CoreDBEngine()->idle(0);
    countStale_ = true;
    if (recordset_->eof())
        recordset_->moveLast();
    else
        recordset_->moveNext();
    if (recordset_->eof()) {
        recordset_->moveLast();
        if (position_ > 0)
            --position_; // counted along (table type): the row before the deleted one
    }
}

void TVoDaoTable::LeaveDeletedRow()
{
    // The dataset is read again from its source; the cursor goes to the first row.
    CursorPosChanged();
    recordset_->requery();
    position_ = recordset_->bof() || recordset_->eof() ? -1 : CursorPosition();
}

void TVoDaoTable::RunDelete()
{
    for (;;) {
        try {
            UpdateCursorPos();
            InternalDelete();
            return;
        } catch (const EAbort&) {
            throw;
        } catch (const dao::DaoError& error) {
            TDataAction action = daFail;
            if (!OnDeleteError) {
                if (error.number() != 3167)
                    throw;
                countStale_ = true; // deleted meanwhile: the dataset is re-read
                LeaveDeletedRow();
                return;
            }
            OnDeleteError(this, error, action);
            if (action == daRetry)
                continue;
            countStale_ = true;
            LeaveDeletedRow();
            if (action == daAbort)
                throw EAbort();
            throw;
        } catch (const std::exception& error) {
            TDataAction action = daFail;
            if (OnDeleteError)
                OnDeleteError(this, error, action);
            if (action == daRetry)
                continue;
            if (action == daAbort)
                throw EAbort();
            throw;
        }
    }
}

void TVoDaoTable::BeginBulkAppend()
{
    if (bulkAppend_)
        return;
    CheckActive();
    DisableControls();
    bulkAppend_ = true;
    bulkTransaction_ = false;
    if (!database_ || !database_->CoreDatabase())
        return;
    try {
        database_->CoreDatabase()->beginTrans();
        bulkTransaction_ = true;
    } catch (const std::exception&) {
        // A database that refuses a transaction takes the records one by one.
    }
}

void TVoDaoTable::EndBulkAppend()
{
    if (!bulkAppend_)
        return;
    bulkAppend_ = false;
    EnableControls();
    if (!bulkTransaction_)
        return;
    bulkTransaction_ = false;
    const auto core = database_->CoreDatabase();
    try {
        core->commitTrans();
    } catch (...) {
        try {
            core->rollback();
        } catch (const std::exception&) {
            // The failed commit is the error to report.
        }
        throw;
    }
}
