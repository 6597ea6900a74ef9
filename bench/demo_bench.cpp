// Demo catalogue benchmark: prints "name: value unit" lines.
//   demo_catalogue_1m              s to write the demo catalogue with 1,000,000 copies (wall clock)
//   demo_catalogue_cpu_1m          s of processor time for it
//   demo_catalogue_size_1m         MB of the file
//   sqlite_insert_floor_1m         s to insert as many rows of constant values into plain SQLite tables
//                                  with the same columns and indexes (the floor: SQLite's own cost)
//   demo_catalogue_vs_floor_1m     ratio of the two wall-clock figures
// --small does the same with 20,000 copies (a smoke run).
#include "app/DemoCatalogue.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <ctime>
#include <iostream>
#include <sqlite3.h>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }
double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

void exec(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
}

// The same number of title and copy rows, constant values, straight into SQLite.
double floorSeconds(const std::string& path, long titles, long copies)
{
    const auto start = Clock::now();
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    exec(db, "PRAGMA journal_mode = OFF");
    exec(db, "PRAGMA synchronous = OFF");
    exec(db, "CREATE TABLE t (a INTEGER, b TEXT, c TEXT, d TEXT, e INTEGER, f REAL)");
    exec(db, "CREATE TABLE e (a INTEGER, b INTEGER, c TEXT, d REAL, e INTEGER)");
    exec(db, "BEGIN");
    sqlite3_stmt* t = nullptr;
    sqlite3_stmt* e = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t VALUES (?1, ?2, ?3, ?4, ?5, ?6)", -1, &t, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO e VALUES (?1, ?2, ?3, ?4, ?5)", -1, &e, nullptr);
    const std::string title = "Die verlorene Mühle am Bodensee";
    const std::string author = "Köhler, Bärbel";
    const std::string publisher = "Edition Sonnenblume";
    for (long i = 1; i <= titles; ++i) {
        sqlite3_bind_int(t, 1, int(i));
        sqlite3_bind_text(t, 2, title.data(), int(title.size()), SQLITE_STATIC);
        sqlite3_bind_text(t, 3, author.data(), int(author.size()), SQLITE_STATIC);
        sqlite3_bind_text(t, 4, publisher.data(), int(publisher.size()), SQLITE_STATIC);
        sqlite3_bind_int(t, 5, 1990);
        sqlite3_bind_double(t, 6, 45000.5);
        sqlite3_step(t);
        sqlite3_reset(t);
    }
    for (long i = 1; i <= copies; ++i) {
        sqlite3_bind_int(e, 1, int(i));
        sqlite3_bind_int(e, 2, int(1 + (i * 7919) % titles));
        sqlite3_bind_text(e, 3, "Magazin", 7, SQLITE_STATIC);
        sqlite3_bind_double(e, 4, 12.95);
        sqlite3_bind_int(e, 5, 0);
        sqlite3_step(e);
        sqlite3_reset(e);
    }
    sqlite3_finalize(t);
    sqlite3_finalize(e);
    exec(db, "CREATE UNIQUE INDEX t_a ON t (a)");
    exec(db, "CREATE UNIQUE INDEX e_a ON e (a)");
    exec(db, "CREATE INDEX e_b ON e (b)");
    exec(db, "COMMIT");
    sqlite3_close(db);
    return secondsSince(start);
}

} // namespace

int main(int argc, char** argv)
{
    const bool small = argc > 1 && std::string(argv[1]) == "--small";
    const long copies = small ? 20000 : 1000000;
    const std::string suffix = small ? "_small" : "_1m";
    QTemporaryDir dir;
    try {
        const QString path = dir.filePath("Demo-Katalog.mdb");
        const double cpu0 = cpuSeconds();
        const auto start = Clock::now();
        const demo::DemoCatalogueSize size = demo::CreateDemoCatalogue(path, copies);
        const double wall = secondsSince(start);
        const double cpu = cpuSeconds() - cpu0;
        const double floor = floorSeconds(dir.filePath("floor.db").toStdString(), size.titles, size.copies);
        std::cout << "demo_catalogue" << suffix << ": " << wall << " s (" << size.copies << " copies, " << size.titles
                  << " titles)\n";
        std::cout << "demo_catalogue_cpu" << suffix << ": " << cpu << " s\n";
        std::cout << "demo_catalogue_size" << suffix << ": " << double(QFileInfo(path).size()) / 1e6 << " MB\n";
        std::cout << "sqlite_insert_floor" << suffix << ": " << floor << " s\n";
        std::cout << "demo_catalogue_vs_floor" << suffix << ": " << wall / floor << " x\n";
    } catch (const std::exception& e) {
        std::cerr << "demo_bench: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
