#pragma once
// The field definitions of a dataset, in cursor order.
#include "framework/data/TFieldDef.h"

#include <memory>
#include <vector>

class TFieldDefs {
public:
    TFieldDef* Add(const QString& name, TFieldType type, int size = 0, bool required = false);
    void Clear();
    int Count() const { return static_cast<int>(m_defs.size()); }
    TFieldDef* Items(int index) const;
    // Name lookup ignores case; -1 / nullptr when absent.
    int IndexOf(const QString& name) const;
    TFieldDef* Find(const QString& name) const;
    // Like Find, raising "Felddefinition '<name>' nicht gefunden" when absent.
    TFieldDef* FindDef(const QString& name) const;
    bool Updated() const { return m_updated; }
    void SetUpdated(bool updated) { m_updated = updated; }

private:
    std::vector<std::unique_ptr<TFieldDef>> m_defs;
    bool m_updated = false;
};
