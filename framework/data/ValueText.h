#pragma once
// Conversions between field values and their texts, with the user's locale
// (decimal separator, date order) as the framework shows values.
#include <QDateTime>
#include <QLocale>
#include <QString>

// The locale used for value texts: the default locale, without group separators.
QLocale ValueLocale();

QString IntegerToText(qint64 value);
// Trimmed text in the locale's or in plain C form; false when not an integer.
bool TextToInteger(const QString& text, qint64& value);

// Up to 15 significant digits, the locale's decimal separator.
QString FloatToText(double value);
bool TextToFloat(const QString& text, double& value);

// Accepts "true"/"false", "yes"/"no", "on"/"off", "-1" (true), "0"/"1",
// with an optional leading "=", ignoring case.
bool TextToBoolean(const QString& text, bool& value);

// The locale's short date (four-digit year) and long time formats.
QString ShortDateFormat();
QString LongTimeFormat();
// Date, time or date and time text as the framework shows it; a date-time
// without a time part is shown as the date only.
QString DateToText(const QDate& value);
QString TimeToText(const QTime& value);
QString DateTimeToText(const QDateTime& value);
// Reads the forms above (and ISO forms); false when nothing fits.
bool TextToDate(const QString& text, QDate& value);
bool TextToTime(const QString& text, QTime& value);
bool TextToDateTime(const QString& text, QDateTime& value);
