#include "platform/FileCopy.h"
#include "platform/Version.h"
#include "tests/support/TempFolder.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(Version, TextHasFourNumbersWithoutLeadingZeros)
{
    const QString text = platform::versionText();
    EXPECT_TRUE(QRegularExpression("^Vers\\. (0|[1-9]\\d*)\\.(0|[1-9]\\d*)\\.(0|[1-9]\\d*)\\.(0|[1-9]\\d*)$")
                    .match(text)
                    .hasMatch())
        << text.toStdString();
}

TEST(FileCopy, CopiesOverAnExistingTargetAndReportsProgress)
{
    testsupport::TempFolder dir;
    QByteArray big(3 * (1 << 20) + 17, 'x');
    dir.write("src.mdb", big);
    dir.write("dst.mdb", "old");
    int calls = 0;
    ASSERT_TRUE(platform::copyFile(dir.file("src.mdb"), dir.file("dst.mdb"), [&] { ++calls; }));
    EXPECT_EQ(dir.read("dst.mdb"), big);
    EXPECT_GE(calls, 3);
}

TEST(FileCopy, AFailedCopyLeavesNoTarget)
{
    testsupport::TempFolder dir;
    EXPECT_FALSE(platform::copyFile(dir.file("missing.mdb"), dir.file("dst.mdb")));
    EXPECT_FALSE(dir.exists("dst.mdb"));
    dir.write("src.mdb", "data");
    EXPECT_FALSE(platform::copyFile(dir.file("src.mdb"), dir.file("no/such/folder/dst.mdb")));
}
