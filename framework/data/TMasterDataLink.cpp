#include "framework/data/TMasterDataLink.h"

#include "framework/data/TDataSet.h"
#include "framework/data/TDataSource.h"

#include <algorithm>

void TMasterDataLink::SetFieldNames(const QString& names)
{
    if (names == m_fieldNames)
        return;
    m_fieldNames = names;
    ActiveChanged();
}

void TMasterDataLink::SetMasterSource(TDataSource* dataSource)
{
    if (dataSource && m_detail)
        m_detail->CheckCircularLink(dataSource);
    SetDataSource(dataSource);
}

void TMasterDataLink::ActiveChanged()
{
    m_fields.clear();
    if (Active()) {
        try {
            m_fields = DataSet()->GetFieldList(m_fieldNames);
        } catch (...) {
            m_fields.clear();
            throw;
        }
    }
    if (!m_detail || !m_detail->Active())
        return;
    if (Active() && !m_fields.empty()) {
        if (OnMasterChange)
            OnMasterChange(this);
    } else if (OnMasterDisable) {
        OnMasterDisable(this);
    }
}

void TMasterDataLink::RecordChanged(TField* field)
{
    if (DataSource()->State() == dsSetKey || !m_detail || !m_detail->Active() || m_fields.empty())
        return;
    if (field && std::find(m_fields.begin(), m_fields.end(), field) == m_fields.end())
        return;
    if (OnMasterChange)
        OnMasterChange(this);
}

void TMasterDataLink::CheckBrowseMode()
{
    if (m_detail && m_detail->Active())
        m_detail->CheckBrowseMode();
}
