#pragma once
// Definition of one physical field of a dataset's cursor.
#include "framework/data/DbTypes.h"

#include <QString>

class TFieldDef {
public:
    enum Attribute { faReadonly = 1, faRequired = 2, faHiddenCol = 4, faFixed = 8 };

    TFieldDef(const QString& name, TFieldType type, int size, bool required, int fieldNo);

    const QString& Name() const { return m_name; }
    TFieldType DataType() const { return m_dataType; }
    int Size() const { return m_size; }
    void SetSize(int size) { m_size = size; }
    bool Required() const { return m_required; }
    void SetRequired(bool required) { m_required = required; }
    // 1-based position in the definitions: the field number of its data field.
    int FieldNo() const { return m_fieldNo; }
    unsigned Attributes() const { return m_attributes; }
    void SetAttributes(unsigned attributes) { m_attributes = attributes; }
    int Precision() const { return m_precision; }
    void SetPrecision(int precision) { m_precision = precision; }

private:
    QString m_name;
    TFieldType m_dataType;
    int m_size;
    bool m_required;
    int m_fieldNo;
    unsigned m_attributes = 0;
    int m_precision = 0;
};
