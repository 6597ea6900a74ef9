#pragma once
#include <functional>

// Runs an operation for Qt's sake (painting, a view's slot, a key handler):
// an error it raises goes to the application's error display (or the log
// when there is no application object) and no further; the silent exception
// ends it quietly. True when it ran to its end.
bool GuardedCall(const std::function<void()>& operation);
