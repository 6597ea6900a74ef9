// VBA's expression functions as Jet queries call them.
#include "SqlTestDb.h"

#include "engine/DaoError.h"
#include "engine/sql/JetFunctions.h"

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<sqltest::Row>;

class Functions : public testing::Test {
protected:
    // The one value of a query without table.
    std::optional<std::string> eval(const std::string& expression)
    {
        const auto rows = db.jet("SELECT " + expression);
        if (rows.size() != 1 || rows[0].size() != 1) {
            ADD_FAILURE() << expression;
            return std::nullopt;
        }
        return rows[0][0];
    }
    sqltest::SqlTestDb db;
};

TEST_F(Functions, TextFunctionsCountCharactersNotBytes)
{
    EXPECT_EQ(eval("Len('Müller')"), "6");
    EXPECT_EQ(eval("Left('Größe', 3)"), "Grö");
    EXPECT_EQ(eval("Right$('Größe', 2)"), "ße");
    EXPECT_EQ(eval("Mid('Größe', 3)"), "öße");
    EXPECT_EQ(eval("Mid('Größe', 3, 1)"), "ö");
    EXPECT_EQ(eval("Mid('abc', 9)"), "");
    EXPECT_EQ(eval("UCase('müller ø')"), "MÜLLER Ø");
    EXPECT_EQ(eval("LCase$('ÄÖÜ')"), "äöü");
    EXPECT_EQ(eval("'[' & Trim('  a b  ') & '|' & LTrim('  a') & '|' & RTrim('a  ') & ']'"), "[a b|a|a]");
    EXPECT_EQ(eval("Space(3) & String(2, 'xy') & String(2, 65)"), "   xxAA");
    EXPECT_EQ(eval("Len(Null)"), std::nullopt);
    EXPECT_EQ(eval("Left(Null, 2)"), std::nullopt);
}

TEST_F(Functions, InStrAndStrCompIgnoreCaseUnlessBinary)
{
    EXPECT_EQ(eval("InStr('Müller', 'LL')"), "3");
    EXPECT_EQ(eval("InStr(4, 'abcabc', 'B')"), "5");
    EXPECT_EQ(eval("InStr(1, 'abcabc', 'B', 0)"), "0");
    EXPECT_EQ(eval("InStr('abc', '')"), "1");
    EXPECT_EQ(eval("StrComp('müller', 'MÜLLER')"), "0");
    EXPECT_EQ(eval("StrComp('a', 'B')"), "-1");
    EXPECT_EQ(eval("StrComp('a', 'A', 0)"), "1");
}

TEST_F(Functions, CharacterCodesUseWindows1252)
{
    EXPECT_EQ(eval("Asc('€')"), "128");
    EXPECT_EQ(eval("AscW('€')"), "8364");
    EXPECT_EQ(eval("Chr(128) & Chr$(65) & ChrW(8364)"), "€A€");
    EXPECT_NE(db.jetError("SELECT Chr(256)").find("(error 5)"), std::string::npos);
}

TEST_F(Functions, ConversionsRoundHalfToEvenAndReportOverflow)
{
    EXPECT_EQ(eval("CLng(2.5)"), "2");
    EXPECT_EQ(eval("CLng(3.5)"), "4");
    EXPECT_EQ(eval("CInt(-2.5)"), "-2");
    EXPECT_EQ(eval("CLng('  42 ')"), "42");
    EXPECT_EQ(eval("CDbl('1.25')"), "1.25");
    EXPECT_EQ(eval("CStr(1.5) & CStr(10)"), "1.510");
    EXPECT_EQ(eval("CBool(5)"), "-1");
    EXPECT_EQ(eval("CCur(1.23456)"), "1.2346");
    const std::string overflow = db.jetError("SELECT CLng(3000000000)");
    EXPECT_NE(overflow.find("(error 6)"), std::string::npos) << overflow;
    const auto error = dao::sql::functionError(overflow);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), 6);
    EXPECT_EQ(error->description(), "Overflow.");
    EXPECT_NE(db.jetError("SELECT CInt(40000)").find("(error 6)"), std::string::npos);
    EXPECT_NE(db.jetError("SELECT CLng('abc')").find("(error 13)"), std::string::npos);
    EXPECT_FALSE(dao::sql::functionError("no such column: x").has_value());
}

TEST_F(Functions, NumbersFollowVba)
{
    EXPECT_EQ(eval("Val('  12 34abc')"), "1234.0");
    EXPECT_EQ(eval("Val('&H1F')"), "31.0");
    EXPECT_EQ(eval("Val('x1')"), "0.0");
    EXPECT_EQ(eval("Int(-2.5) & ' ' & Fix(-2.5) & ' ' & Int(7)"), "-3 -2 7");
    EXPECT_EQ(eval("Round(2.5) & ' ' & Round(3.5) & ' ' & Round(-2.5) & ' ' & Round(1.2345, 2)"), "2 4 -2 1.23");
    EXPECT_EQ(eval("Abs(-3) & ' ' & Sgn(-0.5) & ' ' & Sqr(16)"), "3 -1 4");
    EXPECT_EQ(eval("Str(5) & '|' & Str(-5)"), " 5|-5");
    EXPECT_NE(db.jetError("SELECT Sqr(-1)").find("(error 5)"), std::string::npos);
}

TEST_F(Functions, FormatNamedAndCustom)
{
    EXPECT_EQ(eval("Format(1234.5, '#,##0.00')"), "1,234.50");
    EXPECT_EQ(eval("Format(0.5, 'Percent')"), "50.00%");
    EXPECT_EQ(eval("Format(3, '000')"), "003");
    EXPECT_EQ(eval("Format(-3, '0;(0)')"), "(3)");
    EXPECT_EQ(eval("Format(#3/4/2005 14:05:09#, 'yyyy-mm-dd hh:nn:ss')"), "2005-03-04 14:05:09");
    EXPECT_EQ(eval("Format(#3/4/2005#, 'dddd, d. mmmm yy')"), "Friday, 4. March 05");
    EXPECT_EQ(eval("Format(#3/4/2005#, 'Short Date')"), "3/4/2005");
    EXPECT_EQ(eval("Format(True, 'Yes/No')"), "Yes");
    EXPECT_EQ(eval("Format(Null, '0')"), std::nullopt);
}

TEST_F(Functions, AggregatesIncludingFirstLastAndSpread)
{
    db.exec("CREATE TABLE t (g INTEGER, v REAL, s TEXT COLLATE JETTEXT)");
    db.exec("INSERT INTO t VALUES (1, 2, 'b'), (1, 4, 'A'), (1, 4, NULL), (1, 5, 'c'), (2, 7, 'x')");
    EXPECT_EQ(db.jet("SELECT g, Count(*), Count(s), Sum(v), Avg(v), Min(s), Max(s), First(v), Last(v) FROM t GROUP BY g "
                     "ORDER BY g"),
              (Rows{{"1", "4", "3", "15.0", "3.75", "A", "c", "2.0", "5.0"},
                    {"2", "1", "1", "7.0", "7.0", "x", "x", "7.0", "7.0"}}));
    EXPECT_EQ(db.jet("SELECT Var(v), VarP(v), StDev(v) FROM t WHERE g = 2"),
              (Rows{{std::nullopt, "0.0", std::nullopt}}));
    EXPECT_EQ(db.jet("SELECT Round(StDev(v), 4), VarP(v) FROM t WHERE g = 1"), (Rows{{"1.2583", "1.1875"}}));
}

TEST_F(Functions, UnknownAndAccessOnlyFunctionsAreUndefined)
{
    try {
        dao::sql::translate("SELECT Nz(x, 0) FROM t", db.resolver());
        FAIL();
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), 3085);
        EXPECT_STREQ(e.what(), "Undefined function 'Nz' in expression.");
    }
    EXPECT_THROW(dao::sql::translate("SELECT DLookup('a', 'b') FROM t", db.resolver()), dao::DaoError);
}

} // namespace
