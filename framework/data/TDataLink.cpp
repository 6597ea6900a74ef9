#include "framework/data/TDataLink.h"

#include "framework/data/TDataSet.h"
#include "framework/data/TDataSource.h"

#include <algorithm>

TDataLink::~TDataLink()
{
    // No notifications from here: the derived link is already gone.
    if (m_dataSource)
        m_dataSource->RemoveDataLink(this);
}

void TDataLink::SetDataSource(TDataSource* dataSource)
{
    if (dataSource == m_dataSource)
        return;
    if (m_dataSource)
        m_dataSource->RemoveDataLink(this);
    if (dataSource)
        dataSource->AddDataLink(this);
    UpdateState();
}

TDataSet* TDataLink::DataSet() const
{
    return m_dataSource ? m_dataSource->DataSet() : nullptr;
}

int TDataLink::ActiveRecord() const
{
    const TDataSet* dataSet = DataSet();
    if (!dataSet || m_dataSource->State() == dsSetKey)
        return 0;
    return dataSet->m_activeRecord - m_firstRecord;
}

void TDataLink::SetActiveRecord(int value)
{
    TDataSet* dataSet = DataSet();
    if (!dataSet || m_dataSource->State() == dsSetKey)
        return;
    // Only buffered records can be made current.
    dataSet->m_activeRecord = std::clamp(value + m_firstRecord, 0, std::max(0, dataSet->m_recordCount - 1));
}

void TDataLink::SetBufferCount(int count)
{
    count = std::max(count, 1);
    if (count == m_bufferCount)
        return;
    m_bufferCount = count;
    if (m_active) {
        UpdateRange();
        DataSet()->UpdateBufferCount();
        UpdateRange();
    }
}

int TDataLink::RecordCount() const
{
    const TDataSet* dataSet = DataSet();
    if (!m_active || !dataSet)
        return 0;
    if (m_dataSource->State() == dsSetKey)
        return 1;
    return std::clamp(dataSet->m_recordCount - m_firstRecord, 0, m_bufferCount);
}

void TDataLink::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    UpdateState();
}

bool TDataLink::Edit()
{
    if (!m_readOnly && m_dataSource)
        m_dataSource->Edit();
    return m_editing;
}

void TDataLink::UpdateRecord()
{
    m_updating = true;
    try {
        UpdateData();
    } catch (...) {
        m_updating = false;
        throw;
    }
    m_updating = false;
}

void TDataLink::UpdateState()
{
    const TDataSetState state = m_dataSource ? m_dataSource->State() : dsInactive;
    SetActive(state != dsInactive);
    SetEditing(m_active && !m_readOnly && (state == dsEdit || state == dsInsert || state == dsSetKey));
}

void TDataLink::SetActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (active)
        UpdateRange();
    else
        m_firstRecord = 0;
    ActiveChanged();
}

void TDataLink::SetEditing(bool editing)
{
    if (editing == m_editing)
        return;
    m_editing = editing;
    EditingChanged();
}

void TDataLink::UpdateRange()
{
    const TDataSet* dataSet = DataSet();
    if (!dataSet)
        return;
    const int active = dataSet->m_activeRecord;
    const int low = std::max(0, active - m_bufferCount + 1);
    const int high = std::max(low, std::min(active, dataSet->m_recordCount - m_bufferCount));
    m_firstRecord = std::clamp(m_firstRecord, low, high);
}

void TDataLink::DataEvent(TDataEvent event, std::intptr_t info)
{
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (!m_active)
        return;
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!m_updating)
            RecordChanged(reinterpret_cast<TField*>(info));
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
        int count = 0;
        const TDataSet* dataSet = DataSet();
        if (m_dataSource->State() != dsSetKey && dataSet) {
            const int active = dataSet->m_activeRecord;
            // The dataset's buffers moved by info rows; keep the current record inside the window.
            const int first = m_firstRecord + (event == deDataSetScroll ? static_cast<int>(info) : 0);
            const int last = first + m_bufferCount - 1;
            if (active > last)
                count = active - last;
            else if (active < first)
                count = active - first;
            m_firstRecord = first + count;
            if (event != deDataSetScroll) // fewer records: pull the window back
                m_firstRecord = std::min(m_firstRecord,
                                         std::max(0, dataSet->m_recordCount - m_bufferCount));
        }
        if (event == deDataSetChange)
            DataSetChanged();
        else if (event == deDataSetScroll)
            DataSetScrolled(count);
        else
            LayoutChanged();
        break;
    }
    case deUpdateRecord:
        UpdateRecord();
        break;
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    case deFocusControl:
        FocusControl(reinterpret_cast<TField**>(info));
        break;
    default:
        break;
    }
}
