// The grid clipboard's texts without widgets: the plain and typed forms of
// values, the rendering of records by bookmark, the pieces of the two pastes
// (lines, rejoining, unquoting, hex, typed dates) and the date-time reader,
// which must read back every date and time text a copy writes.
#include "daoui/ClipboardTexts.h"
#include "daoui/TVoDaoDateTime.h"
#include "framework/data/TField.h"
#include "framework/data/TimeStamp.h"
#include "tests/support/MemoryDataSet.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kMoment(QDate(2004, 7, 3), QTime(14, 5, 9));

// One open dataset with one column of the type and one row holding value.
struct OneValue {
    TMemoryDataSet dataSet;
    OneValue(TFieldType type, const QVariant& value)
    {
        dataSet.AddColumn(QStringLiteral("V"), type, type == ftString ? 80 : 0);
        dataSet.AddRow({value});
        dataSet.Open();
    }
    const TField& field() const { return *dataSet.Fields()[0]; }
};

// The default locale for one test.
struct LocaleScope {
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(QLocale::c()); }
};

struct PlainCase {
    const char* what;
    TFieldType type;
    QVariant value;
    bool office;
    QString expected;
};

} // namespace

TEST(ClipboardTexts, PlainFormOfEachKindOfValue)
{
    const LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    const QString memo = QStringLiteral("two\r\nwords");
    const QString quoted = QStringLiteral("say \"hi\"");
    const PlainCase cases[] = {
        {"memo, office off: one blank for the line break", ftMemo, memo, false, QStringLiteral("two words")},
        {"memo, office on: quoted, the break kept", ftMemo, memo, true, QStringLiteral("\"two\r\nwords\"")},
        {"lone line feed, office off", ftMemo, QStringLiteral("a\nb"), false, QStringLiteral("a b")},
        {"quotes, office on: doubled inside quotes", ftString, quoted, true, QStringLiteral("\"say \"\"hi\"\"\"")},
        {"quotes, office off: unchanged", ftString, quoted, false, quoted},
        {"tab kept, office off", ftString, QStringLiteral("a\tb"), false, QStringLiteral("a\tb")},
        {"tab kept, office on", ftString, QStringLiteral("a\tb"), true, QStringLiteral("a\tb")},
        {"date, office on", ftDate, kMoment.date(), true, QStringLiteral("07/03/2004")},
        {"date, locale", ftDate, kMoment.date(), false, QStringLiteral("03.07.2004")},
        {"time, office on", ftTime, kMoment.time(), true, QStringLiteral("14:05:09")},
        {"time, locale", ftTime, kMoment.time(), false, QStringLiteral("14:05:09")},
        {"date-time, office on", ftDateTime, kMoment, true, QStringLiteral("07/03/2004 14:05:09")},
        {"date-time, locale", ftDateTime, kMoment, false, QStringLiteral("03.07.2004 14:05:09")},
        {"null date", ftDateTime, QVariant(), true, QString()},
        {"blob", ftBlob, QByteArray("\x00\x01", 2), false, QStringLiteral("(Blob)")},
        {"integer", ftInteger, 42, true, QStringLiteral("42")},
        {"float with the locale's separator", ftFloat, 2.5, false, QStringLiteral("2,5")},
    };
    for (const PlainCase& c : cases) {
        OneValue one(c.type, c.value);
        EXPECT_EQ(PlainValue(one.field(), c.office), c.expected) << c.what;
    }
}

TEST(ClipboardTexts, TypedFormCarriesDayNumbersAndHexBytes)
{
    const struct {
        const char* what;
        TFieldType type;
        QVariant value;
        QString expected;
    } cases[] = {
        {"date: day number, 0", ftDate, QDate(1899, 12, 31), QStringLiteral("693595 0")},
        {"first day of year 1", ftDate, QDate(1, 1, 1), QStringLiteral("1 0")},
        {"time: 0, milliseconds", ftTime, QTime(14, 5, 9, 250), QStringLiteral("0 50709250")},
        {"date-time", ftDateTime, QDateTime(QDate(1899, 12, 31), QTime(0, 0, 1)), QStringLiteral("693595 1000")},
        {"text with tab and line break", ftString, QStringLiteral("a\tb\r\n"), QStringLiteral("6109620D0A")},
        {"memo as UTF-8 bytes", ftMemo, QStringLiteral("ü\""), QStringLiteral("C3BC22")},
        {"blob bytes", ftBlob, QByteArray("\x00\xff", 2), QStringLiteral("00FF")},
        {"integer as its text", ftInteger, -7, QStringLiteral("-7")},
        {"null", ftDate, QVariant(), QString()},
    };
    for (const auto& c : cases) {
        OneValue one(c.type, c.value);
        EXPECT_EQ(TypedValue(one.field()), c.expected) << c.what;
    }
}

TEST(ClipboardTexts, RecordsAreRenderedInBookmarkOrderAndTheCurrentRecordStays)
{
    TMemoryDataSet books;
    books.AddColumn(QStringLiteral("ID"), ftInteger);
    books.AddColumn(QStringLiteral("TITLE"), ftString, 40);
    for (int i = 1; i <= 5; ++i)
        books.AddRow({i, QStringLiteral("Book %1").arg(i)});
    books.Open();
    std::vector<TBookmark> marks;
    for (int i = 1; i <= 5; ++i, books.Next())
        if (i == 2 || i == 4)
            marks.push_back(books.GetBookmark());
    books.First();
    books.MoveBy(2);
    const std::vector<TField*> fields{books.Fields()[1], books.Fields()[0]};

    const TClipboardRecords both = RenderRecords(books, fields, {marks[1], marks[0]}, false);
    EXPECT_EQ(both.Plain, "Book 4\t4\r\nBook 2\t2\r\n");
    EXPECT_EQ(both.Typed, "TITLE\tID\r\n1\t3\r\n426F6F6B2034\t4\r\n426F6F6B2032\t2\r\n");
    EXPECT_EQ(books.FieldByName(QStringLiteral("ID"))->AsInteger(), 3) << "back on the current record";
    EXPECT_FALSE(books.ControlsDisabled());

    const TClipboardRecords current = RenderRecords(books, fields, {}, false);
    EXPECT_EQ(current.Plain, "Book 3\t3\r\n") << "no bookmarks: the current record only";
}

TEST(ClipboardTexts, LinesRejoiningAndUnquoting)
{
    const struct {
        QString text;
        QStringList lines;
    } lineCases[] = {
        {QStringLiteral("a\r\nb\r\n"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\nb"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\rb\n\nc"), {QStringLiteral("a"), QStringLiteral("b"), QString(), QStringLiteral("c")}},
        {QStringLiteral("a\r\n") + QChar(0) + QStringLiteral("b"), {QStringLiteral("a")}},
        {QString(), {}},
    };
    for (const auto& c : lineCases)
        EXPECT_EQ(ClipboardLines(c.text), c.lines) << qPrintable(c.text);

    const QStringList spanning{QStringLiteral("1\t\"two"), QStringLiteral("lines\"\tx"), QStringLiteral("2\ty")};
    EXPECT_EQ(RejoinQuotedLines(spanning),
              (QStringList{QStringLiteral("1\t\"two\r\nlines\"\tx"), QStringLiteral("2\ty")}));
    const QStringList threeLines{QStringLiteral("\"a"), QStringLiteral("b"), QStringLiteral("c\"")};
    EXPECT_EQ(RejoinQuotedLines(threeLines), QStringList{QStringLiteral("\"a\r\nb\r\nc\"")});
    const QStringList unbalanced{QStringLiteral("ok"), QStringLiteral("\"open"), QStringLiteral("still")};
    EXPECT_EQ(RejoinQuotedLines(unbalanced), unbalanced) << "an odd last line undoes every join";

    const struct {
        QString line;
        QString unquoted;
    } quoteCases[] = {
        {QStringLiteral("\"say \"\"hi\"\"\""), QStringLiteral("say \"hi\"")},
        {QStringLiteral("\"a\"\t\"b\"\tc"), QStringLiteral("a\tb\tc")},
        {QStringLiteral("\"x \"\"y\"\"\"\t1"), QStringLiteral("x \"y\"\t1")},
        {QStringLiteral("\"\"\t2"), QStringLiteral("\t2")},
        {QStringLiteral("5\"\t6"), QStringLiteral("5\t6")},
        {QStringLiteral("plain"), QStringLiteral("plain")},
    };
    for (const auto& c : quoteCases)
        EXPECT_EQ(UnquoteLine(c.line), c.unquoted) << qPrintable(c.line);
}

TEST(ClipboardTexts, HexAndTypedDateTimesReadBack)
{
    EXPECT_EQ(HexDecode(QStringLiteral("6109620D0A")), QByteArray("a\tb\r\n"));
    EXPECT_EQ(HexDecode(QStringLiteral("c3bc")), QByteArray("\xc3\xbc"));
    EXPECT_TRUE(HexDecode(QStringLiteral("ABC")).isEmpty()) << "odd length";
    EXPECT_TRUE(HexDecode(QStringLiteral("0G")).isEmpty()) << "not a hex digit";

    const struct {
        QString text;
        bool ok;
        QDateTime value;
    } cases[] = {
        {QStringLiteral("693595 1000"), true, QDateTime(QDate(1899, 12, 31), QTime(0, 0, 1))},
        {QStringLiteral("0 50709250"), true, QDateTime(QDate(1899, 12, 30), QTime(14, 5, 9, 250))},
        {QStringLiteral("x 5"), true, QDateTime(QDate(1899, 12, 30), QTime(0, 0))},
        {QStringLiteral("12"), true, QDateTime(QDate(1899, 12, 30), QTime(0, 0))},
        {QString(), true, QDateTime()},
        {QStringLiteral("-3 0"), false, QDateTime()},
        {QStringLiteral("5 86400000"), false, QDateTime()},
    };
    for (const auto& c : cases) {
        QDateTime value;
        EXPECT_EQ(TypedDateTime(c.text, value), c.ok) << qPrintable(c.text);
        if (c.ok) {
            EXPECT_EQ(value, c.value) << qPrintable(c.text);
        }
    }
    // Every date the typed form can write comes back as it was.
    for (const QDateTime& moment : {kMoment, QDateTime(QDate(1, 1, 1), QTime(0, 0)),
                                    QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999))}) {
        QDateTime back;
        ASSERT_TRUE(TypedDateTime(TimeStampText(moment), back));
        EXPECT_EQ(back, moment);
    }
}

TEST(ClipboardTexts, DateTimeReaderReadsWhatCopyWritesInEveryLocale)
{
    const QDateTime moments[] = {kMoment, QDateTime(QDate(1999, 12, 31), QTime(0, 0)),
                                 QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58))};
    for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::Swedish, QLocale::Sweden), QLocale::c()}) {
        const LocaleScope scope(locale);
        for (const QDateTime& moment : moments) {
            for (const bool office : {false, true}) {
                OneValue dateTime(ftDateTime, moment);
                OneValue date(ftDate, moment.date());
                OneValue time(ftTime, moment.time());
                const QString what = locale.name() + (office ? QStringLiteral(" office ") : QStringLiteral(" "));
                EXPECT_EQ(ParsePastedDateTime(PlainValue(dateTime.field(), office)), moment)
                    << qPrintable(what + PlainValue(dateTime.field(), office));
                EXPECT_EQ(ParsePastedDateTime(PlainValue(date.field(), office)), QDateTime(moment.date(), QTime(0, 0)))
                    << qPrintable(what + PlainValue(date.field(), office));
                EXPECT_EQ(ParsePastedDateTime(PlainValue(time.field(), office)).time(), moment.time())
                    << qPrintable(what + PlainValue(time.field(), office));
            }
        }
    }
    // Where the locale writes day/month/year with slashes, its own order wins
    // over the office form's month/day/year.
    const LocaleScope french(QLocale(QLocale::French, QLocale::France));
    OneValue date(ftDate, kMoment.date());
    EXPECT_EQ(ParsePastedDateTime(PlainValue(date.field(), false)).date(), kMoment.date());
    EXPECT_EQ(ParsePastedDateTime(QStringLiteral("03/07/2004")).date(), kMoment.date());
}

TEST(ClipboardTexts, DateTimeReaderShortFormsAndFailures)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const int thisYear = QDate::currentDate().year();
    const struct {
        const QLocale& locale;
        QString text;
        QDateTime value; // invalid: not read
    } cases[] = {
        {german, QStringLiteral("2004-07-03T14:05:09"), kMoment},
        {german, QStringLiteral("3.7.04"), QDateTime(QDate(2004, 7, 3), QTime(0, 0))},
        {german, QStringLiteral("3.7.45"), QDateTime(QDate(1945, 7, 3), QTime(0, 0))},
        {german, QStringLiteral("3.7."), QDateTime(QDate(thisYear, 7, 3), QTime(0, 0))},
        {german, QStringLiteral("3.7.2004 14:05"), QDateTime(QDate(2004, 7, 3), QTime(14, 5))},
        {us, QStringLiteral("7/3/04"), QDateTime(QDate(2004, 7, 3), QTime(0, 0))},
        {us, QStringLiteral("7/3"), QDateTime(QDate(thisYear, 7, 3), QTime(0, 0))},
        {us, QStringLiteral("2:05 PM"), QDateTime(QDate(1899, 12, 30), QTime(14, 5))},
        {us, QStringLiteral("12:30 am"), QDateTime(QDate(1899, 12, 30), QTime(0, 30))},
        {german, QStringLiteral("31.02.2004"), QDateTime()},
        {german, QStringLiteral("25:00"), QDateTime()},
        {us, QStringLiteral("13:00 PM"), QDateTime()},
        {german, QStringLiteral("Montag"), QDateTime()},
        {german, QStringLiteral("3.7.2004 x"), QDateTime()},
        {german, QStringLiteral("   "), QDateTime()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParsePastedDateTime(c.text, c.locale), c.value) << qPrintable(c.text);

    // The short forms only with AccessShorting.
    TVoDaoDateTime reader(german);
    reader.SetDateTimeString(QStringLiteral("3.7."));
    EXPECT_FALSE(reader.Valid());
    reader.AccessShorting = true;
    reader.SetDateTimeString(QStringLiteral("3.7."));
    EXPECT_EQ(reader.DateTime().date(), QDate(thisYear, 7, 3));
    EXPECT_EQ(reader.DateTimeString(), QStringLiteral("03.07.%1").arg(thisYear % 100, 2, 10, QLatin1Char('0')));
}
