#pragma once
// The date-time component: reads a date, a time or a date with a time from
// a text, as the grid's paste gets them from the clipboard. No widgets.
//
// Always read: the locale's short date and time texts, the office forms the
// grid copies ("07/03/2004", "14:05:09", "07/03/2004 14:05:09") and ISO texts
// ("2004-07-03", "2004-07-03T14:05:09"). Where the locale writes day, month
// and year with slashes, its own order wins over the office form's. With AccessShorting the short
// forms Access accepts are read too: day and month without a year (the
// current year), one-digit parts, two-digit years (00–29 in this century,
// 30–99 in the last), times without seconds and with AM/PM.
#include <QDateTime>
#include <QLocale>
#include <QString>

class TVoDaoDateTime {
public:
    explicit TVoDaoDateTime(const QLocale& locale = QLocale()) : locale_(locale) {}

    bool AccessShorting = false;

    // Setting the text reads it; DateTime() is the value read, invalid when
    // the text is none of the forms. A time alone lies on 1899-12-30.
    void SetDateTimeString(const QString& text);
    // The value as the locale's date and time text (empty when invalid).
    QString DateTimeString() const;
    QDateTime DateTime() const { return value_; }
    bool Valid() const { return value_.isValid(); }

    // The year Access gives a two-digit year.
    static int ExpandedYear(int twoDigitYear);

private:
    bool ReadExact(const QString& text);
    bool ReadShort(const QString& text);

    QLocale locale_;
    QDateTime value_;
};

// The value of a pasted date or time text: read without, then with
// AccessShorting; invalid when neither reads it.
QDateTime ParsePastedDateTime(const QString& text, const QLocale& locale = QLocale());
