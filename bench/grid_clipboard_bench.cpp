// Grid clipboard benchmark: prints "name: value unit" lines.
//   grid_copy_100k              Copy of all 100,000 copies (EXEMPLAR, selected in the grid) to the clipboard
//   dataset_append_100k         the same values appended and posted through the dataset in its bulk-append
//                               mode, without the clipboard: the floor
//   grid_paste_100k             Paste of the copied records into an empty engine table, with the ratio to the floor
// One run each (the paste writes the file); --small runs on veltrano.mdb (a smoke run).
#include "bench/BenchCatalogue.h"
#include "bench/BenchFixtures.h"
#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "daoui/GridClipboard.h"
#include "daoui/TVoDaoDBGrid.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <iostream>

namespace {

using Clock = std::chrono::steady_clock;

const char* kCopies = "CREATE TABLE EXEMPLAR (EXEMPLARNUMMER LONG, TITEL LONG, STANDORT TEXT(30), PREIS CURRENCY, "
                      "AUSGELIEHEN BIT)";

double ms(const std::function<void()>& step)
{
    const auto start = Clock::now();
    step();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// An empty engine table of the copies' shape, open in a dataset of its own.
struct Target {
    TVoDaoDatabase db;
    TVoDaoTable table;
    Target(const QString& path, const QString& name) : db("DB_" + name), table("TB_" + name)
    {
        TVoDaoDatabase maker;
        maker.CoreDBEngine()->createDatabase(path.toStdString(), ";LANGID=0x0409;CP=1252;COUNTRY=0")->execute(kCopies);
        bench::connectDatabase(db, path);
        table.SetDatabase(&db);
        table.SetTableType(1); // a table-type recordset, as the grid shows a table
        table.SetTableName("EXEMPLAR");
        table.Open();
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    auto* ui = new RecordingInteraction;
    TApplication app{std::unique_ptr<Interaction>(ui)};
    const bool small = argc > 1 && QString(argv[1]) == "--small";
    const QString catalogue = QString::fromStdString(bench::catalogueFile(small));
    const std::string suffix = small ? "_small" : "_100k";
    QTemporaryDir dir;

    try {
        TVoDaoDatabase veltrano("DB_Veltrano");
        bench::connectDatabase(veltrano, catalogue);
        TVoDaoTable copies("TB_Copies");
        copies.SetDatabase(&veltrano);
        copies.SetTableName("EXEMPLAR");
        copies.Open();
        TDataSource source;
        source.SetDataSet(&copies);
        TVoDaoDBGrid grid;
        grid.SetDataSource(&source);
        grid.resize(1000, 700);
        grid.show();
        QApplication::processEvents();
        grid.SelectAllClick();
        const double copy = ms([&] { GridCopy(grid); });

        // The floor: the copies' values appended through the dataset, read from the catalogue as it goes.
        Target floor(dir.filePath("floor.mdb"), "Floor");
        const double append = ms([&] {
            floor.table.BeginBulkAppend();
            for (copies.First(); !copies.Eof(); copies.Next()) {
                floor.table.Append();
                for (int i = 0; i < copies.Fields().Count(); ++i)
                    floor.table.Fields()[i]->SetText(copies.Fields()[i]->Text());
                floor.table.Post();
            }
            floor.table.EndBulkAppend();
        });

        Target pasted(dir.filePath("pasted.mdb"), "Pasted");
        TDataSource pastedSource;
        pastedSource.SetDataSet(&pasted.table);
        TVoDaoDBGrid pastedGrid;
        pastedGrid.SetDataSource(&pastedSource);
        pastedGrid.resize(1000, 700);
        pastedGrid.show();
        QApplication::processEvents();
        ui->messageAnswers.assign({0});
        const double paste = ms([&] { GridPaste(pastedGrid); });
        if (pasted.table.RecordCount() != copies.RecordCount() || floor.table.RecordCount() != copies.RecordCount())
            throw std::runtime_error("not every record arrived");

        std::cout << "grid_copy" << suffix << ": " << copy << " ms (" << copies.RecordCount() << " records, "
                  << QGuiApplication::clipboard()->mimeData()->data(HexRecordsetMimeType()).size() / 1024
                  << " KiB typed)\n";
        std::cout << "dataset_append" << suffix << ": " << append << " ms\n";
        std::cout << "grid_paste" << suffix << ": " << paste << " ms (ratio to the dataset append " << paste / append
                  << " x)\n";
    } catch (const std::exception& e) {
        std::cerr << "Error: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
