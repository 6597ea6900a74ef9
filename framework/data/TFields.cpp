#include "framework/data/TFields.h"

#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"

#include <algorithm>

TFields::~TFields()
{
    DeleteAll();
}

TField* TFields::Fields(int index) const
{
    if (index < 0 || index >= Count())
        DatabaseError(DbText(DbConsts::SFieldIndexError));
    return m_fields[static_cast<size_t>(index)];
}

TField* TFields::FindField(const QString& name) const
{
    for (TField* field : m_fields)
        if (field->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return field;
    return nullptr;
}

TField* TFields::FieldByNumber(int fieldNo) const
{
    for (TField* field : m_fields)
        if (field->FieldNo() == fieldNo)
            return field;
    return nullptr;
}

int TFields::IndexOf(const TField* field) const
{
    const auto it = std::find(m_fields.begin(), m_fields.end(), field);
    return it == m_fields.end() ? -1 : static_cast<int>(it - m_fields.begin());
}

void TFields::Add(TField* field)
{
    m_fields.push_back(field);
}

void TFields::Insert(int index, TField* field)
{
    index = std::clamp(index, 0, Count());
    m_fields.insert(m_fields.begin() + index, field);
}

void TFields::Remove(TField* field)
{
    const auto it = std::find(m_fields.begin(), m_fields.end(), field);
    if (it != m_fields.end())
        m_fields.erase(it);
}

void TFields::Move(int from, int to)
{
    if (from < 0 || from >= Count())
        return;
    to = std::clamp(to, 0, Count() - 1);
    TField* field = m_fields[static_cast<size_t>(from)];
    m_fields.erase(m_fields.begin() + from);
    m_fields.insert(m_fields.begin() + to, field);
}

void TFields::DeleteAll()
{
    while (!m_fields.empty()) {
        TField* field = m_fields.back();
        m_fields.pop_back();
        field->m_dataSet = nullptr; // already out of the list
        delete field;
    }
}
