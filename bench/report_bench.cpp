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
// A million copies, in a process of its own (report_bench --million), on a demo catalogue in the engine's format written first (only without --small):
//   startup_ready_1m           s from the main window's making to its being ready on a program folder with
//                              that catalogue and a list holding 900,000 of its numbers: settings read,
//                              backup copy, both databases open, datasets open (target <= 5 s)
//   backup_copy_floor_1m       s for a plain copy of the catalogue file, measured in the same run; and the ratio
//   missing_report_html_1m     s for the missing-books query and the HTML export of its result (target <= 5 s)
//   peak_rss_1m                MB, the process's peak resident set at the end of the run (target <= 500 MB)
// --small runs the same on the small catalogue with all but 10 of its numbers recorded (a smoke run).
#include "bench/BenchFixtures.h"
#include "app/DemoCatalogue.h"
#include "app/InventoryDatabase.h"
#include "app/TfCopyDlg.h"
#include "app/TfMain.h"
#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "stocktaking/CatalogueLocations.h"
#include "stocktaking/CatalogueLookup.h"
#include "stocktaking/MissingBooksQuery.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <iostream>
#include <sys/resource.h>

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

// Puts an inventory database into folder whose one list records the first
// `recorded` copy numbers of the catalogue.
void writeInventory(const QString& inventoryPath, const QString& catalogue, long recorded)
{
    inventory::CreateEmptyInventory(inventoryPath);
    dao::DBEngine engine;
    auto db = engine.openDatabase(inventoryPath.toStdString());
    db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Benchmark')");
    db->execute("INSERT INTO inventur (NR, Inventurliste) SELECT TOP " + std::to_string(recorded) +
                " EXEMPLARNUMMER, 1 FROM EXEMPLAR IN '" + catalogue.toStdString() + "' ORDER BY EXEMPLARNUMMER");
    db->close();
}

// The figures for a million copies: the program's start and the report.
void millionCopies(const QString& folder)
{
    const QString catalogue = folder + "Katalog-1m.mdb";
    demo::CreateDemoCatalogue(catalogue, 1000000);
    writeInventory(folder + "db_inv.mdb", catalogue, 900000);
    QFile ini(folder + "Quillstock.ini");
    ini.open(QIODevice::WriteOnly);
    ini.write("[GLOBAL]\r\nPATH=" + catalogue.toUtf8() + "\r\n");
    ini.close();

    auto began = Clock::now();
    QFile::copy(catalogue, folder + "floor-copy.mdb");
    const double copyFloor = secondsSince(began);
    QFile::remove(folder + "floor-copy.mdb");

    TfCopyDlg copy;
    fCopyDlg = &copy;
    began = Clock::now();
    double startup = 0;
    {
        TfMain window(folder);
        window.show();
        startup = secondsSince(began);
        std::cout << "startup_ready_1m: " << startup << " s (" << window.TB_INV.RecordCount() << " entries, "
                  << window.TB_Master.RecordCount() << " list)\n";
        window.close();
    }
    fCopyDlg = nullptr;
    std::cout << "backup_copy_floor_1m: " << copyFloor << " s\n";
    std::cout << "startup_vs_backup_copy_1m: " << startup / copyFloor << " x\n";

    const auto db = connectCatalogue(folder + "db_Vel.mdb");
    TVoDaoTable table{"TB_Veltrano"};
    table.SetDatabase(db.get());
    table.SetReadOnly(true);
    const QString report = folder + "Inventur 1m.html";
    const double seconds = runReport(table, MissingBooksQuery(folder + "db_inv.mdb", "1"), report);
    std::cout << "missing_report_html_1m: " << seconds << " s (" << reportRows(report) << " rows)\n";
    table.Close();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::cout << "peak_rss_1m: " << usage.ru_maxrss / 1024.0 << " MB\n";
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    const bool small = argc > 1 && QString(argv[1]) == "--small";
    if (argc > 1 && QString(argv[1]) == "--million") {
        auto* answers = new RecordingInteraction;
        TApplication app{std::unique_ptr<Interaction>(answers)};
        try {
            QTemporaryDir million;
            millionCopies(million.path() + '/');
        } catch (const std::exception& e) {
            std::cerr << "report_bench failed: " << e.what() << "\n";
            return 1;
        }
        for (const QString& m : answers->messageTexts())
            std::cerr << "message: " << m.toStdString() << "\n";
        return 0;
    }
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
        writeInventory(inventoryPath, catalogue, recorded);

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
        if (!small) {
            // In a process of its own, so that its peak memory is its own.
            std::cout.flush();
            if (QProcess::execute(QCoreApplication::applicationFilePath(), {QStringLiteral("--million")}) != 0)
                return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "report_bench failed: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
