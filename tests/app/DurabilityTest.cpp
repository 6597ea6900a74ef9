#include "app/InventoryDatabase.h"
#include "tests/support/EngineRows.h"
#include "tests/support/TempFolder.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <signal.h>

TEST(Durability, ACaptureSurvivesTheProcessBeingKilledRightAfterIt)
{
    testsupport::TempFolder dir;
    const QString catalogue = dir.copyFixture("catalogue/veltrano.mdb", "Katalog.mdb");
    dir.write("Quillstock.ini", "[GLOBAL]\nPATH=" + catalogue.toUtf8() + "\n");
    inventory::CreateEmptyInventory(dir.file("db_inv.mdb"));

    QProcess probe;
    probe.start(QStringLiteral(CAPTURE_PROBE), {dir.path(), "4711"});
    ASSERT_TRUE(probe.waitForStarted(10000));
    QByteArray out;
    while (!out.contains('\n') && probe.waitForReadyRead(30000))
        out += probe.readAllStandardOutput();
    EXPECT_TRUE(out.startsWith("stored vorhandene Buch-Nummern (1)")) << out.toStdString();
    ::kill(pid_t(probe.processId()), SIGKILL);
    probe.waitForFinished(10000);
    EXPECT_EQ(probe.exitStatus(), QProcess::CrashExit);

    EXPECT_EQ(testsupport::queryRows(dir.file("db_inv.mdb"), "SELECT NR, Inventurliste FROM inventur"),
              QJsonArray{(QJsonArray{4711, 1})});
}
