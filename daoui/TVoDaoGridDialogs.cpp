#include "daoui/TVoDaoGridDialogs.h"

#include "daoui/DatasetDialogs.h"

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
        return d;
    }();
    return dialogs;
}
