// Dataset benchmark: prints "name: value unit" lines.
//   tb_veltrano_open_walk_100k     open TB_Veltrano on the all-copies query of the 100k catalogue, walk to the end
//   tb_veltrano_recordcount_100k   its record count
//   detail_follow_100k             TB_INV following a master scroll onto a list of 100,000 entries in a
//                                  database of 300,000 entries
//   locate_100k                    Locate of a number (the list's last one) in that list
// --small runs the same on veltrano.mdb and small lists (a smoke run).
#include "bench/BenchCatalogue.h"
#include "bench/BenchFixtures.h"
#include "app/InventoryDatabase.h"
#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"
#include "stocktaking/InventoryLink.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <chrono>
#include <iostream>

namespace {

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

const char* kAllCopies = " SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS "
                         "AUTOR FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer ORDER BY "
                         "EXEMPLAR.EXEMPLARNUMMER";

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool small = argc > 1 && QString(argv[1]) == "--small";
    const QString catalogue = QString::fromStdString(bench::catalogueFile(small));
    const std::string suffix = small ? "_small" : "_100k";
    const long perList = small ? 1000 : 100000;
    QTemporaryDir dir;

    try {
        TVoDaoDatabase veltrano("DB_Veltrano");
        bench::connectDatabase(veltrano, catalogue);
        TVoDaoTable table("TB_Veltrano");
        table.SetDatabase(&veltrano);
        table.SetReadOnly(true);
        table.SetSQL(QString::fromLatin1(kAllCopies));
        auto start = Clock::now();
        table.Open();
        long rows = 0;
        qint64 sum = 0;
        for (; !table.Eof(); table.Next(), ++rows)
            sum += table.FieldByName("BUCHNR")->AsInteger();
        std::cout << "tb_veltrano_open_walk" << suffix << ": " << msSince(start) / 1000.0 << " s (" << rows
                  << " rows)\n";
        table.Close();
        table.Open();
        start = Clock::now();
        const int count = table.RecordCount();
        std::cout << "tb_veltrano_recordcount" << suffix << ": " << msSince(start) / 1000.0 << " s (" << count
                  << " rows)\n";

        // Three lists of perList entries each; the detail follows the master onto the last one.
        const QString path = dir.filePath("db_inv.mdb");
        inventory::CreateEmptyInventory(path);
        {
            TVoDaoDatabase maker;
            auto db = maker.CoreDBEngine()->openDatabase(path.toStdString());
            db->beginTrans();
            for (int list = 1; list <= 3; ++list) {
                db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Liste " + std::to_string(list) + "')");
                for (long i = 0; i < perList; i += 1000)
                    db->execute("INSERT INTO inventur (NR, Inventurliste) SELECT TOP 1000 EXEMPLARNUMMER + " +
                                std::to_string(i) + ", " + std::to_string(list) + " FROM EXEMPLAR IN '" +
                                catalogue.toStdString() + "'");
            }
            db->commitTrans();
            db->close();
        }
        TVoDaoDatabase inv("DB_INV");
        inv.SetDatabase(path);
        inv.SetConnected(true);
        TVoDaoTable master("TB_Master"), entries("TB_INV");
        TDataSource source;
        inventory::LinkInventoryDatasets(inv, master, source, entries);
        entries.Open();
        master.Open();
        master.Next();
        start = Clock::now();
        master.Next(); // onto the third list
        const double follow = msSince(start);
        std::cout << "detail_follow" << suffix << ": " << follow << " ms (list " << master.FieldByName("IDX")->AsInteger()
                  << ", first NR " << entries.FieldByName("NR")->AsInteger() << ")\n";

        // Locate the list's last number from its first row.
        entries.Last();
        const int wanted = entries.FieldByName("NR")->AsInteger();
        entries.First();
        start = Clock::now();
        const bool found = entries.Locate("NR", wanted, 0);
        const double locate = msSince(start);
        std::cout << "locate" << suffix << ": " << locate << " ms (NR " << wanted << (found ? " found" : " not found")
                  << " at row " << entries.RecNo() << ")\n";
        (void)sum;
    } catch (const std::exception& e) {
        std::cerr << "Error: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
