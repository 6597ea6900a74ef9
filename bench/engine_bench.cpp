// Engine benchmark: prints "name: value unit" lines.
//   open_and_scan_all_copies_100k  open the 100k catalogue, run the all-copies check to its last row
//   missing_books_query_100k       the missing-books query against an engine-made inventory holding
//                                  90,000 of the copy numbers, to its last row (catalogue already open),
//                                  the median of five runs
//   missing_books_sqlite_100k      the same query written for SQLite and run straight on the tables the
//                                  engine loaded, every value read, the median of five runs taken in turn with
//                                  the engine's: the floor; and the ratio (target <= 1.2 x)
//   mdb_export_both_tables_100k    mdb-export of EXEMPLAR and TITEL, the yardstick for reading speed
//   peak_rss                       the process's peak resident set
// --small runs the same on veltrano.mdb (a smoke run). Fixtures: see BenchFixtures.h.
#include "bench/BenchFixtures.h"
#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/Storage.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sqlite3.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// User plus system CPU seconds of this process (who = RUSAGE_SELF) or its finished children.
double cpuSeconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
           + static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

const std::string kBase = " SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS "
                          "AUTOR FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer";

// Reads every row and field of a recordset; returns the row count.
long scan(dao::Recordset& rs)
{
    long rows = 0;
    size_t bytes = 0;
    const int width = rs.fields().count();
    while (!rs.eof()) {
        for (int i = 0; i < width; ++i)
            bytes += rs.value(i).bytes().size();
        ++rows;
        rs.moveNext();
    }
    return bytes == static_cast<size_t>(-1) ? -1 : rows;
}

// The missing-books query in SQLite's own words on the engine's connection,
// with the inventory attached: seconds to its last row, every value read.
double missingBooksInSqlite(sqlite3* db, const std::string& inventory, long& rows)
{
    const std::string attach = "ATTACH DATABASE '" + inventory + "' AS floor_inv";
    sqlite3_exec(db, attach.c_str(), nullptr, nullptr, nullptr);
    const auto start = Clock::now();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT e.EXEMPLARNUMMER, t.HAUPTTITEL, t.HAUPTEINTRAG FROM main.EXEMPLAR e, main.TITEL t "
                       "WHERE e.TITEL = t.Buchungsnummer AND e.EXEMPLARNUMMER NOT IN (SELECT NR FROM "
                       "floor_inv.inventur WHERE Inventurliste = 1) ORDER BY e.EXEMPLARNUMMER",
                       -1, &st, nullptr);
    size_t bytes = 0;
    rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        bytes += static_cast<size_t>(sqlite3_column_int64(st, 0) != 0);
        for (int i = 1; i < 3; ++i)
            if (sqlite3_column_text(st, i))
                bytes += static_cast<size_t>(sqlite3_column_bytes(st, i));
        ++rows;
    }
    sqlite3_finalize(st);
    const double seconds = secondsSince(start);
    sqlite3_exec(db, "DETACH DATABASE floor_inv", nullptr, nullptr, nullptr);
    if (bytes == static_cast<size_t>(-1))
        rows = -1;
    return seconds;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string quoted(const std::string& path)
{
    std::string out = "'";
    for (char c : path) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    return out + "'";
}

} // namespace

int main(int argc, char** argv)
{
    const bool small = argc > 1 && std::string(argv[1]) == "--small";
    const std::string catalogue = bench::catalogueFile(small);
    const std::string suffix = small ? "_small" : "_100k";
    const long inventorySize = small ? 60 : 90000;

    const auto tmp = std::filesystem::temp_directory_path() / ("engine_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(tmp);
    const std::string inventory = (tmp / "db_inv.mdb").string();

    try {
        dao::DBEngine engine;

        auto start = Clock::now();
        double cpuStart = cpuSeconds(RUSAGE_SELF);
        auto db = engine.openDatabase(catalogue);
        auto all = db->openRecordset(kBase + " ORDER BY EXEMPLAR.EXEMPLARNUMMER", dao::dbOpenDynaset, 0,
                                     dao::dbOptimistic);
        const long allRows = scan(*all);
        const double openScan = secondsSince(start);
        const double openScanCpu = cpuSeconds(RUSAGE_SELF) - cpuStart;
        std::cout << "open_and_scan_all_copies" << suffix << ": " << openScan << " s\n";
        std::cout << "open_and_scan_all_copies_cpu" << suffix << ": " << openScanCpu << " s\n";
        std::cout << "all_copies_rows" << suffix << ": " << allRows << " rows\n";

        // An engine-made inventory holding the first numbers of the catalogue in list 1.
        {
            auto inv = engine.createDatabase(inventory, dao::dbLangGeneral);
            inv->execute("CREATE TABLE inventurliste (IDX COUNTER PRIMARY KEY, Bezeichnung TEXT(50))",
                         dao::dbFailOnError);
            inv->execute("CREATE TABLE inventur (IDX COUNTER PRIMARY KEY, NR LONG, Inventurliste LONG)",
                         dao::dbFailOnError);
            inv->execute("CREATE INDEX ListeNr ON inventur (Inventurliste, NR)", dao::dbFailOnError);
            inv->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Benchmark')", dao::dbFailOnError);
            inv->execute("INSERT INTO inventur (NR, Inventurliste) SELECT TOP " + std::to_string(inventorySize)
                             + " EXEMPLARNUMMER, 1 FROM EXEMPLAR IN " + quoted(catalogue) + " ORDER BY EXEMPLARNUMMER",
                         dao::dbFailOnError);
            std::cout << "inventory_entries" << suffix << ": " << inv->recordsAffected() << " rows\n";
            inv->close();
        }

        // Both the median of five runs, taken in turn; the first engine run attaches the inventory.
        std::vector<double> engineTimes, floorTimes;
        long missingRows = 0, floorRows = 0;
        for (int run = 0; run < 5; ++run) {
            start = Clock::now();
            auto missing = db->openRecordset(kBase + " AND EXEMPLAR.EXEMPLARNUMMER NOT IN (SELECT inventur.NR FROM "
                                                     "inventur in " + quoted(inventory)
                                                  + " WHERE inventur.inventurliste =1) ORDER BY EXEMPLAR.EXEMPLARNUMMER",
                                              dao::dbOpenDynaset, 0, dao::dbOptimistic);
            missingRows = scan(*missing);
            engineTimes.push_back(secondsSince(start));
            missing->close();
            floorTimes.push_back(missingBooksInSqlite(db->storage()->db(), inventory, floorRows));
        }
        const double missingTime = median(engineTimes);
        const double floorTime = median(floorTimes);
        std::cout << "missing_books_query" << suffix << ": " << missingTime << " s (first run " << engineTimes[0]
                  << " s)\n";
        std::cout << "missing_books_rows" << suffix << ": " << missingRows << " rows\n";
        std::cout << "missing_books_sqlite" << suffix << ": " << floorTime << " s (" << floorRows << " rows)\n";
        std::cout << "missing_books_query_vs_sqlite" << suffix << ": " << missingTime / floorTime << " x\n";

        start = Clock::now();
        const double childStart = cpuSeconds(RUSAGE_CHILDREN);
        int rc = 0;
        for (const char* table : {"EXEMPLAR", "TITEL"})
            rc |= std::system(("mdb-export '" + catalogue + "' " + table + " > /dev/null").c_str());
        const double exportTime = secondsSince(start);
        const double exportCpu = cpuSeconds(RUSAGE_CHILDREN) - childStart;
        if (rc == 0) {
            std::cout << "mdb_export_both_tables" << suffix << ": " << exportTime << " s\n";
            std::cout << "mdb_export_both_tables_cpu" << suffix << ": " << exportCpu << " s\n";
            std::cout << "open_and_scan_vs_mdb_export" << suffix << ": " << openScan / exportTime << " x\n";
            std::cout << "open_and_scan_vs_mdb_export_cpu" << suffix << ": " << openScanCpu / exportCpu << " x\n";
        }
    } catch (const dao::DaoError& e) {
        std::cerr << "Error " << e.number() << ": " << e.what() << "\n";
        std::filesystem::remove_all(tmp);
        return 1;
    }
    std::filesystem::remove_all(tmp);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::cout << "peak_rss: " << usage.ru_maxrss / 1024.0 << " MB\n";
    return 0;
}
