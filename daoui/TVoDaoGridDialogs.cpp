#include "daoui/TVoDaoGridDialogs.h"

#include "daoui/DatasetDialogs.h"
#include "daoui/GridClipboard.h"

const TVoDaoGridDialogs& VoDaoGridDialogs()
{
    static const TVoDaoGridDialogs dialogs = [] {
        TVoDaoGridDialogs d;
        // Each dialog puts its entry point in here when it is built.
        d.sort = ExecuteSortDialog;
        d.findSeek = ExecuteFindSeekDialog;
        d.quickFindSeek = ExecuteQuickFindSeek;
        d.cut = GridCut;
        d.copy = GridCopy;
        d.paste = GridPaste;
        return d;
    }();
    return dialogs;
}
