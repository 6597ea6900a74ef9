// The rules that turn dialog rows into dataset settings, case by case.
#include "daoui/DateTimeTexts.h"
#include "daoui/FilterByRules.h"
#include "daoui/SearchKeys.h"
#include "daoui/SortByRules.h"
#include "framework/data/ValueText.h"
#include "tests/daoui/DialogTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(SortLineRules, EachSortedByLineOpensAsNameAndDirection)
{
    const struct {
        const char* line;
        const char* name;
        bool descending;
    } cases[] = {
        {"[NR]  DESC", "NR", true},
        {"[NR] DESC", "NR", true},
        {"[NR] ASC", "NR", false},
        {"NR", "NR", false},
        {"[Benutzer Nr]", "Benutzer Nr", false},
        {"[Benutzer   Nr]    ASC", "Benutzer Nr", false},
        {"TITEL desc", "TITEL", true},
        {" [TITEL] Desc ", "TITEL", true},
        {"[Item DESCRIPTION] ASC", "Item DESCRIPTION", false},
        {"[Item DESCRIPTION]", "Item DESCRIPTION", false},
        {"[ASCII] DESC", "ASCII", true},
        {"[a].[b] DESC", "a.b", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const TSortField field = ParseSortLine(c.line);
        EXPECT_EQ(field.Name, c.name);
        EXPECT_EQ(field.Descending, c.descending);
    }
}

TEST(SortLineRules, RowsBecomeLinesWithOrWithoutBrackets)
{
    const QList<TSortField> rows{{"TITEL", true}, {"Benutzer Nr", false}};
    EXPECT_EQ(SortLines(rows, true), (QStringList{"[TITEL] DESC", "[Benutzer Nr] ASC"}));
    EXPECT_EQ(SortLines(rows, false), (QStringList{"TITEL DESC", "Benutzer Nr ASC"}));
    EXPECT_TRUE(SortLines({}, true).isEmpty());
    // What is written opens again as it was.
    for (const QString& line : SortLines(rows, true))
        EXPECT_EQ(SortLines({ParseSortLine(line)}, true), QStringList{line});
}

TEST(SortLineRules, AvailableFieldsAreThoseNotSortedOn)
{
    const QStringList fields{"BUCHNR", "TITEL", "AUTOR"};
    EXPECT_EQ(UnsortedFields(fields, {"TITEL"}), (QStringList{"BUCHNR", "AUTOR"}));
    EXPECT_EQ(UnsortedFields(fields, {}), fields);
    EXPECT_TRUE(UnsortedFields(fields, {"AUTOR", "BUCHNR", "TITEL"}).isEmpty());
    EXPECT_EQ(UnsortedFields(fields, {"titel", "GONE"}), fields) << "names compare exactly";
}

TEST(SearchKeyRules, FindUsesTheCheckedRowsInRowOrder)
{
    EXPECT_FALSE(FindKeys({}));
    EXPECT_FALSE(FindKeys({{"A", false, "x"}, {"B", false, ""}})) << "nothing checked: no search";

    const auto one = FindKeys({{"A", false, "x"}, {"B", true, "Mül"}});
    ASSERT_TRUE(one);
    EXPECT_EQ(one->Fields, "B");
    EXPECT_EQ(one->Values, QVariant(QString("Mül")));

    const auto two = FindKeys({{"A", true, "1"}, {"B", false, "x"}, {"C", true, ""}});
    ASSERT_TRUE(two);
    EXPECT_EQ(two->Fields, "A;C");
    EXPECT_EQ(two->Values, QVariant(QVariantList{QString("1"), QString("")}));
}

TEST(SearchKeyRules, SeekFillsEveryIndexFieldAndLeavesUncheckedOnesEmpty)
{
    EXPECT_FALSE(SeekKeys({}));

    const auto secondOnly = SeekKeys({{"Ort", false, "ignored"}, {"Name", true, "Mül"}});
    ASSERT_TRUE(secondOnly);
    EXPECT_EQ(secondOnly->Fields, "Ort;Name");
    const QVariantList values = secondOnly->Values.toList();
    ASSERT_EQ(values.size(), 2);
    EXPECT_FALSE(values[0].isValid()) << "the first element is empty";
    EXPECT_EQ(values[1], QVariant(QString("Mül")));

    const auto single = SeekKeys({{"NR", true, "4711"}});
    ASSERT_TRUE(single);
    EXPECT_EQ(single->Fields, "NR");
    EXPECT_EQ(single->Values, QVariant(QString("4711")));
    const auto unchecked = SeekKeys({{"NR", false, "4711"}});
    ASSERT_TRUE(unchecked);
    EXPECT_FALSE(unchecked->Values.isValid()) << "a one-field index unchecked: an empty value";
}

TEST(DateTimeTextRules, PatternsAndPickerTextsFollowTheLocale)
{
    const struct {
        const char* locale;
        const char* datePattern;
        const char* dateText;
        const char* timePattern;
        const char* timeText;
    } cases[] = {
        {"de_DE", "dd.mm.yyyy", "05.01.2024", "hh:mm:ss", "07:05:09"},
        {"de_CH", "dd.mm.yyyy", "05.01.2024", "hh:mm:ss", "07:05:09"},
        {"en_GB", "dd/mm/yyyy", "05/01/2024", "hh:mm:ss", "07:05:09"},
        {"en_US", "mm/dd/yyyy", "01/05/2024", "hh:mm:ss", "07:05:09"},
        {"nl_NL", "dd-mm-yyyy", "05-01-2024", "hh:mm:ss", "07:05:09"},
        {"sv_SE", "yyyy-mm-dd", "2024-01-05", "hh:mm:ss", "07:05:09"},
        {"fi_FI", "dd.mm.yyyy", "05.01.2024", "hh.mm.ss", "07.05.09"},
        {"C", "yyyy-mm-dd", "2024-01-05", "hh:mm:ss", "07:05:09"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        const QLocale locale(c.locale);
        EXPECT_EQ(DatePattern(locale), c.datePattern);
        EXPECT_EQ(PickerDateText(QDate(2024, 1, 5), locale), c.dateText);
        EXPECT_EQ(TimePattern(locale), c.timePattern);
        EXPECT_EQ(PickerTimeText(QTime(7, 5, 9), locale), c.timeText);

        // The dataset reads what the picker wrote as the date and time meant.
        const daouitest::LocaleScope scope(locale);
        QDate date;
        EXPECT_TRUE(TextToDate(PickerDateText(QDate(2024, 12, 24)), date));
        EXPECT_EQ(date, QDate(2024, 12, 24));
        QTime time;
        EXPECT_TRUE(TextToTime(PickerTimeText(QTime(14, 5, 9)), time));
        EXPECT_EQ(time, QTime(14, 5, 9));
    }
}

TEST(DateTimeTextRules, DateAndTimeFieldsGetAPicker)
{
    EXPECT_EQ(PickerKindOf(ftDate), TPickerKind::Date);
    EXPECT_EQ(PickerKindOf(ftDateTime), TPickerKind::Date);
    EXPECT_EQ(PickerKindOf(ftTime), TPickerKind::Time);
    for (const TFieldType type : {ftString, ftInteger, ftFloat, ftBoolean, ftMemo, ftGuid})
        EXPECT_EQ(PickerKindOf(type), TPickerKind::None) << type;
}

// A row as a failing comparison shows it.
inline void PrintTo(const TFilterRow& row, std::ostream* os)
{
    *os << '{' << row.Field.toStdString() << '|' << row.Operation.toStdString() << '|' << row.Operand.toStdString()
        << '|' << (row.OperandEnabled ? "enabled" : "disabled") << '|' << row.Connector.toStdString() << '}';
}

namespace {

const QHash<QString, TFieldType> kFilterFields{
    {"TITEL", ftString}, {"NOTIZ", ftMemo},     {"JAHR", ftSmallint}, {"PREIS", ftCurrency},
    {"ERFASST", ftDateTime}, {"TAG", ftDate}, {"UHRZEIT", ftTime},   {"Benutzer Nr", ftInteger},
};

TFilterRow Row(const char* field, const char* operation, const char* operand, const char* connector = "And")
{
    return TFilterRow{field, operation, operand, TakesOperand(operation), connector};
}

} // namespace

TEST(FilterRules, UsedRowsBecomeConditionsJoinedByTheConnectorOfTheRowAbove)
{
    const TFilterRow empty = Row("", " = ", "");
    const struct {
        const char* what;
        QList<TFilterRow> rows;
        QString filter;
        QStringList lines;
    } cases[] = {
        {"nothing used", {empty, empty}, "", {}},
        {"text with wildcards",
         {Row("TITEL", " LIKE ", "*Mathe?(*")},
         "(TITEL LIKE \"*Mathe?(*\") ",
         {"TITEL*** LIKE ****Mathe?(****And"}},
        {"a quote in a text is doubled, the kept line holds it as typed",
         {Row("TITEL", " = ", "Das \"Zitat\" im Titel")},
         "(TITEL = \"Das \"\"Zitat\"\" im Titel\") ",
         {"TITEL*** = ***Das \"Zitat\" im Titel***And"}},
        {"memo", {Row("NOTIZ", " <> ", "x")}, "(NOTIZ <> \"x\") ", {"NOTIZ*** <> ***x***And"}},
        {"numbers stand bare", {Row("PREIS", " <= ", "12.5", "Or")}, "(PREIS <= 12.5) ", {"PREIS*** <= ***12.5***Or"}},
        {"null tests have no operand",
         {Row("TITEL", " IS NULL ", ""), Row("JAHR", " IS NOT NULL ", "")},
         "(TITEL IS NULL ) And (JAHR IS NOT NULL ) ",
         {"TITEL*** IS NULL ******And", "JAHR*** IS NOT NULL ******And"}},
        {"rows 1 and 3 used: row 3 follows row 2's connector, which row 1 keeps",
         {Row("JAHR", " >= ", "1950"), Row("", " = ", "", "Or"), Row("TITEL", " LIKE ", "M*")},
         "(JAHR >= 1950) Or (TITEL LIKE \"M*\") ",
         {"JAHR*** >= ***1950***Or", "TITEL*** LIKE ***M****And"}},
        {"first row empty: no leading connector",
         {Row("", " = ", "", "Or"), Row("JAHR", " > ", "1900")},
         "(JAHR > 1900) ",
         {"JAHR*** > ***1900***And"}},
        {"each row's own connector joins it to the next",
         {Row("JAHR", " > ", "1", "Or"), Row("JAHR", " < ", "2", "And"), Row("JAHR", " = ", "3")},
         "(JAHR > 1) Or (JAHR < 2) And (JAHR = 3) ",
         {"JAHR*** > ***1***Or", "JAHR*** < ***2***And", "JAHR*** = ***3***And"}},
        {"an emptied operand and a missing operation leave the row out",
         {Row("TITEL", " = ", ""), TFilterRow{"JAHR", "", "5", true, "And"}, Row("JAHR", " = ", "7")},
         "(JAHR = 7) ",
         {"JAHR*** = ***7***And"}},
        {"a name with a blank in brackets",
         {Row("Benutzer Nr", " = ", "2")},
         "([Benutzer Nr] = 2) ",
         {"Benutzer Nr*** = ***2***And"}},
        {"a date pattern stays as typed",
         {Row("ERFASST", " LIKE ", "*2020*")},
         "(ERFASST LIKE #*2020*#) ",
         {"ERFASST*** LIKE ****2020****And"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TFilterResult result = BuildFilter(c.rows, kFilterFields);
        EXPECT_EQ(result.Filter, c.filter);
        EXPECT_EQ(result.Lines, c.lines);
        // What is kept opens as the rows that gave it.
        QList<TFilterRow> reopened;
        for (const QString& line : result.Lines)
            reopened << ParseFilterLine(line);
        EXPECT_EQ(BuildFilter(reopened, kFilterFields).Filter, c.filter);
    }
}

TEST(FilterRules, DatesAndNumbersTypedInTheUsersFormAreWrittenAsTheEngineReadsThem)
{
    const struct {
        const char* locale;
        const char* field;
        const char* typed;
        const char* written;
    } cases[] = {
        {"de_DE", "ERFASST", "01.02.2020", "#02/01/2020#"},
        {"de_DE", "TAG", "24.12.2019", "#12/24/2019#"},
        {"de_DE", "ERFASST", "01.02.2020 13:05:09", "#02/01/2020 13:05:09#"},
        {"de_DE", "ERFASST", "2020-02-01", "#02/01/2020#"},
        {"en_GB", "ERFASST", "01/02/2020", "#02/01/2020#"},
        {"en_US", "ERFASST", "01/02/2020", "#01/02/2020#"},
        {"de_DE", "UHRZEIT", "13:05:09", "#13:05:09#"},
        {"de_DE", "ERFASST", "Feb 1 2020", "#Feb 1 2020#"},
        // The engine reads numbers with a decimal point.
        {"de_DE", "PREIS", "12,5", "12.5"},
        {"de_DE", "PREIS", "-0,75", "-0.75"},
        {"de_DE", "PREIS", "12.5", "12.5"},        // the engine's own form stays
        {"de_DE", "PREIS", "1.000,5", "1.000,5"},  // grouped: not taken apart, the engine says what it thinks
        {"de_DE", "JAHR", "1990", "1990"},
        {"de_DE", "TITEL", "12,5", "\"12,5\""},   // text stays text
        {"en_US", "PREIS", "12.5", "12.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.typed);
        const daouitest::LocaleScope scope{QLocale(c.locale)};
        const TFilterResult result = BuildFilter({Row(c.field, " > ", c.typed)}, kFilterFields);
        EXPECT_EQ(result.Filter, QString("(%1 > %2) ").arg(c.field, c.written));
        EXPECT_EQ(result.Lines, QStringList{QString("%1*** > ***%2***And").arg(c.field, c.typed)});
    }
}

TEST(FilterRules, KeptLinesReadBack)
{
    const struct {
        const char* line;
        TFilterRow row;
    } cases[] = {
        {"TITEL*** LIKE ***M****Or", {"TITEL", " LIKE ", "M*", true, "Or"}},
        {"TITEL*** = ***a***b***And", {"TITEL", " = ", "a***b", true, "And"}},
        {"JAHR*** IS NULL ******Or", {"JAHR", " IS NULL ", "", false, "Or"}},
        {"JAHR*** = ***1***Xor", {"JAHR", " = ", "1", true, "And"}},
        {"JAHR*** = ***1", {"JAHR", " = ", "1", true, "And"}},
        {"JAHR", {"JAHR", "", "", true, "And"}},
        {"", {"", "", "", true, "And"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ParseFilterLine(c.line), c.row);
    }
}
