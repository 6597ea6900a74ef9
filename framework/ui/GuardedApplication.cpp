#include "framework/ui/GuardedApplication.h"
#include "framework/ui/TApplication.h"

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (Application)
            Application->ShowException(e);
        return false;
    }
}
