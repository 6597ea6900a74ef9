#include "daodata/TParams.h"
#include "daodata/VoDaoFieldShape.h"
#include "daodata/VoDaoSqlText.h"

#include <gtest/gtest.h>

using namespace vodao;

TEST(SqlText, BracketsQuotesNumbersAndDates)
{
    EXPECT_EQ(Bracketed("NR", true), "[NR]");
    EXPECT_EQ(Bracketed("inventur.NR", true), "[inventur].[NR]");
    EXPECT_EQ(Bracketed("inventur.NR", false), "inventur.NR");
    EXPECT_EQ(QuotedText("Das \"Zitat\""), "\"Das \"\"Zitat\"\"\"");
    EXPECT_EQ(NumberLiteral(1234567.25), "1234567.25");
    EXPECT_EQ(NumberLiteral(0.1), "0.1");
    EXPECT_EQ(NumberLiteral(-3), "-3");
    // 2003-01-15 13:05:00 is day 37636 plus 13:05.
    const double d = 37636 + (13 * 3600 + 5 * 60) / 86400.0;
    EXPECT_EQ(DateLiteral(d, ftDateTime), "#01/15/2003 13:05:00#");
    EXPECT_EQ(DateLiteral(d, ftDate), "#01/15/2003#");
    EXPECT_EQ(DateLiteral(d, ftTime), "#13:05:00#");
}

TEST(SqlText, ParametersAreFoundOutsideLiteralsAndSubstitutedByWholeName)
{
    const QString sql = "SELECT * FROM t WHERE A = :A AND AB = :AB AND s = ':X' AND [x:Y] = 1 AND d = #1:30:00# "
                        "AND c = :A AND t = '12::30' AND e = ::E";
    EXPECT_EQ(TParams::NamesIn(sql), (QStringList{"A", "AB"}));
    TParams params;
    params.ParseSQL(sql);
    ASSERT_EQ(params.Count(), 2);
    params.ParamByName("a").SetAsString("O\"Brien");
    params.ParamByName("AB").SetAsInteger(7);
    EXPECT_EQ(SubstituteParams(sql, params),
              "SELECT * FROM t WHERE A = \"O\"\"Brien\" AND AB = 7 AND s = ':X' AND [x:Y] = 1 AND d = #1:30:00# "
              "AND c = \"O\"\"Brien\" AND t = '12::30' AND e = ::E");

    params.ParamByName("A").Clear();
    EXPECT_TRUE(SubstituteParams("x = :A", params).endsWith(" IS NULL"));
    EXPECT_THROW(params.ParamByName("missing"), std::exception);
}

TEST(SqlText, ReparsingKeepsValuesOfParametersThatStay)
{
    TParams params;
    params.ParseSQL("SELECT * FROM t WHERE a = :Nr AND b = :List");
    params.ParamByName("Nr").SetAsInteger(4711);
    params.ParseSQL("SELECT * FROM t WHERE b = :List AND a = :NR");
    ASSERT_EQ(params.Count(), 2);
    EXPECT_EQ(params[0].Name, "List");
    EXPECT_EQ(params[1].Value.toInt(), 4711);
    EXPECT_EQ(params[1].DataType, ftInteger);
}

TEST(RecordText, DaoFieldsBecomeFieldDefinitions)
{
    EXPECT_EQ(FieldShapeFor({4, 4, 16 | 32, {}}).type, ftAutoInc);
    EXPECT_EQ(FieldShapeFor({4, 4, 32, {}}).type, ftInteger);
    EXPECT_EQ(FieldShapeFor({10, 0, 32, {}}).size, 255) << "a Text of size 0";
    EXPECT_EQ(FieldShapeFor({10, 50, 32, {}}).size, 50);
    EXPECT_EQ(FieldShapeFor({8, 8, 0, {}}).type, ftDateTime);
    EXPECT_EQ(FieldShapeFor({8, 8, 0, "Short Time"}).type, ftTime);
    EXPECT_EQ(FieldShapeFor({8, 8, 0, "General Date"}).type, ftDateTime);
    EXPECT_EQ(FieldShapeFor({8, 8, 0, "dd.mm.yyyy"}).type, ftDate);
    EXPECT_EQ(FieldShapeFor({15, 16, 0, {}}).type, ftBytes);
    EXPECT_EQ(FieldShapeFor({12, 0, 0, {}}).type, ftMemo);
    EXPECT_EQ(FieldShapeFor({99, 0, 0, {}}).type, ftUnknown);
}
