#include "stocktaking/InventoryLink.h"

#include "daodata/TVoDaoTable.h"
#include "framework/data/TDataSource.h"

namespace inventory {

void LinkInventoryDatasets(TVoDaoDatabase& database, TVoDaoTable& lists, TDataSource& listSource,
                           TVoDaoTable& entries)
{
    lists.SetDatabase(&database);
    lists.SetSQL(QStringLiteral("SELECT * FROM inventurliste"));
    listSource.SetDataSet(&lists);
    entries.SetDatabase(&database);
    entries.SetSQL(QStringList{QStringLiteral("SELECT *"), QStringLiteral("FROM  inventur")});
    entries.SetMasterSource(&listSource);
    entries.SetMasterFields(QStringLiteral("Inventurliste -> IDX"));
    entries.SetSortedBy(QStringLiteral("[NR] ASC"));
}

} // namespace inventory
