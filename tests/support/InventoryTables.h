#pragma once
// A database the engine makes with the inventory's two tables, for the tests of
// the layers below the application (which makes the real one).
#include <QString>

namespace testsupport {

// A new database at path with inventurliste (IDX, Bezeichnung) and inventur (IDX, NR,
// Inventurliste), both empty.
void createInventoryTables(const QString& path);

} // namespace testsupport
