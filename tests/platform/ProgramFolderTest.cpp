#include "platform/ProgramFolder.h"
#include "tests/support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(ProgramFolder, InstalledMeansTheBinFolderOfAnInstallationNotABuild)
{
    EXPECT_TRUE(platform::isInstalledLocation("/usr/bin"));
    EXPECT_TRUE(platform::isInstalledLocation("/usr/bin/"));
    EXPECT_TRUE(platform::isInstalledLocation("/usr/local/bin"));
    EXPECT_FALSE(platform::isInstalledLocation("/usr/share"));
    EXPECT_FALSE(platform::isInstalledLocation("/usr/bin/quillstock-build"));

    testsupport::TempFolder dir;
    EXPECT_FALSE(platform::isInstalledLocation(dir.path())) << "a writable build folder";
    // A link to the installation's folder is the installation's folder.
    ASSERT_TRUE(QFile::link("/usr/bin", dir.file("bin")));
    EXPECT_TRUE(platform::isInstalledLocation(dir.file("bin")));

    // The tests run from the build, whose program folder is beside them.
    EXPECT_FALSE(platform::runsInstalled());
}

TEST(ProgramFolder, TheUsersFolderFollowsXdgDataHome)
{
    testsupport::TempFolder dir;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.file("data").toUtf8());
    EXPECT_EQ(platform::userDataFolder(), dir.file("data/quillstock/"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(platform::userDataFolder(), QDir::homePath() + "/.local/share/quillstock/");
    if (!saved.isEmpty())
        qputenv("XDG_DATA_HOME", saved);
}
