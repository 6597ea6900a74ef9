// Capture benchmark: prints "name: value unit" lines.
//   capture_median / capture_p99   ms from Enter to the stored entry and the refreshed count caption,
//                                  with 100,000 entries already in the active list
//   capture_with_feedback_median / _p99
//                                  ms for the whole Enter of the tab "Inventur" on a copy of the catalogue:
//                                  the same, and the copy's title looked up and shown, the last numbers and the
//                                  progress line brought up to date
//   title_lookup_median            ms of the title lookup alone (no disk write): what each scan adds to the work
//   scan_feedback_start            s for the first entry into the tab "Inventur": the catalogue's copies counted
//   sqlite_insert_fsync_median     one-row insert into a 100,000-row table straight through SQLite's C API, WAL and
//                                  full sync, in the same folder, each taken right after a capture, on a database
//                                  opened afresh as the program's: the floor
//   capture_vs_sqlite_fsync        capture_median / sqlite_insert_fsync_median (target <= 1.5 x)
//   import_100k                    s to import a file of 100,000 numbers into the active list (target <= 5 s)
//   delete_list                    s to delete the list with all its entries (about 200,000) through the window
//   sqlite_delete_list             s of the same DELETE of 100,000 rows straight in SQLite, and the ratio per row
// The catalogue is the 100,000-copy one; --small runs the same with the small catalogue and 1,000 entries (a smoke run).
#include "bench/BenchFixtures.h"
#include "app/InventoryDatabase.h"
#include "app/TfCopyDlg.h"
#include "app/TfMain.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/data/TField.h"
#include "framework/ui/TApplication.h"
#include "stocktaking/Capture.h"
#include "stocktaking/CatalogueLookup.h"
#include "stocktaking/ScanResult.h"
#include "ui_TfMain.h"

#include <sqlite3.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <iostream>

namespace {

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
}

void exec(sqlite3* db, const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error("sqlite: " + text);
    }
}

// One-row inserts into a table of rows entries, each its own durable
// transaction, as the engine writes the inventory database.
class RawInserts {
public:
    RawInserts(const QString& path, long rows)
    {
        sqlite3_open(path.toUtf8().constData(), &db_);
        exec(db_, "PRAGMA journal_mode = WAL");
        exec(db_, "PRAGMA synchronous = FULL");
        exec(db_, "CREATE TABLE inventur (IDX INTEGER PRIMARY KEY AUTOINCREMENT, NR INTEGER, Inventurliste INTEGER)");
        exec(db_, "CREATE INDEX ListeNr ON inventur (Inventurliste, NR)");
        exec(db_, "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " + std::to_string(rows) +
                      ") INSERT INTO inventur (NR, Inventurliste) SELECT x, 1 FROM n");
        // Reopened, as the program opens its inventory database: the write-ahead log starts afresh and grows
        // with the inserts, as the program's does (a log that already has the room makes each sync cheaper).
        sqlite3_close(db_);
        sqlite3_open(path.toUtf8().constData(), &db_);
        exec(db_, "PRAGMA synchronous = FULL");
        sqlite3_prepare_v2(db_, "INSERT INTO inventur (NR, Inventurliste) VALUES (?1, 1)", -1, &insert_, nullptr);
    }
    ~RawInserts()
    {
        sqlite3_finalize(insert_);
        sqlite3_close(db_);
    }
    // ms to delete the list's rows in one statement
    double deleteAll()
    {
        const auto start = Clock::now();
        exec(db_, "DELETE FROM inventur WHERE Inventurliste = 1");
        return msSince(start);
    }
    // ms for one insert
    double insert(int number)
    {
        const auto start = Clock::now();
        sqlite3_bind_int(insert_, 1, number);
        sqlite3_step(insert_);
        sqlite3_reset(insert_);
        return msSince(start);
    }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
};

// Copy numbers of the catalogue above from, in ascending order: copies the list does not hold yet.
std::vector<int> copiesAbove(const QString& catalogue, long from, int count)
{
    dao::DBEngine engine;
    auto db = engine.openDatabase(catalogue.toStdString());
    auto rs = db->openRecordset("SELECT TOP " + std::to_string(count) +
                                " EXEMPLAR.EXEMPLARNUMMER FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = "
                                "TITEL.Buchungsnummer AND EXEMPLAR.EXEMPLARNUMMER > " +
                                std::to_string(from) + " ORDER BY EXEMPLAR.EXEMPLARNUMMER");
    std::vector<int> numbers;
    for (; !rs->eof(); rs->moveNext())
        numbers.push_back(rs->value(0).toLong());
    return numbers;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    const bool small = argc > 1 && QString(argv[1]) == "--small";
    const long entries = small ? 1000 : 100000;
    const int captures = small ? 20 : 200;
    const std::string suffix = small ? "_small" : "";

    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    QFile::copy(QString::fromStdString(bench::catalogueFile(small)), folder + "Katalog.mdb");
    QFile ini(folder + "Quillstock.ini");
    ini.open(QIODevice::WriteOnly);
    ini.write("[GLOBAL]\nPATH=" + (folder + "Katalog.mdb").toUtf8() + "\n");
    ini.close();
    try {
        inventory::CreateEmptyInventory(folder + "db_inv.mdb");
        {
            dao::DBEngine engine;
            auto db = engine.openDatabase((folder + "db_inv.mdb").toStdString());
            db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Benchmark')");
            db->beginTrans();
            db->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (1, 1)");
            // Doubling the list up to the wanted size.
            for (long have = 1; have < entries;) {
                const long add = std::min(have, entries - have);
                db->execute("INSERT INTO inventur (NR, Inventurliste) SELECT TOP " + std::to_string(add) + " NR + " +
                            std::to_string(have) + ", 1 FROM inventur ORDER BY NR");
                have += add;
            }
            db->commitTrans();
            db->close();
        }

        const std::vector<int> copies = copiesAbove(folder + "Katalog.mdb", entries, captures);

        auto* ui = new RecordingInteraction;
        TApplication app{std::unique_ptr<Interaction>(ui)};
        TfCopyDlg copy;
        fCopyDlg = &copy;
        TfMain window(folder);
        window.show();
        for (const QString& m : ui->messageTexts())
            std::cerr << "message: " << m.toStdString() << "\n";

        const auto tabStart = Clock::now();
        window.ui->PageControl1->setCurrentWidget(window.ui->TabSheet2);
        std::cout << "scan_feedback_start" << suffix << ": " << msSince(tabStart) / 1000.0 << " s ("
                  << window.ui->lbl_Fortschritt->text().toStdString() << ")\n";
        const QString listIdx = window.TB_Master.FieldByName(QStringLiteral("IDX"))->AsString();

        // The capture as its steps give it: test, append and post, the emptied field, the count caption;
        // each followed by a raw insert on the same disk, so that both meet the same load.
        RawInserts raw(folder + "raw.sqlite", entries);
        std::vector<double> times;
        std::vector<double> floorTimes;
        for (int i = 0; i < captures; ++i) {
            window.ui->ed_BuchNr->setText(QString::number(10000000 + i));
            const auto start = Clock::now();
            capture::CaptureNumber(window.TB_INV_COUNT, window.TB_INV, window.ui->ed_BuchNr->text(), listIdx);
            window.ui->ed_BuchNr->clear();
            window.ShowCaptureCount();
            times.push_back(msSince(start));
            floorTimes.push_back(raw.insert(10000000 + i));
        }
        const double capture = percentile(times, 0.5);
        std::cout << "capture_median" << suffix << ": " << capture << " ms\n";
        std::cout << "capture_p99" << suffix << ": " << percentile(times, 0.99) << " ms\n";
        std::cout << "capture_caption" << suffix << ": " << window.ui->gb_Erfassung->title().toStdString() << "\n";

        // The whole Enter on copies of the catalogue: with title, last numbers and progress.
        times.clear();
        for (int number : copies) {
            window.ui->ed_BuchNr->setText(QString::number(number));
            const auto start = Clock::now();
            window.ed_BuchNrKeyPress(window.ui->ed_BuchNr, QChar(13));
            times.push_back(msSince(start));
        }
        const double feedback = percentile(times, 0.5);
        std::cout << "capture_with_feedback_median" << suffix << ": " << feedback << " ms ("
                  << window.ui->lbl_FundTitel->text().toStdString() << ")\n";
        std::cout << "capture_with_feedback_p99" << suffix << ": " << percentile(times, 0.99) << " ms\n";
        std::cout << "capture_progress" << suffix << ": " << window.ui->lbl_Fortschritt->text().toStdString() << "\n";

        capture::CatalogueLookup lookup(window.DB_Veltrano.CoreDatabase());
        times.clear();
        for (int number : copies) {
            const auto start = Clock::now();
            capture::DescribeScan(lookup, number, capture::Outcome::Stored);
            times.push_back(msSince(start));
        }
        std::cout << "title_lookup_median" << suffix << ": " << percentile(times, 0.5) << " ms\n";

        const double floor = percentile(floorTimes, 0.5);
        std::cout << "sqlite_insert_fsync_median" << suffix << ": " << floor << " ms\n";
        std::cout << "capture_vs_sqlite_fsync" << suffix << ": " << capture / floor << " x\n";
        std::cout << "capture_with_feedback_vs_sqlite_fsync" << suffix << ": " << feedback / floor << " x\n";

        QFile file(folder + "nummern.txt");
        file.open(QIODevice::WriteOnly);
        for (long i = 0; i < entries; ++i)
            file.write(QByteArray::number(qlonglong(20000000 + i)) + "\r\n");
        file.close();
        ui->fileAnswers.push_back(FileDialogResult{folder + "nummern.txt", 3});
        // The import is started on the tab "Einstellungen", where its progress label is shown.
        window.ui->PageControl1->setCurrentWidget(window.ui->TabSheet1);
        const auto start = Clock::now();
        window.Button3Click(window.ui->Button3);
        std::cout << "import" << (small ? "_small" : "_100k") << ": " << msSince(start) / 1000.0 << " s ("
                  << window.ui->Label5->text().toStdString() << ")\n";

        // Deleting the list with all its entries, answered "Ja"; beside it the same deletion straight in SQLite.
        const int listEntries = window.InventoryCount().value_or(0);
        ui->messageAnswers.push_back(0);
        const auto deleteStart = Clock::now();
        window.Button2Click(window.ui->Button2);
        const double deleteSeconds = msSince(deleteStart) / 1000.0;
        const double rawDelete = raw.deleteAll() / 1000.0;
        std::cout << "delete_list" << suffix << ": " << deleteSeconds << " s (" << listEntries << " entries, "
                  << window.InventoryCount().value_or(0) << " left)\n";
        std::cout << "sqlite_delete_list" << suffix << ": " << rawDelete << " s (" << entries << " rows)\n";
        std::cout << "delete_list_per_entry_vs_sqlite" << suffix << ": "
                  << (deleteSeconds / listEntries) / (rawDelete / entries) << " x\n";
        window.close();
    } catch (const std::exception& e) {
        std::cerr << "Error: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
