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

#include "platform/Registry.h"

TEST(Registry, EngineVersionsFormatsAndOdbcSections)
{
    EXPECT_TRUE(platform::Registry::progIdInstalled("DAO.DBEngine.36"));
    EXPECT_TRUE(platform::Registry::progIdInstalled("DAO.PrivateDBEngine.35"));
    EXPECT_FALSE(platform::Registry::progIdInstalled("DAO.DBEngine.120"));
    EXPECT_TRUE(platform::Registry::isamFormats("4.0").contains("HTML Export"));
    EXPECT_TRUE(platform::Registry::isamFormats("3.6").isEmpty()) << "registry versions are 3.5 and 4.0";
    EXPECT_TRUE(platform::Registry::jetSystemDb("4.0").isEmpty());

    testsupport::TempFolder dir;
    dir.write("odbc.ini", "[ODBC Data Sources]\nkat = SQLite3\n\n[kat]\nDriver=SQLite3\n[ Lager ]\n[kat]\n");
    EXPECT_EQ(platform::Registry::sectionNames(dir.file("odbc.ini")), (QStringList{"kat", "Lager"}));
    EXPECT_TRUE(platform::Registry::sectionNames(dir.file("none.ini")).isEmpty());
}
