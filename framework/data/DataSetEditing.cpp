// TDataSet: edit, insert, append, post, cancel, delete.
#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TDataSet.h"
#include "framework/data/TField.h"

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(deCheckBrowseMode, 0);
    switch (m_state) {
    case dsEdit:
    case dsInsert:
        UpdateRecord();
        if (m_modified)
            Post();
        else
            Cancel();
        break;
    case dsSetKey:
        Post();
        break;
    default:
        break;
    }
}

void TDataSet::UpdateRecord()
{
    if (m_state != dsEdit && m_state != dsInsert && m_state != dsSetKey)
        Error(DbText(DbConsts::SNotEditing));
    DataEvent(deUpdateRecord, 0);
}

void TDataSet::CheckOperation(const std::function<void()>& operation, const TDataSetErrorEvent& errorEvent)
{
    for (;;) {
        try {
            UpdateCursorPos();
            operation();
            return;
        } catch (const EAbort&) {
            throw;
        } catch (const std::exception& error) {
            TDataAction action = daFail;
            if (errorEvent)
                errorEvent(this, error, action);
            if (action == daFail)
                throw;
            if (action == daAbort)
                throw EAbort();
            // daRetry: run the operation again
        }
    }
}

void TDataSet::CheckRequiredFields()
{
    for (TField* field : m_fields) {
        if (field->Required() && !field->ReadOnly() && field->FieldKind() == fkData
            && field->AutoGenerateValue() == arNone && field->IsNull()) {
            field->FocusControl();
            DatabaseError(DbText(DbConsts::SFieldRequired).arg(field->DisplayName()));
        }
    }
}

void TDataSet::RunEdit()
{
    CheckOperation([this] { InternalEdit(); }, OnEditError);
}

void TDataSet::RunPost()
{
    CheckOperation(
        [this] {
            CheckRequiredFields();
            InternalPost();
        },
        OnPostError);
}

void TDataSet::RunDelete()
{
    CheckOperation([this] { InternalDelete(); }, OnDeleteError);
}

void TDataSet::Edit()
{
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    if (m_recordCount == 0) {
        Insert();
        return;
    }
    CheckBrowseMode();
    CheckCanModify();
    DoNotify(BeforeEdit);
    RunEdit();
    GetCalcFields(ActiveBuffer());
    SetState(dsEdit);
    DataEvent(deRecordChange, 0);
    DoNotify(AfterEdit);
}

void TDataSet::InitRecord(TRecordBuffer* buffer)
{
    InternalInitRecord(buffer);
    ClearCalcFields(buffer);
    buffer->BookmarkFlag = bfInserted;
    buffer->Bookmark.clear();
}

void TDataSet::BeginInsertAppend()
{
    CheckBrowseMode();
    CheckCanModify();
    DoNotify(BeforeInsert);
    DoBeforeScroll();
}

void TDataSet::EndInsertAppend()
{
    SetState(dsInsert);
    try {
        DoOnNewRecord();
    } catch (...) {
        UpdateCursorPos();
        InternalCancel();
        SetState(dsBrowse);
        Resync(0);
        throw;
    }
    m_modified = false;
    DataEvent(deDataSetChange, 0);
    DoNotify(AfterInsert);
    DoAfterScroll();
}

void TDataSet::Insert()
{
    BeginInsertAppend();
    const TBookmark current = GetBookmark();
    // The new record takes the place of the current one, which moves down.
    MoveBuffer(m_recordCount, m_activeRecord);
    TRecordBuffer* buffer = ActiveBuffer();
    InitRecord(buffer);
    if (m_recordCount == 0)
        buffer->BookmarkFlag = bfBOF;
    else
        buffer->Bookmark = current; // the cursor goes back to this record for the post
    if (m_recordCount < m_bufferCount)
        ++m_recordCount;
    CursorPosChanged();
    InternalInsert();
    EndInsertAppend();
}

void TDataSet::Append()
{
    BeginInsertAppend();
    ClearBuffers();
    TRecordBuffer* buffer = Buffer(0);
    InitRecord(buffer);
    buffer->BookmarkFlag = bfEOF;
    m_recordCount = 1;
    m_bof = false;
    GetPriorRecords(); // the last records fill the window above the new one
    InternalInsert();
    EndInsertAppend();
}

void TDataSet::Post()
{
    UpdateRecord();
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    DataEvent(deCheckBrowseMode, 0);
    DoNotify(BeforePost);
    RunPost();
    SetState(dsBrowse);
    Resync(0);
    DoNotify(AfterPost);
}

void TDataSet::Cancel()
{
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    DataEvent(deCheckBrowseMode, 0);
    DoNotify(BeforeCancel);
    UpdateCursorPos();
    InternalCancel();
    SetState(dsBrowse);
    Resync(0);
    DoNotify(AfterCancel);
}

void TDataSet::Delete()
{
    CheckActive();
    if (m_state == dsInsert || m_state == dsSetKey) {
        Cancel();
        return;
    }
    if (m_recordCount == 0)
        Error(DbText(DbConsts::SDataSetEmpty));
    DataEvent(deCheckBrowseMode, 0);
    DoNotify(BeforeDelete);
    DoBeforeScroll();
    RunDelete();
    SetState(dsBrowse);
    Resync(0);
    DoNotify(AfterDelete);
    DoAfterScroll();
}

void TDataSet::ClearFields()
{
    if (m_state != dsEdit && m_state != dsInsert && m_state != dsSetKey)
        Error(DbText(DbConsts::SNotEditing));
    DataEvent(deCheckBrowseMode, 0);
    InternalInitRecord(ActiveBuffer());
    if (m_state != dsSetKey)
        GetCalcFields(ActiveBuffer());
    DataEvent(deRecordChange, 0);
}

namespace {

// Assigns values to the fields by position; null values leave read-only and
// calculated fields alone.
void SetFieldsByPosition(TFields& fields, const QVariantList& values)
{
    const int count = std::min(fields.Count(), static_cast<int>(values.size()));
    for (int i = 0; i < count; ++i) {
        TField* field = fields[i];
        const QVariant& value = values[i];
        if (!value.isValid() && (field->ReadOnly() || field->FieldKind() != fkData))
            continue;
        field->SetValue(value);
    }
}

} // namespace

void TDataSet::AppendRecord(const QVariantList& values)
{
    Append();
    SetFieldsByPosition(m_fields, values);
    Post();
}

void TDataSet::InsertRecord(const QVariantList& values)
{
    Insert();
    SetFieldsByPosition(m_fields, values);
    Post();
}
