#include "tests/support/InventoryTables.h"
#include "stocktaking/CaptureProgress.h"
#include "stocktaking/CatalogueLocations.h"
#include "stocktaking/CatalogueLookup.h"
#include "stocktaking/ListLocations.h"
#include "stocktaking/MissingBooksQuery.h"
#include "stocktaking/ScanResult.h"
#include "tests/support/EngineRows.h"
#include "tests/support/TempFolder.h"

#include "engine/DBEngine.h"
#include "engine/Database.h"

#include <algorithm>
#include <gtest/gtest.h>

using lists::Location;
using testsupport::TempFolder;

namespace {

// Copies of the small catalogue by location (veltrano.md), those the checks list.
const QList<int> kMagazin = {1, 7, 19, 25, 31, 1009, 2005, 2011, 4711, 2147483647};
const QList<int> kOhneStandort = {3, 13, 23, 33, 503, 1003, 2003, 2013};

// The numbers of the first column.
QList<int> numbers(const QJsonArray& rows)
{
    QList<int> out;
    for (const QJsonValue& row : rows)
        out << int(row.toArray()[0].toDouble());
    return out;
}

QList<int> without(QList<int> numbers, const QList<int>& recorded)
{
    numbers.removeIf([&](int n) { return recorded.contains(n); });
    return numbers;
}

} // namespace

TEST(CatalogueLocations, TheSmallCatalogueHasSixInJetOrder)
{
    TempFolder dir;
    dao::DBEngine engine;
    auto catalogue = engine.openDatabase(dir.copyFixture("catalogue/veltrano.mdb").toStdString());
    EXPECT_EQ(lists::CatalogueLocations(*catalogue),
              (QStringList{"Freihand A-Z", QStringLiteral("Kinderbücherei"), "Lesesaal", "Magazin",
                           QStringLiteral("Präsenz"), "Studienraum 2"}));
}

// Spellings that differ only in case are one location for Jet, and umlauts
// sort with their letter, not after "z" as their codes would.
TEST(CatalogueLocations, SpellingsAreMergedAndSortedAsJetComparesText)
{
    TempFolder dir;
    testsupport::createDatabase(
        dir.file("katalog.mdb"),
        {"CREATE TABLE EXEMPLAR (EXEMPLARNUMMER LONG, TITEL LONG, STANDORT TEXT(30))",
         "INSERT INTO EXEMPLAR VALUES (1, 1, 'Magazin')", "INSERT INTO EXEMPLAR VALUES (2, 1, 'MAGAZIN')",
         "INSERT INTO EXEMPLAR VALUES (3, 1, 'Zeitschriften')", QStringLiteral("INSERT INTO EXEMPLAR VALUES (4, 1, 'Ärzte')"),
         "INSERT INTO EXEMPLAR VALUES (5, 1, 'Bestand ''alt''')", "INSERT INTO EXEMPLAR VALUES (6, 1, '')",
         "INSERT INTO EXEMPLAR VALUES (7, 1, Null)", "INSERT INTO EXEMPLAR VALUES (Null, 1, 'Nirgends')",
         "INSERT INTO EXEMPLAR VALUES (8, 1, 'magazin')"});
    dao::DBEngine engine;
    auto catalogue = engine.openDatabase(dir.file("katalog.mdb").toStdString());
    const QStringList locations = lists::CatalogueLocations(*catalogue);
    ASSERT_EQ(locations.size(), 4) << locations.join('|').toStdString();
    EXPECT_EQ(locations[0], QStringLiteral("Ärzte"));
    EXPECT_EQ(locations[1], "Bestand 'alt'");
    EXPECT_EQ(locations[2].toLower(), "magazin");
    EXPECT_EQ(locations[3], "Zeitschriften");
}

TEST(LocationQueries, EveryCopyGivesTheMissingBooksQueryUnchanged)
{
    EXPECT_EQ(MissingBooksQuery("C:\\Inventur\\db_inv.mdb", "3", Location()),
              " SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS AUTOR FROM "
              "EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer AND EXEMPLAR.EXEMPLARNUMMER NOT IN (SELECT "
              "inventur.NR FROM inventur in 'C:\\Inventur\\db_inv.mdb' WHERE inventur.inventurliste =3) ORDER BY "
              "EXEMPLAR.EXEMPLARNUMMER");
    EXPECT_EQ(Location().Caption("fehlende Bücher"), "fehlende Bücher");
    EXPECT_EQ(Location::Named("Magazin").Caption("fehlende Bücher"), "fehlende Bücher (Standort: Magazin)");
    EXPECT_EQ(Location::Without().Caption("fehlende Bücher"), "fehlende Bücher (ohne Standort)");
}

// The sample inventory's list 1 against the small catalogue: what is missing
// at a location, what was recorded elsewhere, and that the progress counts
// agree with both.
TEST(LocationQueries, ReportMisplacedCopiesAndProgressAgreeOnTheSampleList)
{
    TempFolder dir;
    const QString catalogue = dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb");
    const QString inventory = dir.copyFixture("inventory/db_inv-sample.mdb", "db_inv.mdb");
    const QList<int> list1 = numbers(testsupport::queryRows(inventory, "SELECT NR FROM inventur WHERE Inventurliste = 1"));
    dao::DBEngine engine;
    auto catalogueDb = engine.openDatabase(catalogue.toStdString());
    auto inventoryDb = engine.openDatabase(inventory.toStdString());
    capture::CatalogueLookup lookup(catalogueDb);
    capture::CaptureProgress progress;

    const Location magazin = Location::Named("Magazin");
    const QJsonArray missing = testsupport::queryRows(catalogue, MissingBooksQuery(inventory, "1", magazin));
    EXPECT_EQ(numbers(missing), without(kMagazin, list1));
    progress.SetCatalogue(lookup.CopyNumbers(magazin.Condition()));
    progress.SetList(1, capture::ListNumbers(*inventoryDb, 1));
    EXPECT_EQ(progress.Copies(), kMagazin.size());
    EXPECT_EQ(progress.Missing(), missing.size());

    // The list's copies of the catalogue that are not among here, by number.
    const auto recordedOutside = [&](const QList<int>& here) {
        QList<int> outside;
        for (int n : list1)
            if (!here.contains(n) && lookup.Find(n))
                outside << n;
        std::sort(outside.begin(), outside.end());
        return outside;
    };
    const auto finding = [&](qint32 number) {
        return capture::DescribeScan(lookup, number, capture::Outcome::Stored,
                                     [&](qint32 n) { return progress.HasCopy(n); })
            .finding;
    };

    // Recorded copies of other locations, with where they stand (null: nowhere).
    const QJsonArray elsewhere = testsupport::queryRows(catalogue, MisplacedCopiesQuery(inventory, "1", magazin));
    EXPECT_EQ(numbers(elsewhere), recordedOutside(kMagazin));
    EXPECT_EQ(elsewhere[0].toArray(), (QJsonArray{2, "Die Leiden des jungen Werthers", "Goethe, Johann Wolfgang von",
                                                   "Lesesaal"}));
    EXPECT_EQ(elsewhere[1].toArray()[3], QJsonValue()) << "copy 3 has no location";
    EXPECT_EQ(finding(2), capture::Finding::Misplaced);
    EXPECT_EQ(finding(4711), capture::Finding::Found);
    EXPECT_EQ(finding(37), capture::Finding::Unknown) << "a copy whose title is missing is no copy";

    // The copies without a location; there, copies with one stand elsewhere.
    const QJsonArray unplaced =
        testsupport::queryRows(catalogue, MissingBooksQuery(inventory, "1", Location::Without()));
    EXPECT_EQ(numbers(unplaced), without(kOhneStandort, list1));
    const QJsonArray placed =
        testsupport::queryRows(catalogue, MisplacedCopiesQuery(inventory, "1", Location::Without()));
    EXPECT_EQ(numbers(placed), recordedOutside(kOhneStandort));
}

TEST(ListLocations, EachListKeepsItsOwnAndEveryCopyStoresNothing)
{
    TempFolder dir;
    testsupport::createInventoryTables(dir.file("db_inv.mdb"));
    dao::DBEngine engine;
    auto db = engine.openDatabase(dir.file("db_inv.mdb").toStdString());
    lists::CreateLocationTable(*db);
    EXPECT_EQ(lists::StoredLocation(*db, 1), Location());
    lists::StoreLocation(*db, 1, Location::Named("Bestand 'alt'"));
    lists::StoreLocation(*db, 2, Location::Without());
    lists::StoreLocation(*db, 1, Location::Named("Magazin"));
    EXPECT_EQ(lists::StoredLocation(*db, 1), Location::Named("Magazin"));
    EXPECT_EQ(lists::StoredLocation(*db, 2), Location::Without());
    lists::StoreLocation(*db, 2, Location());
    EXPECT_EQ(testsupport::queryRows(dir.file("db_inv.mdb"), "SELECT Inventurliste, Standort FROM inventurstandort"),
              (QJsonArray{QJsonArray{1, "Magazin"}}));
}
