// Report benchmark: prints "name: value unit" lines.
//   missing_report_html_100k   s for the missing-books query and the HTML export of its result on the
//                              100,000-copy catalogue with 90,000 of its numbers recorded in the list
//   missing_report_rows        rows in the exported report (a check of the figure above)
//   report_sort_by_title_100k  s to re-sort the open result by title, descending (the sort button's OK)
//   sorted_report_html_100k    s for the HTML export of the sorted result, rows in that order
//   unsorted_export_html_100k  s for the same export unsorted, measured in the same run (the floor)
//   sorted_vs_unsorted_export_100k  the ratio of the two exports
//   missing_report_html_location_100k  s for the query narrowed to one location ("Lesesaal", 16,658 copies)
//                              and the HTML export of its result, on a connection of its own as the first
//                              figure had (target <= 1 s)
//   location_report_rows       rows in that report
//   location_vs_all_report_100k  its ratio to missing_report_html_100k, the floor
//   location_list_100k         ms to read the catalogue's locations for the choice "Standort:" once the copies'
//                              tables are read, as the tab "Inventur" finds them at its first showing
//                              (target <= 100 ms)
//   copy_numbers_100k          ms for a read of all copy numbers as the progress line makes it, on the
//                              same read tables: one plain pass over the copies, the floor; and the ratio
//   location_list_cold_100k    ms for the locations on a connection whose tables are still in the file
// --small runs the same on the small catalogue with all but 10 of its numbers recorded (a smoke run).
#include "bench/BenchFixtures.h"
#include "app/InventoryDatabase.h"
#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "stocktaking/CatalogueLocations.h"
#include "stocktaking/CatalogueLookup.h"
#include "stocktaking/MissingBooksQuery.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <iostream>

namespace {

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A connection to the catalogue as the main window makes it.
std::unique_ptr<TVoDaoDatabase> connectCatalogue(const QString& path)
{
    auto db = std::make_unique<TVoDaoDatabase>("DB_Veltrano");
    db->SetVersion("3.6");
    db->SetDatabase(path);
    db->SetConnected(true);
    return db;
}

// Runs a report query on table and exports its result; the seconds both take.
double runReport(TVoDaoTable& table, const QString& sql, const QString& file)
{
    const auto start = Clock::now();
    table.SetSQL(sql);
    table.Open();
    table.ExportToHTML(file, false, true);
    return secondsSince(start);
}

// Rows of an HTML report, the header row left out.
long reportRows(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll().toLower().count("<tr") - 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication qt(argc, argv);
    const bool small = argc > 1 && QString(argv[1]) == "--small";
    const QString fixtures = QString::fromStdString(bench::fixturesFolder());
    const QString catalogueName = small ? "veltrano.mdb" : "veltrano-100k.mdb";
    const long recorded = small ? 57 : 90000;
    const std::string suffix = small ? "_small" : "";

    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    const QString catalogue = folder + "db_Vel.mdb";
    const QString inventoryPath = folder + "db_inv.mdb";
    QFile::copy(fixtures + "/catalogue/" + catalogueName, catalogue);
    try {
        inventory::CreateEmptyInventory(inventoryPath);
        {
            dao::DBEngine engine;
            auto db = engine.openDatabase(inventoryPath.toStdString());
            db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Benchmark')");
            db->execute("INSERT INTO inventur (NR, Inventurliste) SELECT TOP " + std::to_string(recorded) +
                        " EXEMPLARNUMMER, 1 FROM EXEMPLAR IN '" + catalogue.toStdString() +
                        "' ORDER BY EXEMPLARNUMMER");
            db->close();
        }

        TApplication app{std::make_unique<RecordingInteraction>()};
        const auto db = connectCatalogue(catalogue);
        TVoDaoTable table{"TB_Veltrano"};
        table.SetDatabase(db.get());
        table.SetReadOnly(true);

        const QString report = folder + "Inventur vom 06.12.2026.html";
        const double seconds = runReport(table, MissingBooksQuery(inventoryPath, "1"), report);

        const long rows = reportRows(report);
        std::cout << "missing_report_html_100k" << suffix << ": " << seconds << " s\n";
        std::cout << "missing_report_rows" << suffix << ": " << rows << " rows\n";

        auto exportSeconds = [&] {
            const auto began = Clock::now();
            table.ExportToHTML(report, false, true);
            return secondsSince(began);
        };
        const double unsorted = exportSeconds();
        const auto sortStart = Clock::now();
        table.SetSortedBy(QStringLiteral("[TITEL] DESC"));
        const double sortSeconds = secondsSince(sortStart);
        const double sorted = exportSeconds();
        std::cout << "report_sort_by_title_100k" << suffix << ": " << sortSeconds << " s\n";
        std::cout << "sorted_report_html_100k" << suffix << ": " << sorted << " s\n";
        std::cout << "unsorted_export_html_100k" << suffix << ": " << unsorted << " s\n";
        std::cout << "sorted_vs_unsorted_export_100k" << suffix << ": " << sorted / unsorted << " x\n";

        // The same report for one location, on a connection of its own.
        {
            const auto own = connectCatalogue(catalogue);
            TVoDaoTable located{"TB_Veltrano"};
            located.SetDatabase(own.get());
            located.SetReadOnly(true);
            const QString locatedReport = folder + "Inventur Lesesaal.html";
            const double locatedSeconds = runReport(
                located, MissingBooksQuery(inventoryPath, "1", lists::Location::Named(small ? "Magazin" : "Lesesaal")),
                locatedReport);
            std::cout << "missing_report_html_location_100k" << suffix << ": " << locatedSeconds << " s\n";
            std::cout << "location_report_rows" << suffix << ": " << reportRows(locatedReport) << " rows\n";
            std::cout << "location_vs_all_report_100k" << suffix << ": " << locatedSeconds / seconds << " x\n";
        }

        // The locations for the choice: read when the tab is first shown,
        // right after the progress line has read the copies' numbers.
        {
            const auto own = connectCatalogue(catalogue);
            capture::CatalogueLookup lookup(own->CoreDatabase());
            lookup.CopyNumbers(); // the first read brings the tables in from the file
            auto began = Clock::now();
            const size_t copies = lookup.CopyNumbers().size();
            const double numbersMs = secondsSince(began) * 1000;
            began = Clock::now();
            const QStringList locations = lists::CatalogueLocations(*own->CoreDatabase());
            const double locationsMs = secondsSince(began) * 1000;
            std::cout << "location_list_100k" << suffix << ": " << locationsMs << " ms (" << locations.size()
                      << " locations: " << locations.join(", ").toStdString() << ")\n";
            std::cout << "copy_numbers_100k" << suffix << ": " << numbersMs << " ms (" << copies << " copies)\n";
            std::cout << "location_list_vs_copy_numbers_100k" << suffix << ": " << locationsMs / numbersMs << " x\n";
        }
        {
            const auto own = connectCatalogue(catalogue);
            const auto began = Clock::now();
            lists::CatalogueLocations(*own->CoreDatabase());
            std::cout << "location_list_cold_100k" << suffix << ": " << secondsSince(began) * 1000 << " ms\n";
        }
    } catch (const std::exception& e) {
        std::cerr << "report_bench failed: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
