#include "framework/data/ValueText.h"

#include <QStringList>
#include <cmath>

QLocale ValueLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString IntegerToText(qint64 value)
{
    return QString::number(value);
}

bool TextToInteger(const QString& text, qint64& value)
{
    const QString t = text.trimmed();
    bool ok = false;
    value = ValueLocale().toLongLong(t, &ok);
    if (!ok)
        value = t.toLongLong(&ok);
    return ok;
}

QString FloatToText(double value)
{
    if (std::isnan(value) || std::isinf(value))
        return QString::number(value);
    return ValueLocale().toString(value, 'g', 15);
}

bool TextToFloat(const QString& text, double& value)
{
    const QString t = text.trimmed();
    bool ok = false;
    value = ValueLocale().toDouble(t, &ok);
    if (!ok)
        value = QLocale::c().toDouble(t, &ok);
    return ok;
}

bool TextToBoolean(const QString& text, bool& value)
{
    QString t = text.trimmed().toLower();
    if (t.startsWith(QLatin1Char('=')))
        t = t.mid(1).trimmed();
    if (t == u"true" || t == u"yes" || t == u"on" || t == u"-1" || t == u"1") {
        value = true;
        return true;
    }
    if (t == u"false" || t == u"no" || t == u"off" || t == u"0") {
        value = false;
        return true;
    }
    return false;
}

QString ShortDateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    // Always show four-digit years.
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString LongTimeFormat()
{
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    // The time-zone part has no meaning for stored values.
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

QString DateToText(const QDate& value)
{
    return value.isValid() ? QLocale().toString(value, ShortDateFormat()) : QString();
}

QString TimeToText(const QTime& value)
{
    return value.isValid() ? QLocale().toString(value, LongTimeFormat()) : QString();
}

QString DateTimeToText(const QDateTime& value)
{
    if (!value.isValid())
        return QString();
    if (value.time() == QTime(0, 0))
        return DateToText(value.date());
    return DateToText(value.date()) + QLatin1Char(' ') + TimeToText(value.time());
}

bool TextToDate(const QString& text, QDate& value)
{
    const QString t = text.trimmed();
    const QLocale locale;
    for (const QString& format : {ShortDateFormat(), locale.dateFormat(QLocale::ShortFormat),
                                  QStringLiteral("yyyy-MM-dd"), QStringLiteral("MM/dd/yyyy")}) {
        value = locale.toDate(t, format);
        if (value.isValid())
            return true;
    }
    return false;
}

bool TextToTime(const QString& text, QTime& value)
{
    const QString t = text.trimmed();
    const QLocale locale;
    for (const QString& format : {LongTimeFormat(), locale.timeFormat(QLocale::ShortFormat),
                                  QStringLiteral("HH:mm:ss"), QStringLiteral("HH:mm:ss.zzz"),
                                  QStringLiteral("HH:mm")}) {
        value = locale.toTime(t, format);
        if (value.isValid())
            return true;
    }
    return false;
}

bool TextToDateTime(const QString& text, QDateTime& value)
{
    const QString t = text.trimmed();
    QDate date;
    if (TextToDate(t, date)) {
        value = QDateTime(date, QTime(0, 0));
        return true;
    }
    // The date form may hold blanks itself ("6 Dec 2026"): try each blank as the
    // border between date and time.
    QTime time;
    for (int blank = t.indexOf(QLatin1Char(' ')); blank > 0; blank = t.indexOf(QLatin1Char(' '), blank + 1))
        if (TextToDate(t.left(blank), date) && TextToTime(t.mid(blank + 1), time)) {
            value = QDateTime(date, time);
            return true;
        }
    value = QDateTime::fromString(t, Qt::ISODate);
    return value.isValid();
}
