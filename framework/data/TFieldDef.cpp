#include "framework/data/TFieldDef.h"

TFieldDef::TFieldDef(const QString& name, TFieldType type, int size, bool required, int fieldNo)
    : m_name(name), m_dataType(type), m_size(size), m_required(required), m_fieldNo(fieldNo)
{
    if (required)
        m_attributes |= faRequired;
}
