#pragma once
// The inventory's two datasets as the main window links them: the lists, and
// the entries of the current list (following it by IDX) in number order.
class TDataSource;
class TVoDaoDatabase;
class TVoDaoTable;

namespace inventory {

// Sets lists and entries onto database's tables inventurliste and inventur,
// listSource onto lists, and makes entries follow listSource, sorted by NR.
// Nothing is opened.
void LinkInventoryDatasets(TVoDaoDatabase& database, TVoDaoTable& lists, TDataSource& listSource,
                           TVoDaoTable& entries);

} // namespace inventory
