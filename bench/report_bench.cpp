// Report benchmark: prints "name: value unit" lines.
//   missing_report_html_100k   s for the missing-books query and the HTML export of its result on the
//                              100,000-copy catalogue with 90,000 of its numbers recorded in the list
//   missing_report_rows        rows in the exported report (a check of the figure above)
// --small runs the same on the small catalogue with all but 10 of its numbers recorded (a smoke run).
#include "bench/BenchFixtures.h"
#include "app/InventoryDatabase.h"
#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
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
        TVoDaoDatabase db{"DB_Veltrano"};
        db.SetVersion("3.6");
        db.SetDatabase(catalogue);
        db.SetConnected(true);
        TVoDaoTable table{"TB_Veltrano"};
        table.SetDatabase(&db);
        table.SetReadOnly(true);

        const QString report = folder + "Inventur vom 06.12.2026.html";
        const auto start = Clock::now();
        table.SetSQL(MissingBooksQuery(inventoryPath, "1"));
        table.Open();
        table.ExportToHTML(report, false, true);
        const double seconds = secondsSince(start);

        QFile file(report);
        file.open(QIODevice::ReadOnly);
        const long rows = file.readAll().toLower().count("<tr") - 1;
        std::cout << "missing_report_html_100k" << suffix << ": " << seconds << " s\n";
        std::cout << "missing_report_rows" << suffix << ": " << rows << " rows\n";
    } catch (const std::exception& e) {
        std::cerr << "report_bench failed: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
