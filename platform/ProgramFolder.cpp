#include "platform/ProgramFolder.h"

#include <QCoreApplication>

namespace platform {

QString withTrailingSlash(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

QString programFolder() { return withTrailingSlash(QCoreApplication::applicationDirPath()); }

} // namespace platform
