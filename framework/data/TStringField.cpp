#include "framework/data/TStringField.h"

#include "framework/data/DbConsts.h"
#include "framework/data/ValueText.h"

TStringField::TStringField(TFieldType type, int size) : TField(type, size) {}

QString TStringField::GetAsString() const
{
    QVariant value;
    return GetData(value) ? value.toString() : QString();
}

int TStringField::GetAsInteger() const
{
    return static_cast<int>(GetAsLargeInt());
}

qint64 TStringField::GetAsLargeInt() const
{
    const QString text = GetAsString();
    qint64 value = 0;
    if (!TextToInteger(text, value))
        ConvertError(DbConsts::SInvalidInteger, text);
    return value;
}

double TStringField::GetAsFloat() const
{
    const QString text = GetAsString();
    double value = 0;
    if (!TextToFloat(text, value))
        ConvertError(DbConsts::SInvalidFloat, text);
    return value;
}

bool TStringField::GetAsBoolean() const
{
    const QString text = GetAsString().trimmed();
    bool value = false;
    if (TextToBoolean(text, value))
        return value;
    // Like the classic string field: "T..." and "Y..." count as true.
    return text.startsWith(QLatin1Char('T'), Qt::CaseInsensitive)
        || text.startsWith(QLatin1Char('Y'), Qt::CaseInsensitive);
}

QDateTime TStringField::GetAsDateTime() const
{
    const QString text = GetAsString();
    QDateTime value;
    if (!TextToDateTime(text, value))
        ConvertError(DbConsts::SInvalidDateTime, text);
    return value;
}

void TStringField::AssignString(const QString& value)
{
    // The field holds at most Size characters, as the classic string field does.
    SetData(Size() > 0 && value.size() > Size() ? value.left(Size()) : value);
}

void TStringField::AssignLargeInt(qint64 value)
{
    AssignString(IntegerToText(value));
}

void TStringField::AssignFloat(double value)
{
    AssignString(FloatToText(value));
}

void TStringField::AssignBoolean(bool value)
{
    AssignString(value ? QStringLiteral("True") : QStringLiteral("False"));
}

void TStringField::AssignDateTime(const QDateTime& value)
{
    AssignString(DateTimeToText(value));
}
