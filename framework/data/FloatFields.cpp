#include "framework/data/FloatFields.h"

#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/ValueText.h"

#include <cmath>

TFloatField::TFloatField() : TFloatField(ftFloat) {}

TFloatField::TFloatField(TFieldType type) : TField(type, 0) {}

QString TFloatField::GetAsString() const
{
    QVariant value;
    return GetData(value) ? FloatToText(value.toDouble()) : QString();
}

int TFloatField::GetAsInteger() const
{
    return static_cast<int>(std::llround(GetAsFloat()));
}

double TFloatField::GetAsFloat() const
{
    QVariant value;
    return GetData(value) ? value.toDouble() : 0.0;
}

QVariant TFloatField::GetAsVariant() const
{
    QVariant value;
    return GetData(value) ? QVariant(value.toDouble()) : QVariant();
}

void TFloatField::AssignString(const QString& value)
{
    if (value.trimmed().isEmpty()) {
        Clear();
        return;
    }
    double number = 0;
    if (!TextToFloat(value, number))
        ConvertError(DbConsts::SInvalidFloat, value);
    AssignFloat(number);
}

void TFloatField::AssignLargeInt(qint64 value)
{
    AssignFloat(static_cast<double>(value));
}

void TFloatField::AssignFloat(double value)
{
    if ((m_minValue != 0 || m_maxValue != 0) && (value < m_minValue || value > m_maxValue))
        DatabaseError(DbText(DbConsts::SFieldRangeError)
                          .arg(FloatToText(value), DisplayName(), FloatToText(m_minValue), FloatToText(m_maxValue)));
    SetData(value);
}

void TFloatField::GetText(QString& text, bool displayText) const
{
    QVariant value;
    if (!GetData(value)) {
        text.clear();
        return;
    }
    if (displayText && m_currency)
        text = ValueLocale().toCurrencyString(value.toDouble());
    else
        text = FloatToText(value.toDouble());
}

TCurrencyField::TCurrencyField() : TFloatField(ftCurrency)
{
    SetCurrency(true);
}

TBCDField::TBCDField() : TFloatField(ftBCD) {}
