#pragma once
// The inventory database "db_inv.mdb": its tables, the empty database the
// set-up puts into the program folder, the carrying over of an inventory
// database in Access format (from an earlier Windows installation) into the
// engine's own format, and the carrying forward of one made by an earlier
// version of the program.
#include <QString>

namespace dao {
class Database;
}

namespace inventory {

// Creates a new, empty inventory database at path (inventurliste, inventur
// and an index on inventur (Inventurliste, NR) that keeps capture fast, and
// the table of the lists' locations). Raises the engine's error when the
// file exists or cannot be made.
void CreateEmptyInventory(const QString& path);

// Adds what an inventory database of the engine made by an earlier version
// lacks (the table of the lists' locations); its lists and entries stay as
// they are. True when something was added. Raises the engine's error when
// the database cannot be changed.
bool CarryForward(dao::Database& inventory);

struct CarryOverResult {
    bool carriedOver = false;
    QString originalKeptAs; // where the Access original now lies
    int lists = 0;
    int entries = 0;
};

// Where an Access original of path is kept ("db_inv (Access-Original).mdb",
// numbered when that name is taken).
QString OriginalName(const QString& path);

// When path is an Access database, copies its lists and entries (with their
// IDX values, counters continuing after the highest) into a new database of
// the engine, keeps the original beside it under OriginalName and puts the
// new one in its place. Nothing changes when path is no Access file. A
// failure leaves the original where it was and raises.
CarryOverResult CarryOverAccessInventory(const QString& path);

// The message telling the user about a carried-over inventory database.
QString CarryOverMessage(const CarryOverResult& result);

} // namespace inventory
