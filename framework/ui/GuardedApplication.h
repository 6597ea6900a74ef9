#pragma once
#include <QApplication>

// The Qt application of the running program. An exception that escapes an
// event handler is shown by the default error display instead of ending the
// process.
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};
