#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

bool shellOpen(const QString& file) { return QDesktopServices::openUrl(QUrl::fromLocalFile(file)); }

} // namespace platform
