#include "stocktaking/MissingBooksQuery.h"
#include "tests/support/EngineRows.h"
#include "tests/support/InventoryTables.h"
#include "tests/support/TempFolder.h"

#include "engine/DBEngine.h"
#include "engine/Database.h"

#include <QDir>
#include <QJsonValue>
#include <set>
#include <gtest/gtest.h>

using testsupport::TempFolder;

namespace {

// The rows of all copies, without those whose numbers are given.
QJsonArray allCopiesExcept(const std::set<long long>& numbers)
{
    QJsonArray out;
    for (const QJsonValue& row : testsupport::expectedCatalogueQueries()["alle"].toObject()["rows"].toArray())
        if (!numbers.count(row.toArray()[0].toInteger()))
            out.append(row);
    return out;
}

const std::set<long long> kList1 = {4711, 1,    2,    3,    5,    8,    9,    10,   11,  12,  21, 22, 1000, 1001, 1002,
                                    1003, 1004, 2147483647, 37, 2000, 2001, 2002, 2003, 500, 501, 24, 25, 26, 13, 14};
const std::set<long long> kList2 = {4711, 999999, 8, 1003};

} // namespace

TEST(MissingBooksQuery, TextIsBuiltFromItsPiecesWithTheQuoteDoubled)
{
    EXPECT_TRUE(MissingBooksQuery("C:\\Inventur\\db_inv.mdb", "3")
                    .endsWith("'C:\\Inventur\\db_inv.mdb' WHERE inventur.inventurliste =3) ORDER BY "
                              "EXEMPLAR.EXEMPLARNUMMER"));
    EXPECT_TRUE(MissingBooksQuery("/x/O'Brien/db_inv.mdb", "1").contains("in '/x/O''Brien/db_inv.mdb' WHERE"));
    EXPECT_TRUE(MissingBooksQuery("/x/db_inv.mdb", "1").startsWith(" SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,"));
}

TEST(MissingBooksQuery, AccessInventoryGivesTheDocumentedMissingBooks)
{
    TempFolder dir;
    const QString catalogue = dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb");
    const QString inventory = dir.copyFixture("inventory/db_inv-sample.mdb", "db_inv.mdb");
    const QJsonArray list1 = testsupport::queryRows(catalogue, MissingBooksQuery(inventory, "1"));
    EXPECT_EQ(list1.size(), 38);
    EXPECT_EQ(list1, allCopiesExcept(kList1));
    const QJsonArray list2 = testsupport::queryRows(catalogue, MissingBooksQuery(inventory, "2"));
    EXPECT_EQ(list2.size(), 64);
    EXPECT_EQ(list2, allCopiesExcept(kList2));
}

TEST(MissingBooksQuery, EngineInventoryInAFolderWithAQuote)
{
    TempFolder dir;
    QDir(dir.path()).mkpath("O'Brien");
    const QString catalogue = dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb");
    const QString inventory = dir.file("O'Brien/db_inv.mdb");
    testsupport::createInventoryTables(inventory);
    {
        dao::DBEngine engine;
        auto db = engine.openDatabase(inventory.toStdString());
        db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('leer')");
        db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('alle')");
        for (const QJsonValue& row : testsupport::expectedCatalogueQueries()["alle"].toObject()["rows"].toArray())
            db->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (" +
                        std::to_string(row.toArray()[0].toInteger()) + ", 2)");
        db->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (999999, 2)");
        db->close();
    }
    EXPECT_EQ(testsupport::queryRows(catalogue, MissingBooksQuery(inventory, "1")), allCopiesExcept({}))
        << "an empty list misses every copy";
    EXPECT_TRUE(testsupport::queryRows(catalogue, MissingBooksQuery(inventory, "2")).isEmpty())
        << "a list of every number misses none; numbers not in the catalogue change nothing";
}
