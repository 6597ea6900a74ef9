#include "framework/data/DateTimeFields.h"

#include "framework/data/DbConsts.h"
#include "framework/data/TimeStamp.h"
#include "framework/data/ValueText.h"

namespace {

const QDate kTimeOnlyDate(1899, 12, 30);

} // namespace

TDateTimeField::TDateTimeField() : TDateTimeField(ftDateTime) {}

TDateTimeField::TDateTimeField(TFieldType type) : TField(type, 0) {}

TDateField::TDateField() : TDateTimeField(ftDate) {}

TTimeField::TTimeField() : TDateTimeField(ftTime) {}

QDateTime TDateTimeField::GetAsDateTime() const
{
    QVariant value;
    if (!GetData(value))
        return QDateTime();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return QDateTime(value.toDate(), QTime(0, 0));
    case QMetaType::QTime:
        return QDateTime(kTimeOnlyDate, value.toTime());
    default:
        return value.toDateTime();
    }
}

QVariant TDateTimeField::GetAsVariant() const
{
    const QDateTime value = GetAsDateTime();
    if (!value.isValid())
        return QVariant();
    switch (DataType()) {
    case ftDate:
        return value.date();
    case ftTime:
        return value.time();
    default:
        return value;
    }
}

double TDateTimeField::GetAsFloat() const
{
    const QDateTime value = GetAsDateTime();
    return value.isValid() ? DateTimeToNumber(value) : 0.0;
}

QString TDateTimeField::GetAsString() const
{
    QString text;
    GetText(text, false);
    return text;
}

void TDateTimeField::GetText(QString& text, bool displayText) const
{
    const QDateTime value = GetAsDateTime();
    if (!value.isValid()) {
        text.clear();
        return;
    }
    if (displayText && !m_displayFormat.isEmpty()) {
        text = QLocale().toString(value, m_displayFormat);
        return;
    }
    switch (DataType()) {
    case ftDate:
        text = DateToText(value.date());
        break;
    case ftTime:
        text = TimeToText(value.time());
        break;
    default:
        text = DateTimeToText(value);
        break;
    }
}

void TDateTimeField::AssignString(const QString& value)
{
    if (value.trimmed().isEmpty()) {
        Clear();
        return;
    }
    switch (DataType()) {
    case ftDate: {
        QDate date;
        if (!TextToDate(value, date))
            ConvertError(DbConsts::SInvalidDate, value);
        SetData(date);
        break;
    }
    case ftTime: {
        QTime time;
        if (!TextToTime(value, time))
            ConvertError(DbConsts::SInvalidTime, value);
        SetData(time);
        break;
    }
    default: {
        QDateTime dateTime;
        if (!TextToDateTime(value, dateTime))
            ConvertError(DbConsts::SInvalidDateTime, value);
        SetData(dateTime);
        break;
    }
    }
}

void TDateTimeField::AssignFloat(double value)
{
    AssignDateTime(NumberToDateTime(value));
}

void TDateTimeField::AssignDateTime(const QDateTime& value)
{
    if (!value.isValid()) {
        Clear();
        return;
    }
    switch (DataType()) {
    case ftDate:
        SetData(value.date());
        break;
    case ftTime:
        SetData(value.time());
        break;
    default:
        SetData(value);
        break;
    }
}

int TDateTimeField::DefaultDisplayWidth() const
{
    const QDateTime sample(QDate(2000, 12, 31), QTime(23, 59, 59));
    switch (DataType()) {
    case ftDate:
        return static_cast<int>(DateToText(sample.date()).size());
    case ftTime:
        return static_cast<int>(TimeToText(sample.time()).size());
    default:
        return static_cast<int>(DateTimeToText(sample).size());
    }
}
