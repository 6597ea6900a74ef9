// The program killed (SIGKILL) at random moments while it captures numbers,
// imports a file, deletes lists or makes its backup copy at start: after a
// restart every number whose capture had returned is there, no entry belongs
// to a list that no longer exists, a half-done deletion can be done again,
// and the backup copy is the old file or the new one. CI runs 12 kills;
// QUILLSTOCK_KILL_RUNS=100 runs more by hand.
#include "tests/app/MainWindowHarness.h"
#include "ui_TfMain.h"

#include "app/InventoryDatabase.h"
#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "tests/support/EngineRows.h"
#include "tests/support/FuzzBudget.h"
#include "tests/support/TempFolder.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <gtest/gtest.h>
#include <signal.h>

namespace {

struct Counts {
    int runs = 0, capture = 0, import = 0, deletion = 0, backup = 0, midway = 0, duringCopy = 0;
    int returned = 0, lost = 0, orphans = 0, badCopies = 0, failedRestarts = 0;
};

// The probe's lines up to the kill, which comes killAfterMs after the probe
// said the line marker.
QStringList runAndKill(const QStringList& args, int killAfterMs, const QByteArray& marker)
{
    QProcess probe;
    probe.start(QStringLiteral(WORK_PROBE), args);
    EXPECT_TRUE(probe.waitForStarted(10000));
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while (!out.contains(marker + '\n') && clock.elapsed() < 30000 && probe.state() == QProcess::Running) {
        probe.waitForReadyRead(5);
        out += probe.readAllStandardOutput();
    }
    clock.restart();
    while (clock.elapsed() < killAfterMs) {
        probe.waitForReadyRead(std::max<qint64>(1, killAfterMs - clock.elapsed()));
        out += probe.readAllStandardOutput();
    }
    ::kill(pid_t(probe.processId()), SIGKILL);
    probe.waitForFinished(10000);
    out += probe.readAllStandardOutput();
    return QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
}

// Runs statements on an existing database in one transaction.
void fill(const QString& path, const QStringList& statements)
{
    dao::DBEngine engine;
    auto db = engine.openDatabase(path.toStdString());
    db->beginTrans();
    for (const QString& s : statements)
        db->execute(s.toStdString(), dao::dbFailOnError);
    db->commitTrans();
    db->close();
}

int scalar(const QString& db, const QString& sql) { return testsupport::queryRows(db, sql)[0].toArray()[0].toInt(); }

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Kill, AtAnyMomentNothingReturnedIsLostAndNothingHalfDoneRemains)
{
    const char* runsText = std::getenv("QUILLSTOCK_KILL_RUNS");
    const int runs = runsText ? std::atoi(runsText) : 12;
    QRandomGenerator rng(testsupport::FuzzBudget::seed(20261207));
    Counts c;
    for (int run = 0; run < runs; ++run) {
        const int mode = run % 4;
        SCOPED_TRACE("run " + std::to_string(run) + " mode " + std::to_string(mode));
        testsupport::TempFolder dir;
        const QString inv = dir.file("db_inv.mdb");
        const QString small = dir.copyFixture("catalogue/veltrano.mdb", "Katalog.mdb");
        QString catalogue = small;
        inventory::CreateEmptyInventory(inv);
        QStringList args{dir.path()};
        QStringList numbers; // of the import file
        int killAfter = 0;
        QByteArray marker = "started";
        if (mode == 0) {
            args << "capture" << QString::number(rng.generate());
            killAfter = int(rng.bounded(1500));
            ++c.capture;
        } else if (mode == 1) {
            for (int i = 0; i < 20000; ++i)
                numbers << QString::number(rng.bounded(1, 2000000000));
            dir.write("nummern.txt", numbers.join("\r\n").toUtf8() + "\r\n");
            fill(inv, {"INSERT INTO inventurliste (Bezeichnung) VALUES ('Import')"});
            args << "import" << dir.file("nummern.txt");
            killAfter = int(rng.bounded(2500));
            ++c.import;
        } else if (mode == 2) {
            QStringList statements;
            for (int list = 1; list <= 5; ++list) {
                statements << QStringLiteral("INSERT INTO inventurliste (Bezeichnung) VALUES ('Liste %1')").arg(list);
                for (int i = 0; i < 300; ++i)
                    statements << QStringLiteral("INSERT INTO inventur (NR, Inventurliste) VALUES (%1, %2)").arg(i).arg(list);
            }
            fill(inv, statements);
            args << "delete";
            killAfter = int(rng.bounded(1500));
            ++c.deletion;
        } else {
            // The old copy is of the small catalogue; the new one of the large.
            catalogue = dir.copyFixture("catalogue/veltrano-100k.mdb", "Gross.mdb");
            dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb");
            args << "start";
            // The copy of the large catalogue takes a few milliseconds from the page cache.
            killAfter = int(rng.bounded(30));
            marker = "copy shown";
            ++c.backup;
        }
        dir.write("Quillstock.ini", "[GLOBAL]\r\nPATH=" + catalogue.toUtf8() + "\r\n");

        const QStringList lines = runAndKill(args, killAfter, marker);
        ++c.runs;

        // Every number whose capture returned is there, in its list.
        for (const QString& line : lines.filter(QRegularExpression("^stored "))) {
            const QStringList part = line.split(' ');
            ++c.returned;
            const int found = scalar(inv, QStringLiteral("SELECT count(*) FROM inventur WHERE NR = %1 AND "
                                                         "Inventurliste = %2").arg(part[2], part[1]));
            c.lost += found == 0;
            EXPECT_GE(found, 1) << line.toStdString();
        }
        // An import stops between entries: what is stored is the file's beginning.
        if (mode == 1) {
            const QJsonArray stored = testsupport::queryRows(inv, "SELECT NR FROM inventur ORDER BY IDX");
            for (qsizetype i = 0; i < stored.size(); ++i)
                EXPECT_EQ(stored[i].toArray()[0].toDouble(), numbers[i].toDouble()) << "entry " << i;
            if (lines.contains("imported")) {
                EXPECT_EQ(stored.size(), numbers.size());
            }
        }
        // Deleted lists are gone with their entries; no entry is left without its list.
        for (const QString& line : lines.filter(QRegularExpression("^deleted ")))
            EXPECT_EQ(scalar(inv, "SELECT count(*) FROM inventurliste WHERE IDX = " + line.split(' ')[1]), 0);
        const int orphans = scalar(inv, "SELECT count(*) FROM inventur WHERE Inventurliste NOT IN "
                                        "(SELECT IDX FROM inventurliste)");
        c.orphans += orphans;
        EXPECT_EQ(orphans, 0);
        // The backup copy is whole: the old file or the new one.
        if (mode != 3)
            c.midway += lines.contains("started") && !lines.contains("done");
        if (mode == 3)
            c.duringCopy += lines.contains("copy shown") && !lines.contains("copy hidden");
        if (mode == 3 && dir.exists("db_Vel.mdb")) {
            const QByteArray copy = dir.read("db_Vel.mdb");
            const bool whole = copy == fileBytes(small) || copy == fileBytes(catalogue);
            c.badCopies += !whole;
            EXPECT_TRUE(whole) << copy.size();
        }

        // The program starts again on the folder; a half-done deletion is done again.
        MainWindowHarness h;
        TfMain& w = h.start(dir.path());
        const bool started = w.DB_INV.Connected() && w.DB_Veltrano.Connected() && h.ui->messageTexts().isEmpty();
        c.failedRestarts += !started;
        EXPECT_TRUE(started) << h.ui->messageTexts().join('|').toStdString();
        if (mode == 3) {
            EXPECT_EQ(dir.read("db_Vel.mdb"), fileBytes(catalogue));
        }
        if (mode == 2 && started) {
            while (w.TB_Master.Active() && !w.TB_Master.IsEmpty()) {
                h.ui->messageAnswers.push_back(0);
                w.ui->Button2->click();
                ASSERT_TRUE(h.ui->messageTexts().filter(QRegularExpression("^(?!Datensatz)")).isEmpty())
                    << h.ui->messageTexts().join('|').toStdString();
            }
            EXPECT_EQ(scalar(inv, "SELECT count(*) FROM inventur"), 0);
        }
        h.stop();
        EXPECT_EQ(QDir(dir.path()).entryList({"db_Vel.mdb.*", "*.new"}, QDir::Files), QStringList())
            << "no half-written file is left beside the copy";
    }
    std::printf("kill test: %d runs (capture %d, import %d, list deletion %d, %d of these before their work ended; "
                "backup copy %d, %d of these during the copy), %d numbers returned, "
                "%d lost, %d orphan entries, %d broken copies, %d failed restarts\n",
                c.runs, c.capture, c.import, c.deletion, c.midway, c.backup, c.duringCopy, c.returned, c.lost,
                c.orphans, c.badCopies, c.failedRestarts);
}
