#include "framework/data/BinaryFields.h"

TBinaryField::TBinaryField(TFieldType type, int size) : TField(type, size) {}

QString TBinaryField::GetAsString() const
{
    return QString::fromLatin1(GetAsBytes());
}

QVariant TBinaryField::GetAsVariant() const
{
    QVariant value;
    return GetData(value) ? QVariant(GetAsBytes()) : QVariant();
}

void TBinaryField::AssignString(const QString& value)
{
    if (value.isEmpty())
        Clear();
    else
        SetData(value.toLatin1());
}

void TBinaryField::GetText(QString& text, bool displayText) const
{
    if (displayText)
        text = QStringLiteral("(%1)").arg(FieldTypeName(DataType()).toUpper());
    else
        text = GetAsString();
}

TBytesField::TBytesField(int size) : TBinaryField(ftBytes, size) {}

TVarBytesField::TVarBytesField(int size) : TBinaryField(ftVarBytes, size) {}
