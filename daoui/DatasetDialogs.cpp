#include "daoui/DatasetDialogs.h"

#include "daodata/TVoDaoTable.h"
#include "daoui/TCVC.h"
#include "daoui/TQFS.h"
#include "daoui/TSAS.h"
#include "daoui/TVoDaoDBGrid.h"
#include "daoui/TVoDaoFilterBy.h"
#include "daoui/TVoDaoSelectIndex.h"
#include "daoui/TVoDaoSortByDialog.h"
#include "daoui/TVodaoFindSeekDialog.h"
#include "framework/data/TField.h"

#include <QApplication>

QStringList SortableFieldNames(const TVoDaoTable& table)
{
    QStringList names;
    for (int i = 0; i < table.FieldCount(); ++i) {
        const TField* field = table.Fields()[i];
        if (field->FieldKind() == fkData && !field->IsBlob())
            names << field->FieldName();
    }
    return names;
}

bool ExecuteSortDialog(TVoDaoTable& table)
{
    if (!table.Active())
        return false;
    const QStringList former = table.SortedBy();
    QStringList sortedBy = former;
    TVoDaoSortByDialog dialog(QApplication::activeWindow());
    if (!dialog.Execute(SortableFieldNames(table), sortedBy, table.UseBrackets))
        return false;
    try {
        table.SetSortedBy(sortedBy);
    } catch (...) {
        // The dataset goes on in its former order; the user sees the error.
        try {
            table.SetSortedBy(former);
        } catch (...) {
        }
        throw;
    }
    return true;
}

bool ExecuteFindSeekDialog(TVoDaoTable& table, bool seekMode)
{
    if (!table.Active())
        return false;
    TVodaoFindSeekDialog dialog(QApplication::activeWindow());
    return dialog.Execute(table, seekMode);
}

bool ExecuteQuickFindSeek(TVoDaoTable& table, bool seekMode, const QString& fieldName)
{
    if (!table.Active())
        return false;
    TQFS dialog(QApplication::activeWindow());
    return dialog.Execute(table, seekMode, fieldName);
}

bool ExecuteExportDialog(TVoDaoTable& table, const QString& initialDir)
{
    if (!table.Active())
        return false;
    TSAS dialog(QApplication::activeWindow());
    dialog.InitialDir = initialDir;
    return dialog.Execute(table);
}

bool ExecuteExportDialogForGrid(TVoDaoTable& table, const TExportGridColumns& columns, const QString& initialDir)
{
    if (!table.Active())
        return false;
    TSAS dialog(QApplication::activeWindow());
    dialog.InitialDir = initialDir;
    return dialog.ExecuteForGrid(table, columns);
}

bool ExecuteFilterDialog(TVoDaoTable& table, QString& filter, QStringList& conditions)
{
    if (!table.Active())
        return false;
    TVoDaoFilterBy dialog(QApplication::activeWindow());
    return dialog.Execute(table, filter, conditions);
}

bool ExecuteColumnChooser(TVoDaoDBGrid& grid)
{
    TCVC dialog(QApplication::activeWindow());
    return dialog.Execute(grid);
}

QString ExecuteSelectIndex(TVoDaoTable& table, const QString& indexName)
{
    QString name = indexName;
    if (table.Active() && table.TableType() == 1) {
        TVoDaoSelectIndex dialog(QApplication::activeWindow());
        dialog.Execute(table, name);
    }
    return name;
}
