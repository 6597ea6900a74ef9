// Damaged copies of the genuine catalogues — cut short, bytes changed at
// random, pages swapped or copied over others, the version byte (and with it
// the page size) changed — end with their rows or a Jet error: never a crash,
// a hang or a flood of messages. Each file is read in a child process, so a
// fault is counted with its case instead of ending the test program.
// QUILLSTOCK_FUZZ_SECONDS=1800 runs each catalogue for half an hour.
#include "engine/DBEngine.h"
#include "engine/DaoError.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/Storage.h"
#include "tests/support/ChildRun.h"
#include "tests/support/Fixtures.h"
#include "tests/support/FuzzBudget.h"
#include "tests/support/TempFolder.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

enum Exit { Read = 0, JetError = 3, OtherError = 4 };

// Reads every value of every table, system tables too; a table that fails is
// handed to tableFailed and the others are still read.
template <typename Db, typename OnError>
void readAllTables(Db& db, OnError tableFailed)
{
    for (const std::string& table : db->storage()->tableNames(true)) {
        try {
            auto rs = db->openRecordset("SELECT * FROM [" + table + "]", dao::dbOpenSnapshot);
            for (; !rs->eof(); rs->moveNext())
                for (int i = 0; i < rs->fields().count(); ++i)
                    rs->value(i);
        } catch (const dao::DaoError& e) {
            tableFailed(e);
        }
    }
}

// Opens the file and reads it whole.
int readEverything(const std::string& path)
{
    try {
        dao::DBEngine engine;
        auto db = engine.openDatabase(path);
        // One damaged table does not stop the others from being read.
        readAllTables(db, [](const dao::DaoError&) {});
        return Read;
    } catch (const dao::DaoError&) {
        return JetError;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return OtherError;
    }
}

QByteArray damaged(const QByteArray& genuine, QRandomGenerator& rng, QString& how)
{
    QByteArray b = genuine;
    const int page = b[0x14] == 0 ? 2048 : 4096;
    const int pages = int(b.size() / page);
    auto somePage = [&] { return int(rng.bounded(1, pages)); };
    switch (rng.bounded(7)) {
    case 0: { // cut short, mostly at a page boundary
        const qsizetype at = rng.bounded(4) ? qsizetype(rng.bounded(1, pages)) * page : rng.bounded(b.size());
        b.truncate(at);
        how = QStringLiteral("cut at %1").arg(at);
        break;
    }
    case 1: { // bytes changed anywhere behind the header page
        const int n = int(rng.bounded(1, 64));
        for (int i = 0; i < n; ++i)
            b[qsizetype(rng.bounded(page, int(b.size())))] = char(rng.bounded(256));
        how = QStringLiteral("%1 bytes changed").arg(n);
        break;
    }
    case 2: { // bytes changed in the head of one page: its type, owner, row table
        const int p = somePage();
        for (int i = int(rng.bounded(1, 12)); i > 0; --i)
            b[qsizetype(p) * page + rng.bounded(64)] = char(rng.bounded(256));
        how = QStringLiteral("head of page %1 changed").arg(p);
        break;
    }
    case 3: { // two pages swapped
        const int p = somePage(), q = somePage();
        const QByteArray first = b.mid(qsizetype(p) * page, page);
        b.replace(qsizetype(p) * page, page, b.mid(qsizetype(q) * page, page));
        b.replace(qsizetype(q) * page, page, first);
        how = QStringLiteral("pages %1 and %2 swapped").arg(p).arg(q);
        break;
    }
    case 4: { // a page copied over another
        const int p = somePage(), q = somePage();
        b.replace(qsizetype(q) * page, page, b.mid(qsizetype(p) * page, page));
        how = QStringLiteral("page %1 copied over %2").arg(p).arg(q);
        break;
    }
    case 5: // another version: Jet 3 reads 2048-byte pages, later ones 4096
        b[0x14] = char(rng.bounded(5));
        how = QStringLiteral("version byte %1").arg(int(b[0x14]));
        break;
    default: { // header page bytes changed
        for (int i = int(rng.bounded(1, 8)); i > 0; --i)
            b[qsizetype(rng.bounded(0x14, page))] = char(rng.bounded(256));
        how = QStringLiteral("header changed");
        break;
    }
    }
    return b;
}

struct Counts {
    int tried = 0, read = 0, errors = 0, crashes = 0, hangs = 0, floods = 0, otherErrors = 0;
};

Counts fuzz(const QString& fixture, int defaultCases, unsigned seed)
{
    QFile f(testsupport::fixturePath(fixture));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray genuine = f.readAll();
    testsupport::TempFolder dir;
    const std::string path = dir.file("damaged.mdb").toStdString();
    QRandomGenerator rng(testsupport::FuzzBudget::seed(seed));
    const testsupport::FuzzBudget budget(defaultCases);
    // Time bounded by the file's size.
    const auto limit = std::chrono::milliseconds(20000 + genuine.size() / 512);
    Counts c;
    for (; budget.more(c.tried); ++c.tried) {
        QString how;
        dir.write("damaged.mdb", damaged(genuine, rng, how));
        const testsupport::ChildOutcome out = testsupport::runInChild([&] { return readEverything(path); }, limit);
        SCOPED_TRACE(QStringLiteral("case %1: %2").arg(c.tried).arg(how).toStdString());
        if (out.timedOut)
            ++c.hangs;
        else if (!out.exited)
            ++c.crashes;
        else if (out.code == Read)
            ++c.read;
        else if (out.code == JetError)
            ++c.errors;
        else
            ++c.otherErrors;
        // One line for the catalogue and one for each table at most.
        const bool flood = out.outputLines() > 40;
        c.floods += flood;
        EXPECT_FALSE(out.timedOut);
        EXPECT_EQ(out.signal, 0);
        EXPECT_TRUE(out.code == Read || out.code == JetError) << out.code << " " << out.output.substr(0, 300);
        EXPECT_FALSE(flood) << out.outputLines() << " lines: " << out.output.substr(0, 300);
        if (::testing::Test::HasFailure())
            QFile::copy(QString::fromStdString(path), QStringLiteral("/tmp/quillstock-fuzz-failed.mdb"));
        if (::testing::Test::HasFatalFailure())
            break;
    }
    std::printf("access fuzz %s: %d files tried, %d read, %d Jet errors, %d other errors, %d crashes, %d hangs, "
                "%d floods\n",
                qPrintable(fixture), c.tried, c.read, c.errors, c.otherErrors, c.crashes, c.hangs, c.floods);
    return c;
}

} // namespace

TEST(AccessFuzz, DamagedCopiesOfTheSmallCatalogueGiveRowsOrJetErrors)
{
    const Counts c = fuzz(QStringLiteral("catalogue/veltrano.mdb"), 300, 20260101);
    EXPECT_GT(c.read, 0);
    EXPECT_GT(c.errors, 0);
}

TEST(AccessFuzz, DamagedCopiesOfTheLargeCatalogueGiveRowsOrJetErrors)
{
    fuzz(QStringLiteral("catalogue/veltrano-100k.mdb"), 5, 20260102);
}

TEST(AccessFuzz, ACatalogueWhosePropertiesLoopIsRefusedInBoundedTime)
{
    // A property block of the catalogue, kept on a long-value page, whose first
    // chunk has the length 0: libmdb's parser of it never advances. The file is
    // refused as damaged.
    QFile f(testsupport::fixturePath(QStringLiteral("catalogue/veltrano.mdb")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    qsizetype block = -1;
    for (qsizetype at = 0; (at = bytes.indexOf(QByteArray("MR2\0", 4), at + 1)) > 0 && block < 0;)
        if (bytes.mid(at / 4096 * 4096 + 4, 4) == "LVAL")
            block = at;
    ASSERT_GT(block, 0);
    bytes[block + 4] = bytes[block + 5] = bytes[block + 6] = bytes[block + 7] = 0;
    testsupport::TempFolder dir;
    dir.write("loop.mdb", bytes);
    const std::string path = dir.file("loop.mdb").toStdString();
    const testsupport::ChildOutcome out =
        testsupport::runInChild([&] { return readEverything(path); }, std::chrono::milliseconds(30000));
    EXPECT_TRUE(out.exited) << "timed out: " << out.timedOut;
    EXPECT_EQ(out.code, JetError);
    EXPECT_LT(out.outputBytes, 4096u);
}

TEST(AccessFuzz, ARowWhosePlaceOnItsPageIsImpossibleRefusesTheFileInsteadOfLeavingTheRowOut)
{
    // The first row entry of the catalogue's last data page pointed into the
    // page's own head. Reading on without that row would give a catalogue with
    // a copy missing — never counted, never reported missing.
    QFile f(testsupport::fixturePath(QStringLiteral("catalogue/veltrano.mdb")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    const int page = 4096;
    qsizetype dataPage = -1;
    for (qsizetype p = bytes.size() / page - 1; p > 0 && dataPage < 0; --p)
        if (bytes[p * page] == 0x01 && bytes[p * page + 12] != 0)
            dataPage = p;
    ASSERT_GT(dataPage, 0);
    bytes[dataPage * page + 14] = 0x10; // first row entry: offset 16, flags none
    bytes[dataPage * page + 15] = 0x00;
    testsupport::TempFolder dir;
    dir.write("rowplace.mdb", bytes);
    const std::string path = dir.file("rowplace.mdb").toStdString();
    long refused = 0;
    try {
        dao::DBEngine engine;
        auto db = engine.openDatabase(path);
        readAllTables(db, [&](const dao::DaoError& e) {
            refused = e.number();
            EXPECT_NE(std::string(e.what()).find("rowplace.mdb"), std::string::npos) << e.what();
        });
    } catch (const dao::DaoError& e) {
        refused = e.number();
    }
    EXPECT_EQ(refused, 3343);
}
