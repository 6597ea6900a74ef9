#include "framework/data/IntegerFields.h"

#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/ValueText.h"

#include <cmath>
#include <limits>

TIntegerField::TIntegerField() : TIntegerField(ftInteger, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()) {}

TIntegerField::TIntegerField(TFieldType type, qint64 minRange, qint64 maxRange)
    : TField(type, 0), m_minRange(minRange), m_maxRange(maxRange)
{
}

QString TIntegerField::GetAsString() const
{
    QVariant value;
    return GetData(value) ? IntegerToText(value.toLongLong()) : QString();
}

int TIntegerField::GetAsInteger() const
{
    return static_cast<int>(GetAsLargeInt());
}

qint64 TIntegerField::GetAsLargeInt() const
{
    QVariant value;
    return GetData(value) ? value.toLongLong() : 0;
}

double TIntegerField::GetAsFloat() const
{
    return static_cast<double>(GetAsLargeInt());
}

QVariant TIntegerField::GetAsVariant() const
{
    QVariant value;
    return GetData(value) ? MakeNative(value.toLongLong()) : QVariant();
}

void TIntegerField::AssignString(const QString& value)
{
    if (value.trimmed().isEmpty()) {
        Clear();
        return;
    }
    qint64 number = 0;
    if (!TextToInteger(value, number))
        ConvertError(DbConsts::SInvalidInteger, value);
    AssignLargeInt(number);
}

void TIntegerField::AssignLargeInt(qint64 value)
{
    qint64 low = m_minRange;
    qint64 high = m_maxRange;
    if (m_minValue != 0 || m_maxValue != 0) {
        low = m_minValue;
        high = m_maxValue;
    }
    if (value < low || value > high)
        DatabaseError(DbText(DbConsts::SFieldRangeError)
                          .arg(IntegerToText(value), DisplayName(), IntegerToText(low), IntegerToText(high)));
    SetData(MakeNative(value));
}

void TIntegerField::AssignFloat(double value)
{
    AssignLargeInt(std::llround(value));
}

TSmallintField::TSmallintField() : TIntegerField(ftSmallint, -32768, 32767) {}

TWordField::TWordField() : TIntegerField(ftWord, 0, 65535) {}

TAutoIncField::TAutoIncField()
    : TIntegerField(ftAutoInc, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max())
{
}

TLargeintField::TLargeintField()
    : TIntegerField(ftLargeint, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max())
{
}
