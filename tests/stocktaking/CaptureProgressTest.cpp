#include "stocktaking/CaptureProgress.h"
#include "stocktaking/CatalogueLookup.h"
#include "stocktaking/ScanResult.h"
#include "tests/support/EngineRows.h"
#include "tests/support/TempFolder.h"

#include "engine/DBEngine.h"
#include "engine/Database.h"

#include <gtest/gtest.h>

using namespace capture;

TEST(CaptureProgress, CopiesCountOncePerNumberRecordedWhateverTheRepeats)
{
    CaptureProgress progress;
    progress.SetCatalogue({5, 5, 6, 8}); // number 5 names two copies
    progress.SetList(3, {5, 5, 7});
    EXPECT_EQ(progress.CountedList(), 3);
    EXPECT_EQ(progress.Recorded(), 2);
    EXPECT_EQ(progress.Missing(), 2);
    progress.EntryRemoved(5);
    EXPECT_EQ(progress.Recorded(), 2) << "one entry of 5 is left";
    progress.EntryRemoved(5);
    progress.EntryRemoved(9); // never recorded
    EXPECT_EQ(progress.Recorded(), 0);
    progress.EntryAdded(8);
    progress.EntryAdded(7);
    EXPECT_EQ(progress.Text(), QStringLiteral("erfasst: 1 von 4 Exemplaren — fehlen noch: 3"));
    progress.ForgetList();
    EXPECT_FALSE(progress.CountedList());
    EXPECT_EQ(progress.Missing(), 4);
}

// What the counts call missing is what the missing-books report lists, on the
// documented lists of the sample inventory (numbers outside the catalogue and
// copies whose title record is missing among them).
TEST(CaptureProgress, MissingIsTheRowCountOfTheReportOfEachSampleList)
{
    testsupport::TempFolder dir;
    dao::DBEngine engine;
    auto catalogue = engine.openDatabase(dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb").toStdString());
    auto inventory = engine.openDatabase(dir.copyFixture("inventory/db_inv-sample.mdb", "db_inv.mdb").toStdString());
    CatalogueLookup lookup(catalogue);
    CaptureProgress progress;
    progress.SetCatalogue(lookup.CopyNumbers());
    EXPECT_EQ(progress.Copies(), 67) << "the copies the checks list";
    progress.SetList(1, ListNumbers(*inventory, 1));
    EXPECT_EQ(progress.Missing(), 38);
    progress.SetList(2, ListNumbers(*inventory, 2));
    EXPECT_EQ(progress.Missing(), 64);
}

TEST(CatalogueLookup, FindsCopiesAsTheChecksJoinThem)
{
    testsupport::TempFolder dir;
    dao::DBEngine engine;
    CatalogueLookup lookup(engine.openDatabase(dir.copyFixture("catalogue/veltrano.mdb").toStdString()));
    const ScanResult found = DescribeScan(lookup, 1008, Outcome::Stored);
    EXPECT_EQ(found.finding, Finding::Found);
    EXPECT_EQ(found.title, QStringLiteral("§ 1 BGB – Kommentar"));
    EXPECT_EQ(found.author, "Palandt, Otto");
    EXPECT_EQ(DescribeScan(lookup, 5, Outcome::Stored).finding, Finding::Found) << "no title, no author: still a copy";
    EXPECT_EQ(DescribeScan(lookup, 37, Outcome::Stored).finding, Finding::Unknown) << "its title record is missing";
    EXPECT_EQ(DescribeScan(lookup, 999999, Outcome::Stored).finding, Finding::Unknown);
    const ScanResult again = DescribeScan(lookup, 4711, Outcome::AlreadyThere);
    EXPECT_EQ(again.finding, Finding::AlreadyThere);
    EXPECT_EQ(again.title, "Der Zauberberg");
}
