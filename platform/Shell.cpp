#include "platform/Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

bool shellOpen(const QString& file)
{
    // xdg-open hands the file to the program the desktop has chosen for its
    // type, whatever the desktop; Qt's own guess serves where it is missing.
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!xdgOpen.isEmpty())
        return QProcess::startDetached(xdgOpen, {file});
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

} // namespace platform
