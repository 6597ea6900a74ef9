// The Jet type of a computed column and the value it gives, one expression per row,
// over a table with one row: D = 1/15/2003 12:00, B = True, C = 12.5 (Currency),
// N = 7 (Long), S = "x".
#include "EngineTestSupport.h"


#include <gtest/gtest.h>

namespace {

struct ExpressionType {
    const char* expression;
    int type;          // DataTypeEnum of the field
    const char* value; // its text; nullptr where it changes from run to run (Now)
};

const ExpressionType kExpressions[] = {
    // date literals and the date functions give dates
    {"#1/1/2000#", dao::dbDate, "2000-01-01 00:00:00"},
    {"CDate('1/1/2000')", dao::dbDate, "2000-01-01 00:00:00"},
    {"CVDate('15.01.2003 13:05')", dao::dbDate, "2003-01-15 13:05:00"},
    {"DateSerial(2000, 1, 2)", dao::dbDate, "2000-01-02 00:00:00"},
    {"DateValue('1/15/2003 13:05')", dao::dbDate, "2003-01-15 00:00:00"},
    {"TimeSerial(13, 5, 0)", dao::dbDate, "1899-12-30 13:05:00"},
    {"DateAdd('m', 1, D)", dao::dbDate, "2003-02-15 12:00:00"},
    {"Now()", dao::dbDate, nullptr},
    {"Date()", dao::dbDate, nullptr},
    {"Time()", dao::dbDate, nullptr},
    // a date and a number give a date; two dates apart give a number of days
    {"D + 1", dao::dbDate, "2003-01-16 12:00:00"},
    {"0.5 + D", dao::dbDate, "2003-01-16 00:00:00"},
    {"D - 1", dao::dbDate, "2003-01-14 12:00:00"},
    {"D - #1/15/2003#", dao::dbDouble, "0.5"},
    // aggregates keep their argument's type, Count is a Long, Sum of Currency is Currency
    {"Max(D)", dao::dbDate, "2003-01-15 12:00:00"},
    {"Min(D)", dao::dbDate, "2003-01-15 12:00:00"},
    {"First(D)", dao::dbDate, "2003-01-15 12:00:00"},
    {"Last(S)", dao::dbText, "x"},
    {"Max(N)", dao::dbLong, "7"},
    {"Count(D)", dao::dbLong, "1"},
    {"Count(*)", dao::dbLong, "1"},
    {"Sum(C)", dao::dbCurrency, "12.5"},
    // IIf keeps a type both branches share; Null takes the other branch's
    {"IIf(B, D, Null)", dao::dbDate, "2003-01-15 12:00:00"},
    {"IIf(B, Null, D)", dao::dbDate, "Null"},
    {"IIf(B, 'ja', 'nein')", dao::dbText, "ja"},
    // conversions give their type
    {"CLng(C)", dao::dbLong, "12"},
    {"CInt(7.5)", dao::dbInteger, "8"},
    {"CCur(N)", dao::dbCurrency, "7"},
    {"CBool(N)", dao::dbBoolean, "True"},
    {"CStr(N)", dao::dbText, "7"},
    {"N & S", dao::dbText, "7x"},
    // where Jet's rules give no type the values decide
    {"N + 1", dao::dbLong, "8"},
    {"N / 2", dao::dbDouble, "3.5"},
    {"IIf(B, N, S)", dao::dbLong, "7"},
};

class ExpressionTypes : public ::testing::TestWithParam<ExpressionType> {
protected:
    enginetest::ScratchDatabase scratch{{"CREATE TABLE T (D DATETIME, B YESNO, C CURRENCY, N LONG, S TEXT(10))",
                                         "INSERT INTO T VALUES (#1/15/2003 12:00#, True, 12.5, 7, 'x')"}};
    std::shared_ptr<dao::Database> db = scratch.db;
};

TEST_P(ExpressionTypes, FieldTypeAndValue)
{
    const ExpressionType& c = GetParam();
    SCOPED_TRACE(c.expression);
    for (int type : {dao::dbOpenSnapshot, dao::dbOpenDynaset}) {
        auto rs = db->openRecordset(std::string("SELECT ") + c.expression + " AS X FROM T", type);
        EXPECT_EQ(rs->field(0)->type(), c.type);
        if (c.value) {
            const dao::Variant v = rs->value(0);
            EXPECT_EQ(v.isNull() ? std::string("Null") : v.toText(), c.value);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ExpressionTypes, ::testing::ValuesIn(kExpressions), [](const auto& info) {
    return "row" + std::to_string(info.index);
});

} // namespace
