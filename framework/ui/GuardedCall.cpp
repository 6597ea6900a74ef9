#include "framework/ui/GuardedCall.h"

#include "framework/data/EDatabaseError.h"
#include "framework/ui/TApplication.h"

#include <QtDebug>
#include <exception>

bool GuardedCall(const std::function<void()>& operation)
{
    try {
        operation();
        return true;
    } catch (const EAbort&) {
        // called off without a message
    } catch (const std::exception& e) {
        if (Application)
            Application->ShowException(e);
        else
            qWarning("%s", e.what());
    }
    return false;
}
