// Values and Jet's conversions between them.
#include "EngineTestSupport.h"
#include "engine/DaoConstants.h"
#include "engine/DaoError.h"
#include "engine/Variant.h"

#include <functional>
#include <gtest/gtest.h>

using dao::Variant;

using enginetest::errorOf;


TEST(Variant, NumbersConvertAsJetDoesAndOverflowGives3349)
{
    EXPECT_EQ(Variant("  42 ").toLong(), 42);
    EXPECT_EQ(Variant(2.5).toLong(), 2);  // rounds half to even, as CLng
    EXPECT_EQ(Variant(3.5).toLong(), 4);
    EXPECT_EQ(Variant(true).toLong(), -1);
    EXPECT_EQ(Variant(false).toLong(), 0);
    EXPECT_EQ(Variant("2147483647").toLong(), 2147483647);
    EXPECT_EQ(errorOf([] { Variant("2147483648").toLong(); }), 3349);
    EXPECT_EQ(errorOf([] { Variant(-2147483649.0).toLong(); }), 3349);
    EXPECT_EQ(errorOf([] { Variant("zwölf").toLong(); }), 3464);
    EXPECT_EQ(errorOf([] { Variant().toDouble(); }), 3464);
    EXPECT_TRUE(Variant("True").toBool());
    EXPECT_FALSE(Variant("0").toBool());
}

TEST(Variant, TextFormsOfEachType)
{
    EXPECT_EQ(Variant().toText(), "");
    EXPECT_TRUE(Variant().isNull());
    EXPECT_EQ(Variant(true).toText(), "True");
    EXPECT_EQ(Variant::integer(-5).toText(), "-5");
    EXPECT_EQ(Variant(0.1).toText(), "0.1");
    EXPECT_EQ(Variant(1e20).toText(), "1e+20");
    EXPECT_EQ(Variant::currency(12.87).toText(), "12.87");
    EXPECT_EQ(Variant::currency(1.23456789).toText(), "1.2346"); // four decimals, as Jet keeps them
    EXPECT_EQ(Variant::currency(-0.00001).toText(), "0");
    EXPECT_EQ(Variant::single(0.1f).toText(), "0.1");
    EXPECT_EQ(Variant::currency(5).type(), dao::VarType::Currency);
}

TEST(Variant, DatesCountDaysFrom1899AsJetStoresThem)
{
    EXPECT_EQ(dao::jetDateFromParts(1899, 12, 30), 0.0);
    EXPECT_EQ(dao::jetDateFromParts(1900, 1, 1), 2.0);
    EXPECT_EQ(dao::jetDateFromParts(2000, 1, 1), 36526.0);
    EXPECT_DOUBLE_EQ(dao::jetDateFromParts(2000, 1, 1, 12), 36526.5);
    EXPECT_EQ(Variant::date(36526.5).toText(), "2000-01-01 12:00:00");
    EXPECT_EQ(Variant::date(0).toText(), "1899-12-30 00:00:00");
    // Before 1899-12-30 the day counts down while the time still counts up.
    EXPECT_DOUBLE_EQ(dao::jetDateFromParts(1899, 12, 29, 6), -1.25);
    EXPECT_EQ(Variant::date(-1.25).toText(), "1899-12-29 06:00:00");
    EXPECT_EQ(Variant::date(dao::jetDateFromParts(2024, 2, 29, 23, 59, 59)).toText(), "2024-02-29 23:59:59");
    EXPECT_EQ(Variant::date(dao::jetDateFromParts(1600, 3, 1)).toText(), "1600-03-01 00:00:00");
}

TEST(Variant, GuidsUseMicrosoftsByteLayout)
{
    const std::string bytes("\x78\x56\x34\x12\x34\x12\xCD\xAB\x12\x34\x56\x78\x90\xAB\xCD\xEF", 16);
    const Variant g = Variant::guid(bytes);
    EXPECT_EQ(g.guidText(), "{12345678-1234-ABCD-1234-567890ABCDEF}");
    EXPECT_EQ(g.toText(), g.guidText());
    EXPECT_EQ(g.bytes(), bytes);
    EXPECT_EQ(Variant::guid("short").guidText(), "");
}

TEST(Variant, EqualityComparesNumbersByValue)
{
    EXPECT_EQ(Variant(1), Variant(1.0));
    EXPECT_EQ(Variant::byte(7), Variant::longValue(7));
    EXPECT_FALSE(Variant(1) == Variant("1"));
    EXPECT_EQ(Variant(), Variant());
    EXPECT_FALSE(Variant() == Variant(0));
}
