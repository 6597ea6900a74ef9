// Recordset benchmark: prints "name: value unit" lines.
//   movenext_rate_100k           MoveNext with field reads over the all-copies result of the 100k catalogue
//   addnew_update_median/_p99    AddNew + Update of one row into a 100,000-row table (WAL, full sync)
//   edit_update_median/_p99      Edit + Update of one row there (the row is compared with the one Edit read)
//   sqlite_insert_fsync_median   the same one-row insert straight through SQLite's C API, same sync
//                                setting: the floor we measure ourselves against
// --small runs the same on veltrano.mdb and a small table (a smoke run).
#include "bench/BenchFixtures.h"
#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
}

const std::string kAllCopies = " SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG "
                               "AS AUTOR FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer ORDER BY "
                               "EXEMPLAR.EXEMPLARNUMMER";

void exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::cerr << "sqlite: " << (error ? error : "?") << "\n";
        sqlite3_free(error);
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const bool small = argc > 1 && std::string(argv[1]) == "--small";
    const std::string catalogue = bench::catalogueFile(small);
    const std::string suffix = small ? "_small" : "_100k";
    const long tableRows = small ? 1000 : 100000;
    const int inserts = small ? 20 : 200;

    const auto tmp = std::filesystem::temp_directory_path() / ("recordset_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(tmp);
    try {
        dao::DBEngine engine;
        {
            auto db = engine.openDatabase(catalogue);
            auto rs = db->openRecordset(kAllCopies, dao::dbOpenDynaset);
            long rows = 0;
            size_t bytes = 0;
            const auto start = Clock::now();
            for (; !rs->eof(); rs->moveNext(), ++rows)
                for (int i = 0; i < 3; ++i)
                    bytes += rs->value(i).bytes().size();
            const double seconds = msSince(start) / 1000.0;
            std::cout << "movenext_rate" << suffix << ": " << static_cast<long>(rows / seconds) << " rows/s\n";
            std::cout << "movenext_rows" << suffix << ": " << rows << " rows (" << bytes << " bytes read)\n";
        }

        // A table of tableRows entries, then one-row AddNew + Update, each its own durable write.
        const std::string path = (tmp / "inv.mdb").string();
        {
            auto db = engine.createDatabase(path, dao::dbLangGeneral);
            db->execute("CREATE TABLE inventur (IDX COUNTER PRIMARY KEY, NR LONG, Inventurliste LONG)", dao::dbFailOnError);
            db->execute("CREATE INDEX ListeNr ON inventur (Inventurliste, NR)", dao::dbFailOnError);
            db->beginTrans();
            for (long i = 0; i < tableRows; i += 1000) {
                std::string sql = "INSERT INTO inventur (NR, Inventurliste) SELECT TOP 1000 EXEMPLARNUMMER + " +
                                  std::to_string(i) + ", 1 FROM EXEMPLAR IN '" + catalogue + "'";
                db->execute(sql, dao::dbFailOnError);
            }
            db->commitTrans();
            auto rs = db->openRecordset("inventur", dao::dbOpenDynaset);
            std::vector<double> times;
            for (int i = 0; i < inserts; ++i) {
                const auto start = Clock::now();
                rs->addNew();
                rs->setValue("NR", dao::Variant(4711 + i));
                rs->setValue("Inventurliste", dao::Variant(2));
                rs->update();
                times.push_back(msSince(start));
            }
            std::cout << "addnew_update_median" << suffix << ": " << percentile(times, 0.5) << " ms\n";
            std::cout << "addnew_update_p99" << suffix << ": " << percentile(times, 0.99) << " ms\n";
            times.clear();
            rs->moveFirst();
            for (int i = 0; i < inserts; ++i, rs->moveNext()) {
                const auto start = Clock::now();
                rs->edit();
                rs->setValue("Inventurliste", dao::Variant(3));
                rs->update();
                times.push_back(msSince(start));
            }
            std::cout << "edit_update_median" << suffix << ": " << percentile(times, 0.5) << " ms\n";
            std::cout << "edit_update_p99" << suffix << ": " << percentile(times, 0.99) << " ms\n";
            db->close();
        }
        {
            sqlite3* db = nullptr;
            const std::string raw = (tmp / "raw.sqlite").string();
            sqlite3_open(raw.c_str(), &db);
            exec(db, "PRAGMA journal_mode = WAL");
            exec(db, "PRAGMA synchronous = FULL");
            exec(db, "CREATE TABLE inventur (IDX INTEGER PRIMARY KEY AUTOINCREMENT, NR INTEGER, Inventurliste INTEGER)");
            exec(db, "CREATE INDEX ListeNr ON inventur (Inventurliste, NR)");
            exec(db, ("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " +
                      std::to_string(tableRows) + ") INSERT INTO inventur (NR, Inventurliste) SELECT x, 1 FROM n")
                         .c_str());
            sqlite3_stmt* insert = nullptr;
            sqlite3_prepare_v2(db, "INSERT INTO inventur (NR, Inventurliste) VALUES (?1, 2)", -1, &insert, nullptr);
            std::vector<double> times;
            for (int i = 0; i < inserts; ++i) {
                const auto start = Clock::now();
                sqlite3_bind_int(insert, 1, 4711 + i);
                sqlite3_step(insert);
                sqlite3_reset(insert);
                times.push_back(msSince(start));
            }
            sqlite3_finalize(insert);
            sqlite3_close(db);
            std::cout << "sqlite_insert_fsync_median" << suffix << ": " << percentile(times, 0.5) << " ms\n";
        }
    } catch (const dao::DaoError& e) {
        std::cerr << "Error " << e.number() << ": " << e.what() << "\n";
        std::filesystem::remove_all(tmp);
        return 1;
    }
    std::filesystem::remove_all(tmp);
    return 0;
}
