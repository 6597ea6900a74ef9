// The command-line programs, run as built.
#include "EngineTestSupport.h"

#include "tests/support/TempFolder.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace enginetest;

namespace {

struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ProgramRun run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QUILLSTOCK_BIN_DIR "/") + program, args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

TEST(Cli, SelectPrintsRfc4180CsvWithHeader)
{
    testsupport::TempFolder folder;
    const QString cat = folder.copyFixture("catalogue/veltrano.mdb");
    const ProgramRun r = run("quillstock-sql",
                      {cat, "SELECT Buchungsnummer AS NR, HAUPTTITEL, HAUPTEINTRAG FROM TITEL WHERE Buchungsnummer "
                            "IN (104, 106, 122, 124) ORDER BY Buchungsnummer"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("NR,HAUPTTITEL,HAUPTEINTRAG\r\n"
                                "104,,\r\n"
                                "106,\"\",Anonymus\r\n"
                                "122,\"Mengenlehre {a, b}\",\"Cantor, Georg\"\r\n"
                                "124,\"Das \"\"Zitat\"\" im Titel\",\"Tucholsky, Kurt\"\r\n"));
    const ProgramRun dates = run("quillstock-sql", {cat, "SELECT #1/15/2003 13:05# + 1 AS Morgen, "
                                                         "DateSerial(2000, 1, 1) AS Tag FROM TITEL WHERE "
                                                         "Buchungsnummer = 104"});
    EXPECT_EQ(dates.out, QByteArray("Morgen,Tag\r\n2003-01-16 13:05:00,2000-01-01 00:00:00\r\n"));
}

TEST(Cli, ActionStatementsPrintRowsAffectedAndErrorsExitWithOne)
{
    testsupport::TempFolder folder;
    const QString inv = folder.file("db_inv.mdb");
    ProgramRun r = run("quillstock-mkinv", {inv});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = run("quillstock-sql", {inv, "INSERT INTO inventurliste (Bezeichnung) VALUES ('Inventur vom: 01.12.2026')"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "1\n");
    r = run("quillstock-sql", {inv, "SELECT IDX, Bezeichnung FROM inventurliste"});
    EXPECT_EQ(r.out, "IDX,Bezeichnung\r\n1,Inventur vom: 01.12.2026\r\n");
    r = run("quillstock-sql", {inv, "SELECT * FROM nirgends"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith("Error 3078: ")) << r.err.toStdString();
    r = run("quillstock-sql", {folder.file("fehlt.mdb"), "SELECT 1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("Error 3024: Could not find file")) << r.err.toStdString();
}

TEST(Cli, MkinvMakesTheInventorySchemaAndNeverOverwrites)
{
    testsupport::TempFolder folder;
    const QString inv = folder.file("db_inv.mdb");
    ASSERT_EQ(run("quillstock-mkinv", {inv}).exitCode, 0);
    dao::DBEngine engine;
    auto db = engine.openDatabase(inv.toStdString());
    auto inventur = db->tableDefs().item("inventur");
    EXPECT_EQ(inventur->fields().item("IDX")->attributes() & dao::dbAutoIncrField, dao::dbAutoIncrField);
    EXPECT_EQ(inventur->fields().item("NR")->type(), dao::dbLong);
    EXPECT_EQ(db->tableDefs().item("inventurliste")->fields().item("Bezeichnung")->size(), 50);
    bool listIndex = false;
    for (const auto& x : inventur->indexes())
        listIndex = listIndex || (x->fields().count() == 2 && x->fields().item(0)->name() == "Inventurliste");
    EXPECT_TRUE(listIndex);
    db->close();
    const QByteArray before = folder.read("db_inv.mdb");
    const ProgramRun again = run("quillstock-mkinv", {inv});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(folder.read("db_inv.mdb"), before);
}
