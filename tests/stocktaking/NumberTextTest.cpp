#include "stocktaking/NumberText.h"

#include <gtest/gtest.h>

using namespace numbers;

TEST(NumberText, ImportLinesFollowTheRuntimesIntegerSyntax)
{
    EXPECT_EQ(ParseInteger("42"), 42);
    EXPECT_EQ(ParseInteger("  42"), 42) << "leading blanks are fine";
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger("-7"), -7);
    EXPECT_EQ(ParseInteger("$FF"), 255);
    EXPECT_EQ(ParseInteger("0x10"), 16);
    EXPECT_EQ(ParseInteger("X1f"), 31);
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<qint32>::min());
    EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1) << "a 32-bit hexadecimal pattern";
    for (const char* bad : {"42 ", "12a", "4;5", "", " ", "+", "0x", "2147483648", "99999999999999999999", "1.5",
                            "٣"})
        EXPECT_FALSE(ParseInteger(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(NotAnIntegerText("12a"), QStringLiteral("'12a' ist kein gültiger Integerwert"));
}

TEST(NumberText, BookNumbersAreDigitsThatFitALong)
{
    EXPECT_EQ(ParseBookNumber("007"), 7);
    EXPECT_EQ(ParseBookNumber("2147483647"), 2147483647);
    EXPECT_FALSE(ParseBookNumber("2147483648"));
    EXPECT_FALSE(ParseBookNumber(""));
    EXPECT_FALSE(ParseBookNumber("12 OR 1=1")) << "pasted text never reaches a query";
    EXPECT_FALSE(ParseBookNumber("-5"));
}

TEST(NumberText, CaptureKeysAndTheDuplicateTest)
{
    for (QChar c : QStringLiteral("0123456789\b\r"))
        EXPECT_TRUE(IsCaptureKey(c));
    for (QChar c : QStringLiteral("a -.;\t"))
        EXPECT_FALSE(IsCaptureKey(c));
    EXPECT_EQ(CaptureTestQuery("4711", "3"), " SELECT NR FROM inventur WHERE NR = 4711 AND inventur.inventurliste =3");
}
