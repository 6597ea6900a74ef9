// The missing-books query reaching the inventory database through its IN
// clause: a genuine Access inventory and one the engine made.
#include "EngineTestSupport.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

class MissingBooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        catalogue = engine.openDatabase(folder.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb").toStdString());
    }
    QJsonArray run(const std::string& inventory, const std::string& list)
    {
        auto rs = catalogue->openRecordset(missingBooksQuery(inventory, list), dao::dbOpenDynaset, 0,
                                           dao::dbOptimistic);
        return rowsOf(*rs);
    }
    testsupport::TempFolder folder;
    dao::DBEngine engine;
    std::shared_ptr<dao::Database> catalogue;
};

} // namespace

TEST_F(MissingBooks, AccessInventoryGivesTheListedBooksForBothLists)
{
    const std::string inv = folder.copyFixture("inventory/db_inv-sample.mdb", "db_inv.mdb").toStdString();
    EXPECT_EQ(run(inv, "1"), expectedMissingBooks(1));
    EXPECT_EQ(run(inv, "2"), expectedMissingBooks(2));
    EXPECT_EQ(expectedMissingBooks(1).size(), 38);
    EXPECT_EQ(expectedMissingBooks(2).size(), 64);
}

TEST_F(MissingBooks, EngineMadeInventoryGivesTheSameBooks)
{
    const std::string inv = folder.file("db_inv.mdb").toStdString();
    makeSampleInventory(engine, inv);
    EXPECT_EQ(run(inv, "1"), expectedMissingBooks(1));
    EXPECT_EQ(run(inv, "2"), expectedMissingBooks(2));
}

TEST_F(MissingBooks, AnEmptyListMissesEveryCopy)
{
    const std::string inv = folder.copyFixture("inventory/db_inv.mdb").toStdString();
    EXPECT_EQ(run(inv, "3"), expectedQueries().value("alle").toObject().value("rows").toArray());
}

TEST_F(MissingBooks, APathWithAQuoteIsDoubledAndStillFound)
{
    const std::string inv = folder.file("O'Brien inv.mdb").toStdString();
    makeSampleInventory(engine, inv);
    EXPECT_EQ(run(inv, "1").size(), 38);
}

TEST_F(MissingBooks, ANewCaptureInTheInventoryShowsInTheNextQuery)
{
    const std::string inv = folder.file("db_inv.mdb").toStdString();
    makeSampleInventory(engine, inv);
    EXPECT_EQ(run(inv, "2").size(), 64);
    auto inventory = engine.openDatabase(inv);
    inventory->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (2013, 2)", dao::dbFailOnError);
    const QJsonArray rows = run(inv, "2");
    EXPECT_EQ(rows.size(), 63);
    EXPECT_FALSE(rows.contains(QJsonArray{2013, "Momo", "Ende, Michael"}));
}

TEST_F(MissingBooks, WithoutAnActiveListTheQueryFailsWithJetsError)
{
    const std::string inv = folder.copyFixture("inventory/db_inv-sample.mdb").toStdString();
    try {
        run(inv, "");
        FAIL() << "a query ending in '=)' ran";
    } catch (const dao::DaoError& e) {
        EXPECT_GE(e.number(), 3000);
    }
}

TEST_F(MissingBooks, TheCaptureDuplicateTestCountsOnlyTheActiveList)
{
    const std::string inv = folder.file("db_inv.mdb").toStdString();
    makeSampleInventory(engine, inv);
    auto db = engine.openDatabase(inv);
    auto found = db->openRecordset(captureQuery("4711", "1"), dao::dbOpenDynaset, 0, dao::dbOptimistic);
    EXPECT_EQ(found->recordCount(), 1);
    EXPECT_EQ(found->value("NR").toLong(), 4711);
    auto twice = db->openRecordset(captureQuery("8", "2"));
    twice->moveLast();
    EXPECT_EQ(twice->recordCount(), 2);
    auto none = db->openRecordset(captureQuery("007", "3"));
    EXPECT_TRUE(none->bof() && none->eof());
    EXPECT_EQ(none->recordCount(), 0);
    try {
        db->openRecordset(captureQuery("", "1"));
        FAIL() << "an empty number ran";
    } catch (const dao::DaoError& e) {
        EXPECT_GE(e.number(), 3000);
    }
}

TEST_F(MissingBooks, AnAccessInventoryReplacedOnDiskIsReadAgain)
{
    const std::string inv = folder.copyFixture("inventory/db_inv-sample.mdb", "db_inv.mdb").toStdString();
    EXPECT_EQ(run(inv, "1").size(), 38);
    // The empty inventory of a fresh installation takes its place: list 1 is gone.
    folder.copyFixture("inventory/db_inv.mdb", "db_inv.mdb");
    EXPECT_EQ(run(inv, "1").size(), 67);
}

TEST_F(MissingBooks, AMissingInventoryOrTableGivesJetsErrors)
{
    try {
        run(folder.file("fehlt.mdb").toStdString(), "1");
        FAIL();
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), 3024);
    }
    const std::string other = folder.copyFixture("catalogue/veltrano.mdb", "other.mdb").toStdString();
    try {
        run(other, "1");
        FAIL();
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), 3078);
    }
}

TEST_F(MissingBooks, TheCatalogueConnectionWritesIntoAnEngineInventoryNamedByIn)
{
    const std::string inv = folder.file("db_inv.mdb").toStdString();
    makeSampleInventory(engine, inv);
    catalogue->execute("INSERT INTO inventur IN '" + inv
                           + "' (NR, Inventurliste) SELECT EXEMPLARNUMMER, 3 FROM EXEMPLAR WHERE EXEMPLARNUMMER < 10",
                       dao::dbFailOnError);
    EXPECT_EQ(catalogue->recordsAffected(), 9);
    EXPECT_EQ(run(inv, "3").size(), 67 - 9);
}
