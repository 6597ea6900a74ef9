#include "platform/CodePages.h"
#include "platform/ProfileFile.h"
#include "tests/support/TempFolder.h"

#include <QDir>

#include <QFile>
#include <gtest/gtest.h>

using platform::ProfileFile;
using testsupport::TempFolder;

TEST(ProfileFile, MissingFileSectionOrKeyGivesTheDefault)
{
    TempFolder dir;
    ProfileFile ini(dir.file("Quillstock.ini"));
    EXPECT_EQ(ini.readString("GLOBAL", "PATH", "def"), "def");
    dir.write("Quillstock.ini", "[OTHER]\r\nPATH=x\r\n[GLOBAL]\r\nNAME=y\r\n");
    EXPECT_EQ(ini.readString("GLOBAL", "PATH", "def"), "def");
}

TEST(ProfileFile, NamesCompareWithoutCaseAndValuesAreTrimmedAndUnquoted)
{
    TempFolder dir;
    dir.write("a.ini", "; comment=1\n[ global ]\n  path  =  \"/x y/veltrano.mdb\"  \nEmpty=\n");
    ProfileFile ini(dir.file("a.ini"));
    EXPECT_EQ(ini.readString("GLOBAL", "PATH", "def"), "/x y/veltrano.mdb");
    EXPECT_EQ(ini.readString("Global", "empty", "def"), "") << "a present but empty key is not the default";
    EXPECT_EQ(ini.readString("GLOBAL", "; comment", "def"), "def");
}

TEST(ProfileFile, OnlyTheFirstSectionOfAName)
{
    TempFolder dir;
    dir.write("a.ini", "[GLOBAL]\nA=1\n[GLOBAL]\nB=2\n");
    ProfileFile ini(dir.file("a.ini"));
    EXPECT_EQ(ini.readString("GLOBAL", "A", ""), "1");
    EXPECT_EQ(ini.readString("GLOBAL", "B", "none"), "none");
}

TEST(ProfileFile, WritingCreatesTheFileWithSectionAndKey)
{
    TempFolder dir;
    ProfileFile ini(dir.file("Quillstock.ini"));
    ini.writeString("GLOBAL", "PATH", "/data/veltrano.mdb");
    EXPECT_EQ(dir.read("Quillstock.ini"), QByteArray("[GLOBAL]\r\nPATH=/data/veltrano.mdb\r\n"));
    EXPECT_EQ(ini.readString("GLOBAL", "PATH", ""), "/data/veltrano.mdb");
}

TEST(ProfileFile, WritingOneKeyKeepsEveryOtherLineByteForByte)
{
    TempFolder dir;
    const QByteArray cp1252Line = platform::toCp1252(QStringLiteral("Name=Bücherei Süd"));
    dir.write("a.ini", "; mine\n[Other]\n" + cp1252Line + "\n\n[global]\npath=old\nkeep=1\n");
    ProfileFile ini(dir.file("a.ini"));
    ini.writeString("GLOBAL", "PATH", QStringLiteral("/Bücher/ö.mdb"));
    EXPECT_EQ(dir.read("a.ini"),
              "; mine\n[Other]\n" + cp1252Line + "\n\n[global]\nPATH=" + QStringLiteral("/Bücher/ö.mdb").toUtf8() + "\nkeep=1\n");
    EXPECT_EQ(ini.readString("other", "name", ""), QStringLiteral("Bücherei Süd")) << "a Windows-1252 line still reads";
    EXPECT_EQ(ini.readString("GLOBAL", "PATH", ""), QStringLiteral("/Bücher/ö.mdb"));
}

TEST(ProfileFile, NewKeyGoesIntoItsSectionAndNewSectionAtTheEnd)
{
    TempFolder dir;
    dir.write("a.ini", "[GLOBAL]\nA=1\n\n[Z]\nB=2");
    ProfileFile ini(dir.file("a.ini"));
    ini.writeString("global", "PATH", "p");
    ini.writeString("NEW", "K", "v");
    EXPECT_EQ(dir.read("a.ini"), QByteArray("[GLOBAL]\nA=1\nPATH=p\n\n[Z]\nB=2\n[NEW]\nK=v\n"));
}

TEST(ProfileFile, BinaryOrUnreadableFilesGiveTheDefault)
{
    TempFolder dir;
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 7919) & 0xFF));
    dir.write("bin.ini", junk);
    EXPECT_EQ(ProfileFile(dir.file("bin.ini")).readString("GLOBAL", "PATH", "def"), "def");

    QDir().mkdir(dir.file("folder.ini"));
    ProfileFile folder(dir.file("folder.ini"));
    EXPECT_EQ(folder.readString("GLOBAL", "PATH", "def"), "def");
    EXPECT_THROW(folder.writeString("GLOBAL", "PATH", "x"), platform::ProfileError);
}

TEST(ProfileFile, WriteIntoAnUnwritableFolderRaises)
{
    // A "folder" that is a plain file cannot be written into, also by root.
    TempFolder dir;
    dir.write("plainfile", "x");
    ProfileFile ini(dir.file("plainfile/a.ini"));
    EXPECT_EQ(ini.readString("GLOBAL", "PATH", "def"), "def");
    EXPECT_THROW(ini.writeString("GLOBAL", "PATH", "new"), platform::ProfileError);
    EXPECT_EQ(dir.read("plainfile"), QByteArray("x"));
}

TEST(ProfileFile, SectionsAreReadAndReplacedWhole)
{
    TempFolder dir;
    dir.write("schema.ini", "[a.txt]\r\nColNameHeader=True\r\nCol1=A Long\r\nCol2=B Text\r\n\r\n[B.TXT]\r\nFormat=TabDelimited\r\n");
    ProfileFile ini(dir.file("schema.ini"));
    const auto entries = ini.readSection("b.txt");
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].first, "Format");
    EXPECT_EQ(entries[0].second, "TabDelimited");
    ini.writeSection("A.TXT", {{"ColNameHeader", "False"}, {"Col1", "X Short"}});
    ini.writeSection("c.txt", {{"Format", "CSVDelimited"}});
    EXPECT_EQ(dir.read("schema.ini"), QByteArray("[a.txt]\r\nColNameHeader=False\r\nCol1=X Short\r\n\r\n"
                                                 "[B.TXT]\r\nFormat=TabDelimited\r\n[c.txt]\r\nFormat=CSVDelimited\r\n"));
    EXPECT_TRUE(ini.readSection("missing").isEmpty());
}
