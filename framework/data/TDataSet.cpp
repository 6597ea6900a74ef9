// TDataSet: lifecycle, fields, field values, notifications, checks.
#include "framework/data/TDataSet.h"

#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/FieldFactory.h"
#include "framework/data/TDataLink.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"

#include <algorithm>
#include <unordered_set>

TDataSet::TDataSet() : m_fields(this) {}

TDataSet::~TDataSet()
{
    while (!m_dataSources.empty())
        m_dataSources.back()->SetDataSet(nullptr);
    while (!m_lookupClients.empty())
        m_lookupClients.back()->SetLookupDataSet(nullptr);
    // The record engine is gone here: only release what the framework holds.
    m_state = dsInactive;
    m_buffers.clear();
    m_walkBuffer.reset();
}

// ---------------------------------------------------------------- open/close

void TDataSet::SetActive(bool active)
{
    if (active == Active())
        return;
    if (active) {
        DoNotify(BeforeOpen);
        try {
            OpenCursor();
        } catch (...) {
            try {
                CloseCursor();
            } catch (...) {
                // the open error is the one to report
            }
            throw;
        }
        SetState(dsBrowse);
        DoNotify(AfterOpen);
        if (!IsEmpty())
            DoAfterScroll();
    } else {
        DoNotify(BeforeClose);
        if (m_state == dsEdit || m_state == dsInsert)
            InternalCancel(); // a pending edit is dropped
        SetState(dsInactive);
        CloseCursor();
        DoNotify(AfterClose);
    }
}

void TDataSet::OpenCursor()
{
    InternalOpen();
    m_fieldDefs.Clear();
    InternalInitFieldDefs();
    m_fieldDefs.SetUpdated(true);
    CreateDefaultFields();
    BindFields(true);
    FieldsBound();
    m_buffers.clear();
    m_buffers.push_back(NewBuffer()); // scratch buffer
    m_bufferCount = 0;
    ClearBuffers();
    UpdateBufferCount();
    if (m_bufferCount == 0)
        SetBufferCount(1);
    InternalFirst();
    GetNextRecords();
    m_bof = true;
}

void TDataSet::CloseCursor()
{
    if (IsCursorOpen())
        InternalClose();
    m_buffers.clear();
    m_walkBuffer.reset();
    m_bufferCount = 0;
    ClearBuffers();
    m_calcBuffer = nullptr;
    m_filterBuffer = nullptr;
    BindFields(false);
    DestroyDefaultFields();
    for (TField* field : m_fields)
        field->ClearLookupCache();
}

std::unique_ptr<TRecordBuffer> TDataSet::NewBuffer()
{
    std::unique_ptr<TRecordBuffer> buffer = AllocRecordBuffer();
    buffer->CalcValues.assign(static_cast<size_t>(m_calcFieldCount), QVariant());
    return buffer;
}

void TDataSet::CreateDefaultFields()
{
    const bool declaredData = std::any_of(m_fields.begin(), m_fields.end(),
                                          [](const TField* f) { return f->FieldKind() == fkData; });
    m_defaultFields = !declaredData;
    if (!m_defaultFields)
        return;
    // Data fields come first, in definition order, before declared calculated/lookup fields.
    int position = 0;
    for (int i = 0; i < m_fieldDefs.Count(); ++i) {
        const TFieldDef* def = m_fieldDefs.Items(i);
        if (m_fields.FindField(def->Name()))
            continue;
        TField* field = CreateFieldForType(def->DataType(), def->Size());
        field->m_fieldName = def->Name();
        field->m_size = def->Size();
        field->m_required = def->Required();
        field->m_readOnly = (def->Attributes() & TFieldDef::faReadonly) != 0;
        field->m_visible = (def->Attributes() & TFieldDef::faHiddenCol) == 0;
        field->m_defaultField = true;
        field->m_dataSet = this;
        m_fields.Insert(position++, field);
    }
}

void TDataSet::DestroyDefaultFields()
{
    if (!m_defaultFields)
        return;
    std::vector<TField*> doomed;
    for (TField* field : m_fields)
        if (field->m_defaultField)
            doomed.push_back(field);
    for (TField* field : doomed)
        delete field; // leaves the list itself
    m_defaultFields = false;
}

void TDataSet::BindFields(bool binding)
{
    m_calcFieldCount = 0;
    for (TField* field : m_fields) {
        field->m_fieldNo = 0;
        field->m_calcIndex = -1;
        if (!binding)
            continue;
        if (field->FieldKind() == fkData) {
            const TFieldDef* def = m_fieldDefs.Find(field->FieldName());
            if (!def)
                Error(DbText(DbConsts::SFieldNotFound).arg(field->FieldName()));
            if (field->DataType() != ftUnknown && field->DataType() != def->DataType())
                Error(DbText(DbConsts::SFieldTypeMismatch)
                          .arg(field->DisplayName(), FieldTypeName(field->DataType()),
                               FieldTypeName(def->DataType())));
            field->m_fieldNo = def->FieldNo();
        } else {
            if (field->Lookup()
                && (!field->LookupDataSet() || field->KeyFields().isEmpty()
                    || field->LookupKeyFields().isEmpty() || field->LookupResultField().isEmpty()))
                Error(DbText(DbConsts::SLookupInfoError).arg(field->DisplayName()));
            field->m_calcIndex = m_calcFieldCount++;
        }
    }
}

// -------------------------------------------------------------------- fields

TField* TDataSet::FieldByName(const QString& name) const
{
    TField* field = m_fields.FindField(name);
    if (!field)
        Error(DbText(DbConsts::SFieldNotFound).arg(name));
    return field;
}

std::vector<TField*> TDataSet::GetFieldList(const QString& fieldNames) const
{
    std::vector<TField*> list;
    for (const QString& part : fieldNames.split(QLatin1Char(';'))) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            list.push_back(FieldByName(name));
    }
    return list;
}

QStringList TDataSet::GetFieldNames() const
{
    QStringList names;
    for (const TField* field : m_fields)
        names << field->FieldName();
    return names;
}

QVariant TDataSet::FieldValues(const QString& fieldNames) const
{
    const std::vector<TField*> list = GetFieldList(fieldNames);
    if (list.size() == 1)
        return list.front()->Value();
    QVariantList values;
    for (const TField* field : list)
        values << field->Value();
    return values;
}

void TDataSet::SetFieldValues(const QString& fieldNames, const QVariant& values)
{
    const std::vector<TField*> list = GetFieldList(fieldNames);
    if (list.size() == 1) {
        list.front()->SetValue(values);
        return;
    }
    const QVariantList items = values.toList();
    for (size_t i = 0; i < list.size() && i < static_cast<size_t>(items.size()); ++i)
        list[i]->SetValue(items[static_cast<qsizetype>(i)]);
}

TRecordBuffer* TDataSet::GetActiveRecordBuffer() const
{
    switch (m_state) {
    case dsBrowse:
    case dsBlockRead:
        return IsEmpty() ? nullptr : ActiveBuffer();
    case dsEdit:
    case dsInsert:
        return ActiveBuffer();
    case dsCalcFields:
    case dsInternalCalc:
        return m_calcBuffer;
    case dsFilter:
        return m_filterBuffer;
    case dsOldValue:
        return const_cast<TRecordBuffer*>(GetOldRecordBuffer());
    default:
        return nullptr;
    }
}

TRecordBuffer* TDataSet::ActiveBuffer() const
{
    if (m_buffers.empty())
        return nullptr;
    return m_buffers[static_cast<size_t>(m_activeRecord)].get();
}

bool TDataSet::GetFieldValue(const TField* field, QVariant& value) const
{
    value = QVariant();
    const TRecordBuffer* buffer = GetActiveRecordBuffer();
    if (!buffer)
        return false;
    if (field->FieldKind() == fkData) {
        if (field->FieldNo() <= 0 || !GetFieldData(field, buffer, value)) {
            value = QVariant();
            return false;
        }
        return value.isValid();
    }
    const int slot = field->CalcIndex();
    if (slot < 0 || slot >= static_cast<int>(buffer->CalcValues.size()))
        return false;
    value = buffer->CalcValues[static_cast<size_t>(slot)];
    return value.isValid();
}

void TDataSet::SetFieldValue(TField* field, const QVariant& value)
{
    const bool quiet = m_state == dsCalcFields || m_state == dsInternalCalc || m_state == dsFilter
        || m_state == dsNewValue;
    const bool writable = quiet || m_state == dsEdit || m_state == dsInsert || m_state == dsSetKey;
    TRecordBuffer* buffer = writable ? GetActiveRecordBuffer() : nullptr;
    if (!buffer)
        Error(DbText(DbConsts::SNotEditing));
    if (field->FieldKind() == fkData) {
        if (m_state == dsCalcFields)
            Error(DbText(DbConsts::SNotEditing));
        if (!quiet)
            CheckFieldWritable(field);
    }
    if (!quiet && field->OnValidate) {
        // OnValidate sees the value being written through the field's accessors.
        field->m_validating = true;
        field->m_validateValue = value;
        try {
            field->OnValidate(field);
        } catch (...) {
            field->m_validating = false;
            field->m_validateValue = QVariant();
            throw;
        }
        field->m_validating = false;
        field->m_validateValue = QVariant();
    }
    if (field->FieldKind() == fkData) {
        SetFieldData(field, buffer, value);
    } else {
        const int slot = field->CalcIndex();
        if (slot >= 0 && slot < static_cast<int>(buffer->CalcValues.size()))
            buffer->CalcValues[static_cast<size_t>(slot)] = value;
    }
    if (!quiet)
        DataEvent(deFieldChange, reinterpret_cast<std::intptr_t>(field));
}

QVariant TDataSet::GetOldFieldValue(const TField* field) const
{
    if (m_state == dsInsert)
        return QVariant();
    QVariant value;
    if (m_state == dsEdit && GetOldRecordBuffer()) {
        auto* self = const_cast<TDataSet*>(this);
        const TDataSetState saved = self->SetTempState(dsOldValue);
        try {
            GetFieldValue(field, value);
        } catch (...) {
            self->RestoreState(saved);
            throw;
        }
        self->RestoreState(saved);
        return value;
    }
    GetFieldValue(field, value);
    return value;
}

void TDataSet::CheckFieldWritable(TField* field)
{
    if (field->ReadOnly() && m_state != dsSetKey)
        DatabaseError(DbText(DbConsts::SFieldReadOnly).arg(field->DisplayName()));
}

// ------------------------------------------------------------- notifications

void TDataSet::SetState(TDataSetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    m_modified = false;
    DataEvent(deUpdateState, 0);
}

TDataSetState TDataSet::SetTempState(TDataSetState state)
{
    const TDataSetState saved = m_state;
    m_state = state;
    ++m_tempStateDepth;
    return saved;
}

void TDataSet::RestoreState(TDataSetState state)
{
    m_state = state;
    if (m_tempStateDepth > 0)
        --m_tempStateDepth;
}

void TDataSet::DataEvent(TDataEvent event, std::intptr_t info)
{
    if (event == deFieldChange) {
        auto* field = reinterpret_cast<TField*>(info);
        if (field->FieldKind() == fkData || field->FieldKind() == fkInternalCalc)
            m_modified = true;
        UpdateCalcFields();
        if (field->OnChange)
            field->OnChange(field);
    }
    if (m_tempStateDepth > 0)
        return;
    // Requests to controls (write pending edits, leave the record, take the
    // focus) always go out; display updates wait while controls are disabled.
    // Closing reaches the links at once, as the fields they hold go with the cursor.
    const bool request = event == deUpdateRecord || event == deCheckBrowseMode || event == deFocusControl
        || (event == deUpdateState && m_state == dsInactive);
    if (request || !ControlsDisabled()) {
        const std::vector<TDataSource*> sources = m_dataSources;
        for (TDataSource* source : sources)
            if (std::find(m_dataSources.begin(), m_dataSources.end(), source) != m_dataSources.end())
                source->DataEvent(event, info);
    } else if ((event == deUpdateState && m_state == dsInactive) || event == deLayoutChange) {
        m_enableEvent = deLayoutChange;
    } else if (m_enableEvent != deLayoutChange) {
        m_enableEvent = deDataSetChange;
    }
}

void TDataSet::DisableControls()
{
    if (m_disableCount == 0) {
        m_disableState = m_state;
        m_enableEvent = deDataSetChange;
    }
    ++m_disableCount;
}

void TDataSet::EnableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount > 0)
        return;
    // The sources compare the state themselves: an unchanged state tells no one.
    DataEvent(deUpdateState, 0);
    if (m_disableState != dsInactive && m_state != dsInactive)
        DataEvent(m_enableEvent, 0);
}

void TDataSet::AddDataSource(TDataSource* source)
{
    m_dataSources.push_back(source);
    UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* source)
{
    m_dataSources.erase(std::remove(m_dataSources.begin(), m_dataSources.end(), source),
                        m_dataSources.end());
    UpdateBufferCount();
}

void TDataSet::UpdateBufferCount()
{
    if (m_buffers.empty())
        return; // not open
    int count = 1;
    for (const TDataSource* source : m_dataSources)
        for (const TDataLink* link : source->m_links)
            count = std::max(count, link->m_bufferCount);
    SetBufferCount(count);
}

bool TDataSet::IsLinkedTo(const TDataSource* dataSource) const
{
    std::unordered_set<const TDataSource*> seen;
    while (dataSource && seen.insert(dataSource).second) {
        const TDataSet* dataSet = dataSource->DataSet();
        if (!dataSet)
            break;
        if (dataSet == this)
            return true;
        dataSource = dataSet->GetDataSource();
    }
    return false;
}

void TDataSet::CheckCircularLink(const TDataSource* dataSource) const
{
    if (IsLinkedTo(dataSource))
        Error(DbText(DbConsts::SCircularDataLink));
}

// -------------------------------------------------------------------- checks

void TDataSet::Error(const QString& message) const
{
    DatabaseError(message, m_name);
}

void TDataSet::CheckActive() const
{
    if (!Active())
        Error(DbText(DbConsts::SDataSetClosed));
}

void TDataSet::CheckInactive() const
{
    if (Active())
        Error(DbText(DbConsts::SDataSetOpen));
}

void TDataSet::CheckCanModify() const
{
    if (!CanModify())
        Error(DbText(DbConsts::SDataSetReadOnly));
}

void TDataSet::SetFiltered(bool on)
{
    if (m_filtered == on)
        return;
    m_filtered = on;
    if (Active() && m_onFilterRecord)
        First();
}

void TDataSet::SetOnFilterRecord(const TFilterRecordEvent& handler)
{
    m_onFilterRecord = handler;
    if (Active() && m_filtered)
        First();
}

void TDataSet::DoOnNewRecord()
{
    DoNotify(OnNewRecord);
}

void TDataSet::DoBeforeScroll()
{
    DoNotify(BeforeScroll);
}

void TDataSet::DoAfterScroll()
{
    DoNotify(AfterScroll);
}
