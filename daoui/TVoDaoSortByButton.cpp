#include "daoui/TVoDaoSortByButton.h"

#include "daodata/TVoDaoTable.h"
#include "daoui/DatasetDialogs.h"

TVoDaoSortByButton::TVoDaoSortByButton(QWidget* parent)
    : TVoDaoDatasetButton(QStringLiteral("Sort by"), [](const TVoDaoTable& table) { return table.TableType() != 1; },
                          parent)
{
}

void TVoDaoSortByButton::RunDialog(TVoDaoTable& table) { ExecuteSortDialog(table); }
