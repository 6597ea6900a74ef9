#include "framework/data/TBooleanField.h"

#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/ValueText.h"

TBooleanField::TBooleanField() : TField(ftBoolean, 0) {}

QString TBooleanField::TrueText() const
{
    return m_displayValues.section(QLatin1Char(';'), 0, 0);
}

QString TBooleanField::FalseText() const
{
    return m_displayValues.section(QLatin1Char(';'), 1, 1);
}

QString TBooleanField::GetAsString() const
{
    QVariant value;
    if (!GetData(value))
        return QString();
    return value.toBool() ? TrueText() : FalseText();
}

bool TBooleanField::GetAsBoolean() const
{
    QVariant value;
    return GetData(value) && value.toBool();
}

int TBooleanField::GetAsInteger() const
{
    return GetAsBoolean() ? 1 : 0;
}

QVariant TBooleanField::GetAsVariant() const
{
    QVariant value;
    return GetData(value) ? QVariant(value.toBool()) : QVariant();
}

void TBooleanField::AssignString(const QString& value)
{
    const QString text = value.trimmed();
    if (text.isEmpty()) {
        Clear();
        return;
    }
    if (!TrueText().isEmpty() && text.compare(TrueText(), Qt::CaseInsensitive) == 0) {
        AssignBoolean(true);
        return;
    }
    if (!FalseText().isEmpty() && text.compare(FalseText(), Qt::CaseInsensitive) == 0) {
        AssignBoolean(false);
        return;
    }
    bool flag = false;
    if (!TextToBoolean(text, flag))
        DatabaseError(DbText(DbConsts::SInvalidBoolValue).arg(value, DisplayName()));
    AssignBoolean(flag);
}

void TBooleanField::AssignBoolean(bool value)
{
    SetData(value);
}

void TBooleanField::AssignLargeInt(qint64 value)
{
    AssignBoolean(value != 0);
}

int TBooleanField::DefaultDisplayWidth() const
{
    return static_cast<int>(qMax(TrueText().size(), FalseText().size()));
}
