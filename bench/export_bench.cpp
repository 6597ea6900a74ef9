// Export benchmark: prints "name: value unit" lines.
//   export_read_floor_100k        the export's SELECT (the copies joined to their titles, eight columns)
//                                 read to its last row and value through a forward-only recordset: the
//                                 reading every export does, measured in the same run
//   export_<format>_100k          SELECT … INTO … IN … writing those rows as text, HTML, Excel 5.0
//                                 (xls5), Excel 97 (xls8), Paradox 7, dBase IV, Visual FoxPro (foxpro30)
//                                 and a table of a new engine database (engine_table)
//   export_<format>_vs_floor_100k the ratio of the two
//   export_rows_100k              rows each export wrote
//   export_peak_rss               the process's peak resident set
// Each figure is the best of three runs (the machine may be shared). The catalogue is read into the
// engine once before the timings. --small runs the same on veltrano.mdb (a smoke run).
// Fixtures: as bench/BenchFixtures.h finds them.
#include "bench/BenchFixtures.h"
#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

const std::string kFields = "SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR, TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS AUTOR, "
                            "EXEMPLAR.STANDORT, EXEMPLAR.PREIS, EXEMPLAR.AUSGELIEHEN, TITEL.ERFASST, TITEL.JAHR";
const std::string kFrom = " FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer ORDER BY EXEMPLAR.EXEMPLARNUMMER";

// Best of three runs of work, each after prepare (which is not timed).
double bestOfThree(const std::function<void(int)>& prepare, const std::function<void(int)>& work)
{
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        prepare(run);
        const auto start = Clock::now();
        work(run);
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

struct Target {
    const char* name;
    std::function<std::string(const fs::path& folder)> into; // the INTO part for a fresh folder
};

} // namespace

int main(int argc, char** argv)
{
    const bool small = argc > 1 && std::string(argv[1]) == "--small";
    const std::string catalogue = bench::catalogueFile(small);
    const std::string suffix = small ? "_small" : "_100k";
    const fs::path tmp = fs::temp_directory_path() / ("export_bench_" + std::to_string(getpid()));
    fs::create_directories(tmp);

    const Target targets[] = {
        {"text", [](const fs::path& f) { return "[katalog#csv] IN \"" + f.string() + "\"[Text;]"; }},
        {"html", [](const fs::path& f) { return "[katalog.html] IN \"" + f.string() + "\"[HTML Export;]"; }},
        {"xls5", [](const fs::path& f) { return "[Katalog] IN \"" + (f / "katalog.xls").string() + "\"[Excel 5.0;]"; }},
        {"xls8", [](const fs::path& f) { return "[Katalog] IN \"" + (f / "katalog.xls").string() + "\"[Excel 8.0;]"; }},
        {"paradox7", [](const fs::path& f) { return "[katalog.db] IN \"" + f.string() + "\"[Paradox 7.X;]"; }},
        {"dbase4", [](const fs::path& f) { return "[katalog.dbf] IN \"" + f.string() + "\"[dBase IV;]"; }},
        {"foxpro30", [](const fs::path& f) { return "[katalog.dbf] IN \"" + f.string() + "\"[FoxPro 3.0;]"; }},
        {"engine_table", [](const fs::path& f) { return "[" + (f / "ziel.mdb").string() + "].[Katalog]"; }},
    };

    int status = 0;
    try {
        dao::DBEngine engine;
        auto db = engine.openDatabase(catalogue);
        // Reads both tables into the engine, so that every timing below starts alike.
        db->openRecordset("SELECT COUNT(*) FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer",
                          dao::dbOpenSnapshot);

        long rows = 0;
        const double floor = bestOfThree([](int) {}, [&](int) {
            auto rs = db->openRecordset(kFields + kFrom, dao::dbOpenForwardOnly);
            const int width = rs->fields().count();
            size_t bytes = 0;
            rows = 0;
            while (!rs->eof()) {
                for (int i = 0; i < width; ++i)
                    bytes += rs->value(i).bytes().size();
                ++rows;
                rs->moveNext();
            }
            if (bytes == size_t(-1))
                rows = -1;
        });
        std::cout << "export_read_floor" << suffix << ": " << floor << " s\n";

        for (const Target& t : targets) {
            long written = 0;
            const double seconds = bestOfThree(
                [&](int run) { fs::create_directories(tmp / (std::string(t.name) + std::to_string(run))); },
                [&](int run) {
                    db->execute(kFields + " INTO " + t.into(tmp / (std::string(t.name) + std::to_string(run))) + kFrom,
                                dao::dbFailOnError);
                    written = db->recordsAffected();
                });
            std::cout << "export_" << t.name << suffix << ": " << seconds << " s\n";
            std::cout << "export_" << t.name << "_vs_floor" << suffix << ": " << seconds / floor << " x\n";
            if (written != rows) {
                std::cerr << "export_bench: " << t.name << " wrote " << written << " of " << rows << " rows\n";
                status = 1;
            }
        }
        std::cout << "export_rows" << suffix << ": " << rows << " rows\n";
    } catch (const dao::DaoError& e) {
        std::cerr << "export_bench failed: Error " << e.number() << ": " << e.what() << "\n";
        status = 1;
    }
    fs::remove_all(tmp);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::cout << "export_peak_rss" << (small ? "_small" : "") << ": " << usage.ru_maxrss / 1024.0 << " MB\n";
    return status;
}
