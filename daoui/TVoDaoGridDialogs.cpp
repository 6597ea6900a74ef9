#include "daoui/TVoDaoGridDialogs.h"

const TVoDaoGridDialogs& VoDaoGridDialogs()
{
    static const TVoDaoGridDialogs dialogs = [] {
        TVoDaoGridDialogs d;
        // Each dialog puts its entry point in here when it is built.
        return d;
    }();
    return dialogs;
}
