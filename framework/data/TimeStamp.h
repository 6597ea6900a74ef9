#pragma once
// The framework's time stamp: days counted from 1 January of year 1 (that day
// being 1) and milliseconds since midnight; and the classic date-time number
// (days since 30 December 1899, time as the fraction).
#include <QDateTime>
#include <QString>

struct TTimeStamp {
    int Time = 0; // milliseconds since midnight
    int Date = 0; // day number, 1 = 0001-01-01
};

// Day number of 1899-12-30, the zero of the date-time number.
inline constexpr int DateDelta = 693594;

TTimeStamp DateTimeToTimeStamp(const QDateTime& value);
QDateTime TimeStampToDateTime(const TTimeStamp& stamp);

double DateTimeToNumber(const QDateTime& value);
QDateTime NumberToDateTime(double value);

// "day ms": the two decimal integers of the time stamp, separated by one blank
// (the text form of date and time values in record buffers).
QString TimeStampText(const QDateTime& value);
// Reads "day ms"; false when the text is not of that form.
bool ParseTimeStampText(const QString& text, QDateTime& value);
