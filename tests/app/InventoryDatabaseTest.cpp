#include "app/InventoryDatabase.h"
#include "engine/DBEngine.h"
#include "engine/DaoError.h"
#include "engine/Database.h"
#include "engine/FileFormat.h"
#include "engine/Recordset.h"
#include "tests/support/EngineRows.h"
#include "tests/support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using testsupport::TempFolder;

namespace {

std::vector<std::vector<long>> rows(const QString& path, const std::string& sql)
{
    dao::DBEngine engine;
    auto db = engine.openDatabase(path.toStdString());
    auto rs = db->openRecordset(sql, 4);
    std::vector<std::vector<long>> out;
    for (; !rs->eof(); rs->moveNext()) {
        std::vector<long> row;
        for (int i = 0; i < rs->fields().count(); ++i)
            row.push_back(rs->value(i).isNull() ? -1 : long(rs->value(i).toInt64()));
        out.push_back(row);
    }
    return out;
}

} // namespace

TEST(InventoryDatabase, EmptyInventoryHasBothTablesAndNeverOverwrites)
{
    TempFolder dir;
    inventory::CreateEmptyInventory(dir.file("db_inv.mdb"));
    EXPECT_EQ(dao::detectFileFormat(dir.file("db_inv.mdb").toStdString()), dao::FileFormat::Sqlite);
    EXPECT_TRUE(rows(dir.file("db_inv.mdb"), "SELECT * FROM inventurliste").empty());
    EXPECT_TRUE(rows(dir.file("db_inv.mdb"), "SELECT * FROM inventur").empty());
    const QByteArray before = dir.read("db_inv.mdb");
    EXPECT_THROW(inventory::CreateEmptyInventory(dir.file("db_inv.mdb")), dao::DaoError);
    EXPECT_EQ(dir.read("db_inv.mdb"), before);
}

TEST(InventoryDatabase, AnAccessInventoryIsCarriedOverAndTheOriginalKept)
{
    TempFolder dir;
    const QString path = dir.copyFixture("inventory/db_inv-sample.mdb", "db_inv.mdb");
    const QByteArray original = dir.read("db_inv.mdb");
    const auto result = inventory::CarryOverAccessInventory(path);
    ASSERT_TRUE(result.carriedOver);
    EXPECT_EQ(result.lists, 2);
    EXPECT_EQ(result.entries, 35);
    EXPECT_EQ(result.originalKeptAs, dir.file("db_inv (Access-Original).mdb"));
    EXPECT_EQ(dir.read("db_inv (Access-Original).mdb"), original) << "the original stays untouched";
    EXPECT_EQ(dao::detectFileFormat(path.toStdString()), dao::FileFormat::Sqlite);

    const auto lists = rows(path, "SELECT IDX FROM inventurliste ORDER BY IDX");
    EXPECT_EQ(lists, (std::vector<std::vector<long>>{{1}, {2}}));
    const auto list2 = rows(path, "SELECT IDX, NR FROM inventur WHERE Inventurliste = 2 ORDER BY IDX");
    EXPECT_EQ(list2, (std::vector<std::vector<long>>{{31, 4711}, {32, 999999}, {33, 8}, {34, 1003}, {35, 8}}));
    EXPECT_EQ(rows(path, "SELECT NR FROM inventur WHERE IDX = 18"), (std::vector<std::vector<long>>{{2147483647}}));

    // New rows continue after the carried-over counters.
    {
        dao::DBEngine engine;
        auto db = engine.openDatabase(path.toStdString());
        db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('neu')");
        db->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (1, 3)");
    }
    EXPECT_EQ(rows(path, "SELECT MAX(IDX) FROM inventurliste"), (std::vector<std::vector<long>>{{3}}));
    EXPECT_EQ(rows(path, "SELECT MAX(IDX) FROM inventur"), (std::vector<std::vector<long>>{{36}}));

    EXPECT_FALSE(inventory::CarryOverAccessInventory(path).carriedOver) << "an engine database stays as it is";
    EXPECT_TRUE(inventory::CarryOverMessage(result).contains(QStringLiteral("2 Inventurlisten mit 35 Buch-Nummern")));
}

TEST(InventoryDatabase, AnAccessInventoryInAFolderWithQuotesIsCarriedOver)
{
    TempFolder dir;
    QDir().mkpath(dir.file("O'Brien [Bücherei] \"Nord\""));
    const QString path = dir.copyFixture("inventory/db_inv-sample.mdb", "O'Brien [Bücherei] \"Nord\"/db_inv.mdb");
    const auto result = inventory::CarryOverAccessInventory(path);
    ASSERT_TRUE(result.carriedOver);
    EXPECT_EQ(result.entries, 35);
    EXPECT_EQ(rows(path, "SELECT COUNT(*) FROM inventur"), (std::vector<std::vector<long>>{{35}}));
}

TEST(InventoryDatabase, AFailedCarryOverLeavesTheOriginalInPlace)
{
    TempFolder dir;
    const QString path = dir.copyFixture("inventory/db_inv-sample.mdb", "db_inv.mdb");
    QDir().mkpath(dir.file("db_inv.mdb.new")); // the new database cannot be made
    EXPECT_ANY_THROW(inventory::CarryOverAccessInventory(path));
    EXPECT_EQ(dao::detectFileFormat(path.toStdString()), dao::FileFormat::Jet);
    EXPECT_FALSE(dir.exists("db_inv (Access-Original).mdb"));
}

// An inventory database as the program made it before lists kept a
// location: the table is added, lists and entries stay as they were.
TEST(InventoryDatabase, AnOlderEngineInventoryIsCarriedForwardOnce)
{
    TempFolder dir;
    const QString path = dir.file("db_inv.mdb");
    testsupport::createDatabase(path, {"CREATE TABLE inventurliste (IDX COUNTER PRIMARY KEY, Bezeichnung TEXT(50))",
                                       "CREATE TABLE inventur (IDX COUNTER PRIMARY KEY, NR LONG, Inventurliste LONG)",
                                       "CREATE INDEX ListeNr ON inventur (Inventurliste, NR)",
                                       "INSERT INTO inventurliste (Bezeichnung) VALUES ('alt')",
                                       "INSERT INTO inventur (NR, Inventurliste) VALUES (4711, 1)"});
    {
        dao::DBEngine engine;
        auto db = engine.openDatabase(path.toStdString());
        EXPECT_TRUE(inventory::CarryForward(*db));
        EXPECT_FALSE(inventory::CarryForward(*db)) << "nothing left to add";
    }
    EXPECT_EQ(rows(path, "SELECT IDX, NR, Inventurliste FROM inventur"), (std::vector<std::vector<long>>{{1, 4711, 1}}));
    EXPECT_EQ(rows(path, "SELECT IDX FROM inventurliste"), (std::vector<std::vector<long>>{{1}}));
    EXPECT_TRUE(rows(path, "SELECT * FROM inventurstandort").empty());

    // A new empty database has the table from the start.
    inventory::CreateEmptyInventory(dir.file("neu.mdb"));
    dao::DBEngine engine;
    EXPECT_FALSE(inventory::CarryForward(*engine.openDatabase(dir.file("neu.mdb").toStdString())));
}
