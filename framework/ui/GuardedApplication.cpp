#include "framework/ui/GuardedApplication.h"
#include "framework/ui/TApplication.h"
#include "framework/data/EDatabaseError.h"

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const EAbort&) {
        return false;
    } catch (const std::exception& e) {
        if (Application)
            Application->ShowException(e);
        return false;
    }
}
