#include "framework/data/TDataSource.h"

#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TDataLink.h"
#include "framework/data/TDataSet.h"

#include <algorithm>
#include <unordered_set>

TDataSource::~TDataSource()
{
    while (!m_links.empty()) {
        TDataLink* link = m_links.back();
        RemoveDataLink(link);
        link->m_active = false;
        link->m_editing = false;
    }
    if (m_dataSet)
        m_dataSet->RemoveDataSource(this);
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (dataSet && IsLinkedTo(dataSet))
        DatabaseError(DbText(DbConsts::SCircularDataLink));
    if (m_dataSet) {
        m_dataSet->RemoveDataSource(this);
        SetState(dsInactive);
    }
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->AddDataSource(this);
    UpdateState();
}

void TDataSource::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    UpdateState();
}

void TDataSource::Edit()
{
    if (m_autoEdit && m_dataSet && m_state == dsBrowse)
        m_dataSet->Edit();
}

bool TDataSource::IsLinkedTo(const TDataSet* dataSet) const
{
    std::unordered_set<const TDataSet*> seen;
    while (dataSet && seen.insert(dataSet).second) {
        const TDataSource* master = dataSet->GetDataSource();
        if (!master)
            break;
        if (master == this)
            return true;
        dataSet = master->DataSet();
    }
    return false;
}

void TDataSource::DataEvent(TDataEvent event, std::intptr_t info)
{
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (m_state == dsInactive)
        return;
    NotifyDataLinks(event, info);
    switch (event) {
    case deFieldChange:
        if (OnDataChange)
            OnDataChange(this, reinterpret_cast<TField*>(info));
        break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (OnDataChange)
            OnDataChange(this, nullptr);
        break;
    case deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(this);
        break;
    default:
        break;
    }
}

void TDataSource::NotifyDataLinks(TDataEvent event, std::intptr_t info)
{
    // A link may leave (or others join) while it is notified: walk a copy and
    // skip links that are gone.
    const std::vector<TDataLink*> links = m_links;
    for (TDataLink* link : links)
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end())
            link->DataEvent(event, info);
}

void TDataSource::UpdateState()
{
    SetState(m_enabled && m_dataSet ? m_dataSet->State() : dsInactive);
}

void TDataSource::SetState(TDataSetState state)
{
    if (m_state == state)
        return;
    const TDataSetState prior = m_state;
    m_state = state;
    NotifyDataLinks(deUpdateState, 0);
    if (OnStateChange)
        OnStateChange(this);
    if (prior == dsInactive && OnDataChange)
        OnDataChange(this, nullptr);
}

void TDataSource::AddDataLink(TDataLink* link)
{
    m_links.push_back(link);
    link->m_dataSource = this;
    if (m_dataSet)
        m_dataSet->UpdateBufferCount();
}

void TDataSource::RemoveDataLink(TDataLink* link)
{
    m_links.erase(std::remove(m_links.begin(), m_links.end(), link), m_links.end());
    link->m_dataSource = nullptr;
    if (m_dataSet)
        m_dataSet->UpdateBufferCount();
}
