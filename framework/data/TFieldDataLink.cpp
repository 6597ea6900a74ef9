#include "framework/data/TFieldDataLink.h"

#include "framework/data/TDataSet.h"
#include "framework/data/TField.h"

void TFieldDataLink::SetFieldName(const QString& name)
{
    if (name == m_fieldName)
        return;
    m_fieldName = name;
    UpdateField();
}

bool TFieldDataLink::CanModify() const
{
    return !ReadOnly() && (!m_field || m_field->CanModify());
}

bool TFieldDataLink::Edit()
{
    if (CanModify())
        TDataLink::Edit();
    return m_editing;
}

void TFieldDataLink::UpdateField()
{
    TField* field = nullptr;
    if (Active() && !m_fieldName.isEmpty())
        field = DataSet()->FindField(m_fieldName);
    SetField(field);
}

void TFieldDataLink::SetField(TField* field)
{
    if (field == m_field)
        return;
    m_field = field;
    UpdateEditing();
    RecordChanged(nullptr);
}

void TFieldDataLink::UpdateEditing()
{
    const bool editing = TDataLink::Editing() && CanModify();
    if (editing == m_editing)
        return;
    m_editing = editing;
    m_modified = false;
    if (OnEditingChange)
        OnEditingChange(this);
}

void TFieldDataLink::ActiveChanged()
{
    UpdateField();
    if (OnActiveChange)
        OnActiveChange(this);
}

void TFieldDataLink::LayoutChanged()
{
    UpdateField();
}

void TFieldDataLink::RecordChanged(TField* field)
{
    if (!field || field == m_field) {
        if (OnDataChange)
            OnDataChange(this);
        m_modified = false;
    }
}

void TFieldDataLink::EditingChanged()
{
    UpdateEditing();
}

void TFieldDataLink::FocusControl(TField** field)
{
    if (field && *field && *field == m_field && OnFocusControl) {
        *field = nullptr;
        OnFocusControl(this);
    }
}

void TFieldDataLink::UpdateData()
{
    if (!m_modified)
        return;
    if (m_field && OnUpdateData)
        OnUpdateData(this);
    m_modified = false;
}
