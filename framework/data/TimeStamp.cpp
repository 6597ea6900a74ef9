#include "framework/data/TimeStamp.h"

#include <QStringList>
#include <cmath>

namespace {

const qint64 kFirstJulianDay = QDate(1, 1, 1).toJulianDay();
constexpr qint64 kMsPerDay = 86400000;

} // namespace

TTimeStamp DateTimeToTimeStamp(const QDateTime& value)
{
    TTimeStamp stamp;
    if (!value.isValid())
        return stamp;
    stamp.Date = static_cast<int>(value.date().toJulianDay() - kFirstJulianDay + 1);
    stamp.Time = value.time().msecsSinceStartOfDay();
    return stamp;
}

QDateTime TimeStampToDateTime(const TTimeStamp& stamp)
{
    const QDate date = QDate::fromJulianDay(kFirstJulianDay + stamp.Date - 1);
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(stamp.Time));
}

double DateTimeToNumber(const QDateTime& value)
{
    const TTimeStamp stamp = DateTimeToTimeStamp(value);
    const double days = stamp.Date - DateDelta;
    const double fraction = static_cast<double>(stamp.Time) / kMsPerDay;
    // Before the zero day the fraction still counts forward in time.
    return days < 0 ? days - fraction : days + fraction;
}

QDateTime NumberToDateTime(double value)
{
    const double days = std::trunc(value);
    const double fraction = std::fabs(value - days);
    qint64 ms = std::llround(fraction * kMsPerDay);
    int extraDay = 0;
    if (ms >= kMsPerDay) { // rounding reached midnight of the next day
        ms -= kMsPerDay;
        extraDay = value < 0 ? -1 : 1;
    }
    TTimeStamp stamp;
    stamp.Date = static_cast<int>(days) + DateDelta + extraDay;
    stamp.Time = static_cast<int>(ms);
    return TimeStampToDateTime(stamp);
}

QString TimeStampText(const QDateTime& value)
{
    const TTimeStamp stamp = DateTimeToTimeStamp(value);
    return QString::number(stamp.Date) + QLatin1Char(' ') + QString::number(stamp.Time);
}

bool ParseTimeStampText(const QString& text, QDateTime& value)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return false;
    bool okDate = false;
    bool okTime = false;
    TTimeStamp stamp;
    stamp.Date = parts[0].toInt(&okDate);
    stamp.Time = parts[1].toInt(&okTime);
    if (!okDate || !okTime || stamp.Time < 0 || stamp.Time >= kMsPerDay)
        return false;
    value = TimeStampToDateTime(stamp);
    return value.isValid();
}
