// Capture benchmark: prints "name: value unit" lines.
//   capture_median / capture_p99   ms from Enter to the stored entry and the refreshed count caption,
//                                  with 100,000 entries already in the active list
//   import_100k                    s to import a file of 100,000 numbers into the active list
// --small runs the same with 1,000 entries (a smoke run).
#include "bench/BenchFixtures.h"
#include "app/InventoryDatabase.h"
#include "app/TfCopyDlg.h"
#include "app/TfMain.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "ui_TfMain.h"

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

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    const bool small = argc > 1 && QString(argv[1]) == "--small";
    const long entries = small ? 1000 : 100000;
    const int captures = small ? 20 : 200;
    const std::string suffix = small ? "_small" : "";
    const QString fixtures = QString::fromStdString(bench::fixturesFolder());

    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    QFile::copy(fixtures + "/catalogue/veltrano.mdb", folder + "Katalog.mdb");
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

        auto* ui = new RecordingInteraction;
        TApplication app{std::unique_ptr<Interaction>(ui)};
        TfCopyDlg copy;
        fCopyDlg = &copy;
        TfMain window(folder);
        window.show();
        for (const QString& m : ui->messageTexts())
            std::cerr << "message: " << m.toStdString() << "\n";

        std::vector<double> times;
        for (int i = 0; i < captures; ++i) {
            window.ui->ed_BuchNr->setText(QString::number(10000000 + i));
            const auto start = Clock::now();
            window.ed_BuchNrKeyPress(window.ui->ed_BuchNr, QChar(13));
            times.push_back(msSince(start));
        }
        std::cout << "capture_median" << suffix << ": " << percentile(times, 0.5) << " ms\n";
        std::cout << "capture_p99" << suffix << ": " << percentile(times, 0.99) << " ms\n";
        std::cout << "capture_caption" << suffix << ": " << window.ui->gb_Erfassung->title().toStdString() << "\n";

        QFile file(folder + "nummern.txt");
        file.open(QIODevice::WriteOnly);
        for (long i = 0; i < entries; ++i)
            file.write(QByteArray::number(qlonglong(20000000 + i)) + "\r\n");
        file.close();
        ui->fileAnswers.push_back(FileDialogResult{folder + "nummern.txt", 3});
        const auto start = Clock::now();
        window.Button3Click(window.ui->Button3);
        std::cout << "import" << (small ? "_small" : "_100k") << ": " << msSince(start) / 1000.0 << " s ("
                  << window.ui->Label5->text().toStdString() << ")\n";
        window.close();
    } catch (const std::exception& e) {
        std::cerr << "Error: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
