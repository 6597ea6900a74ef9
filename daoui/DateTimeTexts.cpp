#include "daoui/DateTimeTexts.h"

namespace {

// Order of the date parts ('d', 'm', 'y') and the separator between them.
struct DateShape {
    QString order;
    QChar separator;
};

// The first character of a format that separates its parts (not a letter,
// digit, blank or quote); fallback when there is none.
QChar separatorIn(const QString& format, QChar fallback)
{
    for (const QChar c : format)
        if (!c.isLetterOrNumber() && !c.isSpace() && c != QLatin1Char('\''))
            return c;
    return fallback;
}

DateShape dateShape(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const QChar separator = separatorIn(format, QChar());
    QString order;
    for (const QChar c : format) {
        const QChar part = c == QLatin1Char('M') ? QLatin1Char('m') : c;
        if ((part == QLatin1Char('d') || part == QLatin1Char('m') || part == QLatin1Char('y')) && !order.contains(part))
            order += part;
    }
    if (separator.isNull() || order.size() != 3)
        return {QStringLiteral("ymd"), QLatin1Char('-')};
    return {order, separator};
}

QString joinDateParts(const QLocale& locale, const QString& day, const QString& month, const QString& year)
{
    const DateShape shape = dateShape(locale);
    QStringList parts;
    for (const QChar part : shape.order)
        parts << (part == QLatin1Char('d') ? day : part == QLatin1Char('m') ? month : year);
    return parts.join(shape.separator);
}

QChar timeSeparator(const QLocale& locale)
{
    return separatorIn(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
}

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

} // namespace

TPickerKind PickerKindOf(TFieldType type)
{
    switch (type) {
    case ftDate:
    case ftDateTime: return TPickerKind::Date;
    case ftTime: return TPickerKind::Time;
    default: return TPickerKind::None;
    }
}

QString DatePattern(const QLocale& locale)
{
    return joinDateParts(locale, QStringLiteral("dd"), QStringLiteral("mm"), QStringLiteral("yyyy"));
}

QString TimePattern(const QLocale& locale)
{
    const QChar sep = timeSeparator(locale);
    return QStringLiteral("hh") + sep + QStringLiteral("mm") + sep + QStringLiteral("ss");
}

QString PickerDateText(const QDate& date, const QLocale& locale)
{
    return joinDateParts(locale, twoDigits(date.day()), twoDigits(date.month()),
                         QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')));
}

QString PickerTimeText(const QTime& time, const QLocale& locale)
{
    const QChar sep = timeSeparator(locale);
    return twoDigits(time.hour()) + sep + twoDigits(time.minute()) + sep + twoDigits(time.second());
}
