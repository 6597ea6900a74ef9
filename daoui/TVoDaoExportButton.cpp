#include "daoui/TVoDaoExportButton.h"

#include "daodata/TVoDaoTable.h"
#include "daoui/DatasetDialogs.h"

TVoDaoExportButton::TVoDaoExportButton(QWidget* parent)
    : TVoDaoDatasetButton(QStringLiteral("Export"), [](const TVoDaoTable& table) { return !table.IsEmpty(); }, parent)
{
}

void TVoDaoExportButton::RunDialog(TVoDaoTable& table) { ExecuteExportDialog(table, DefaultExportDir); }
