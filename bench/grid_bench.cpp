// Data grid benchmark: prints "name: value unit" lines.
//   dataset_open_100k                  open TB_Veltrano on the all-copies join of the 100k catalogue (no grid): the floor
//   grid_first_paint_100k              the same open with a visible grid bound to it, up to the first painted screen
//   grid_first_paint_beyond_open_100k  the difference (target: at most 50 ms)
//   grid_paint_after_open_100k         the painting part alone (from the open dataset to the painted screen)
//   grid_scroll_to_end_100k            from the first screen to the last one, painted (target: at most 50 ms)
//   grid_autosize_100k                 AutoSizeColumns switched on (reads every record once)
//   grid_segments_read_100k            row segments the grid read for the paints and the scroll (never the whole set)
// Each figure is a median of runs after a warm-up. --small runs on veltrano.mdb (a smoke run).
#include "bench/BenchCatalogue.h"
#include "bench/BenchFixtures.h"
#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "daoui/TVoDaoDBGrid.h"
#include "framework/data/TDataSource.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <functional>
#include <iostream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char* kAllCopies = " SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS "
                         "AUTOR FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer ORDER BY "
                         "EXEMPLAR.EXEMPLARNUMMER";
constexpr int kRuns = 5;

// Median milliseconds of a measured step, each run prepared by setUp (not measured).
double medianMs(const std::function<void()>& setUp, const std::function<void()>& step)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        setUp();
        const auto start = Clock::now();
        step();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool small = argc > 1 && QString(argv[1]) == "--small";
    const QString catalogue = QString::fromStdString(bench::catalogueFile(small));
    const std::string suffix = small ? "_small" : "_100k";

    try {
        TVoDaoDatabase veltrano("DB_Veltrano");
        bench::connectDatabase(veltrano, catalogue);
        TVoDaoTable table("TB_Veltrano");
        table.SetDatabase(&veltrano);
        table.SetReadOnly(true);
        table.SetSQL(QString::fromLatin1(kAllCopies));
        table.Open(); // warm-up: the catalogue's tables are read in once per connection
        table.Close();

        TDataSource source;
        source.SetDataSet(&table);
        TVoDaoDBGrid grid;
        grid.resize(1000, 700);
        grid.show();
        QApplication::processEvents();
        // The open alone and the open with the grid, in turns, so that both see the same machine.
        std::vector<double> opens, paints, grabs;
        for (int run = 0; run < 3 * kRuns; ++run) {
            grid.SetDataSource(nullptr);
            table.Close();
            auto start = Clock::now();
            table.Open();
            opens.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            table.Close();
            grid.SetDataSource(&source);
            start = Clock::now();
            table.Open();
            const auto opened = Clock::now();
            grid.grab(); // lays out and paints the whole first screen
            paints.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            grabs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - opened).count());
        }
        for (auto* times : {&opens, &paints, &grabs})
            std::sort(times->begin(), times->end());
        const double open = opens[opens.size() / 2];
        const double firstPaint = paints[paints.size() / 2];
        const double paintOnly = grabs[grabs.size() / 2];
        const int segmentsAtFirstPaint = grid.Model().SegmentReads();

        const double scroll = medianMs(
            [&] {
                table.Close();
                table.Open();
                grid.grab();
            },
            [&] {
                grid.scrollToBottom();
                grid.grab();
            });
        const int segments = grid.Model().SegmentReads() - segmentsAtFirstPaint;

        const double autosize = medianMs([&] { grid.SetAutoSizeColumns(false); },
                                         [&] { grid.SetAutoSizeColumns(true); });

        std::cout << "dataset_open" << suffix << ": " << open << " ms (" << table.RecordCount() << " rows)\n";
        std::cout << "grid_first_paint" << suffix << ": " << firstPaint << " ms\n";
        std::cout << "grid_first_paint_beyond_open" << suffix << ": " << firstPaint - open
                  << " ms (target 50 ms; ratio to the open " << firstPaint / open << " x)\n";
        std::cout << "grid_paint_after_open" << suffix << ": " << paintOnly << " ms\n";
        std::cout << "grid_scroll_to_end" << suffix << ": " << scroll << " ms (target 50 ms)\n";
        std::cout << "grid_autosize" << suffix << ": " << autosize << " ms\n";
        std::cout << "grid_segments_read" << suffix << ": " << segments / kRuns << " segments of "
                  << grid.Model().kFetchRows / 4 << " rows per scroll to the end\n";
    } catch (const std::exception& e) {
        std::cerr << "Error: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
