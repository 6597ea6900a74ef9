#include "platform/CodePages.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(CodePages, Windows1252RoundTripsItsSpecialRange)
{
    const QString text = QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ äöüÄÖÜß°²³§´");
    const QByteArray bytes = toCp1252(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x80);
    EXPECT_EQ(fromCp1252(bytes), text);
    EXPECT_EQ(toCp1252(QStringLiteral("漢")), QByteArray("?"));
}

TEST(CodePages, Oem850AndAnsiTranslateGermanText)
{
    const QByteArray oem("\x84\x94\x81\x8E\x99\x9A\xE1", 7); // äöüÄÖÜß in code page 850
    EXPECT_EQ(fromCp850(oem), QStringLiteral("äöüÄÖÜß"));
    EXPECT_EQ(oemToAnsi(oem), toCp1252(QStringLiteral("äöüÄÖÜß")));
    EXPECT_EQ(ansiToOem(oemToAnsi(oem)), oem);
    EXPECT_EQ(ansiToOem(toCp1252(QStringLiteral("€"))), QByteArray("?")) << "no euro sign in code page 850";
}

TEST(CodePages, Utf8IsPreferredAndAnythingElseIsWindows1252)
{
    EXPECT_EQ(fromUtf8OrCp1252(QStringLiteral("Müller").toUtf8()), QStringLiteral("Müller"));
    EXPECT_EQ(fromUtf8OrCp1252(toCp1252(QStringLiteral("Müller"))), QStringLiteral("Müller"));
    EXPECT_FALSE(isValidUtf8(QByteArray("\xFC", 1)));
}
