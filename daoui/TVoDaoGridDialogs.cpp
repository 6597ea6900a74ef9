#include "daoui/TVoDaoGridDialogs.h"

#include "daoui/DatasetDialogs.h"
#include "daoui/GridClipboard.h"
#include "daoui/TVoDaoDBGrid.h"

const TVoDaoGridDialogs& VoDaoGridDialogs()
{
    static const TVoDaoGridDialogs dialogs = [] {
        TVoDaoGridDialogs d;
        // Each dialog puts its entry point in here when it is built.
        d.selectIndex = ExecuteSelectIndex;
        d.sort = ExecuteSortDialog;
        d.filter = ExecuteFilterDialog;
        d.findSeek = ExecuteFindSeekDialog;
        d.quickFindSeek = ExecuteQuickFindSeek;
        d.chooseVisibleColumns = ExecuteColumnChooser;
        d.exportForGrid = [](TVoDaoTable& table, TVoDaoDBGrid& grid, const QString& initialDir) {
            TExportGridColumns columns;
            for (const TColumn& column : grid.Columns())
                columns << TExportGridColumn{column.TitleCaption(), column.Visible, column.FieldName};
            ExecuteExportDialogForGrid(table, columns, initialDir);
        };
        d.cut = GridCut;
        d.copy = GridCopy;
        d.paste = GridPaste;
        return d;
    }();
    return dialogs;
}
