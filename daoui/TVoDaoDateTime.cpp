#include "daoui/TVoDaoDateTime.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const QDate kTimeOnlyDate(1899, 12, 30);

// The locale's short date with a four-digit year, and the form as it stands.
QStringList DateFormats(const QLocale& locale)
{
    // Two-digit years are left to the short forms, which expand them as Access does.
    QString fullYear = locale.dateFormat(QLocale::ShortFormat);
    if (!fullYear.contains(QLatin1String("yyyy")))
        fullYear.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    // The locale's own order first: where it writes day/month/year with
    // slashes its texts look like the office form.
    return {fullYear, QStringLiteral("MM/dd/yyyy"), QStringLiteral("yyyy-MM-dd")};
}

QStringList TimeFormats(const QLocale& locale)
{
    QString longFormat = locale.timeFormat(QLocale::LongFormat);
    longFormat.remove(QLatin1Char('t')); // no time zone in stored values
    return {longFormat.trimmed(), locale.timeFormat(QLocale::ShortFormat), QStringLiteral("HH:mm:ss"),
            QStringLiteral("HH:mm:ss.zzz")};
}

QDate ReadDate(const QLocale& locale, const QString& text)
{
    for (const QString& format : DateFormats(locale)) {
        const QDate date = locale.toDate(text, format);
        if (date.isValid())
            return date;
    }
    return QDate();
}

QTime ReadTime(const QLocale& locale, const QString& text)
{
    for (const QString& format : TimeFormats(locale)) {
        const QTime time = locale.toTime(text, format);
        if (time.isValid())
            return time;
    }
    return QTime();
}

// Positions of day, month and year in the locale's short date (0, 1, 2).
struct DateOrder {
    int day = 0, month = 1, year = 2;
};

DateOrder OrderOf(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype d = format.indexOf(QLatin1Char('d'));
    const qsizetype m = format.indexOf(QLatin1Char('M'));
    const qsizetype y = format.indexOf(QLatin1Char('y'));
    if (d < 0 || m < 0 || y < 0)
        return {};
    auto rank = [&](qsizetype p) { return int(p > d) + int(p > m) + int(p > y); };
    return {rank(d), rank(m), rank(y)};
}

QTime ShortTime(const QRegularExpressionMatch& match)
{
    int hour = match.captured(QStringLiteral("h")).toInt();
    const int minute = match.captured(QStringLiteral("m")).toInt();
    const int second = match.captured(QStringLiteral("s")).toInt();
    const QString half = match.captured(QStringLiteral("ap")).toUpper();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return QTime();
        hour = hour % 12 + (half == QLatin1String("PM") ? 12 : 0);
    }
    return QTime(hour, minute, second);
}

} // namespace

int TVoDaoDateTime::ExpandedYear(int twoDigitYear)
{
    return twoDigitYear < 30 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

void TVoDaoDateTime::SetDateTimeString(const QString& text)
{
    value_ = QDateTime();
    const QString t = text.trimmed();
    if (t.isEmpty())
        return;
    if (!ReadExact(t) && AccessShorting)
        ReadShort(t);
}

QString TVoDaoDateTime::DateTimeString() const
{
    if (!value_.isValid())
        return QString();
    if (value_.date() == kTimeOnlyDate)
        return locale_.toString(value_.time(), QLocale::LongFormat);
    if (value_.time() == QTime(0, 0))
        return locale_.toString(value_.date(), QLocale::ShortFormat);
    return locale_.toString(value_, QLocale::ShortFormat);
}

bool TVoDaoDateTime::ReadExact(const QString& text)
{
    if (const QDate date = ReadDate(locale_, text); date.isValid()) {
        value_ = QDateTime(date, QTime(0, 0));
        return true;
    }
    if (const QTime time = ReadTime(locale_, text); time.isValid()) {
        value_ = QDateTime(kTimeOnlyDate, time);
        return true;
    }
    // A date, one blank, a time: the date part may hold blanks of its own.
    for (qsizetype blank = text.indexOf(QLatin1Char(' ')); blank > 0;
         blank = text.indexOf(QLatin1Char(' '), blank + 1)) {
        const QDate date = ReadDate(locale_, text.left(blank));
        const QTime time = date.isValid() ? ReadTime(locale_, text.mid(blank + 1)) : QTime();
        if (time.isValid()) {
            value_ = QDateTime(date, time);
            return true;
        }
    }
    for (Qt::DateFormat format : {Qt::ISODateWithMs, Qt::ISODate}) {
        value_ = QDateTime::fromString(text, format);
        if (value_.isValid())
            return true;
    }
    value_ = QDateTime();
    return false;
}

bool TVoDaoDateTime::ReadShort(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^(?:(?<a>\d{1,4})(?<sep>[./-])(?<b>\d{1,2})(?:\k<sep>(?<c>\d{1,4}))?\.?)?)"
                       R"(\s*(?:(?<h>\d{1,2}):(?<m>\d{1,2})(?::(?<s>\d{1,2}))?\s*(?<ap>[AaPp][Mm])?)?$)"));
    const QRegularExpressionMatch match = form.match(text);
    const bool hasDate = match.hasMatch() && match.hasCaptured(QStringLiteral("a"));
    const bool hasTime = match.hasMatch() && match.hasCaptured(QStringLiteral("h"));
    if (!hasDate && !hasTime)
        return false;
    QDate date = kTimeOnlyDate;
    if (hasDate) {
        const QString a = match.captured(QStringLiteral("a"));
        const QString b = match.captured(QStringLiteral("b"));
        const QString c = match.captured(QStringLiteral("c"));
        int day = 0, month = 0, year = 0;
        if (a.size() == 4) { // year first, as ISO has it
            if (c.isEmpty())
                return false;
            year = a.toInt();
            month = b.toInt();
            day = c.toInt();
        } else {
            const DateOrder order = OrderOf(locale_);
            // Without a year the day and month keep their order.
            const QStringList parts = c.isEmpty() ? QStringList{a, b} : QStringList{a, b, c};
            auto part = [&](int position) {
                if (c.isEmpty())
                    position -= int(position > order.year);
                return position < parts.size() ? parts[position] : QString();
            };
            day = part(order.day).toInt();
            month = part(order.month).toInt();
            if (c.isEmpty()) {
                year = QDate::currentDate().year();
            } else {
                const QString y = part(order.year);
                year = y.size() <= 2 ? ExpandedYear(y.toInt()) : y.toInt();
            }
        }
        date = QDate(year, month, day);
        if (!date.isValid())
            return false;
    }
    QTime time(0, 0);
    if (hasTime) {
        time = ShortTime(match);
        if (!time.isValid())
            return false;
    }
    value_ = QDateTime(date, time);
    return true;
}

QDateTime ParsePastedDateTime(const QString& text, const QLocale& locale)
{
    TVoDaoDateTime reader(locale);
    reader.SetDateTimeString(text);
    if (!reader.Valid()) {
        reader.AccessShorting = true;
        reader.SetDateTimeString(text);
    }
    return reader.DateTime();
}
