#include "framework/data/TFieldDefs.h"

#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"

TFieldDef* TFieldDefs::Add(const QString& name, TFieldType type, int size, bool required)
{
    if (name.isEmpty())
        DatabaseError(DbText(DbConsts::SFieldNameMissing));
    if (IndexOf(name) >= 0)
        DatabaseError(DbText(DbConsts::SDuplicateFieldName).arg(name));
    m_defs.push_back(std::make_unique<TFieldDef>(name, type, size, required, Count() + 1));
    return m_defs.back().get();
}

void TFieldDefs::Clear()
{
    m_defs.clear();
    m_updated = false;
}

TFieldDef* TFieldDefs::Items(int index) const
{
    if (index < 0 || index >= Count())
        DatabaseError(DbText(DbConsts::SFieldIndexError));
    return m_defs[static_cast<size_t>(index)].get();
}

int TFieldDefs::IndexOf(const QString& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_defs[static_cast<size_t>(i)]->Name().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TFieldDef* TFieldDefs::Find(const QString& name) const
{
    const int i = IndexOf(name);
    return i < 0 ? nullptr : m_defs[static_cast<size_t>(i)].get();
}

TFieldDef* TFieldDefs::FindDef(const QString& name) const
{
    TFieldDef* def = Find(name);
    if (!def)
        DatabaseError(DbText(DbConsts::SFieldDefNotFound).arg(name));
    return def;
}
