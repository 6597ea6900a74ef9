#pragma once
// Where each inventory list keeps its location: the table inventurstandort
// of the inventory database, one row per list that counts a location
// (Inventurliste = the list's IDX, Standort = the location, null for the
// copies without one). A list without a row counts every copy, so lists
// made before there was a choice, and every list left at "(alle)", store
// nothing beyond their own rows.
#include "stocktaking/Location.h"

namespace dao {
class Database;
}

namespace lists {

inline constexpr const char* kLocationTable = "inventurstandort";

// Creates the table in an inventory database of the engine.
void CreateLocationTable(dao::Database& inventory);
// Whether the inventory database has the table.
bool HasLocationTable(dao::Database& inventory);

// The location list listIdx counts.
Location StoredLocation(dao::Database& inventory, int listIdx);
// Stores the location of list listIdx, durably and in one transaction; a
// failure leaves the stored location as it was.
void StoreLocation(dao::Database& inventory, int listIdx, const Location& location);

} // namespace lists
