#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString withTrailingSlash(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

bool isInstalledLocation(const QString& folder)
{
    const auto canonical = [](const QString& path) {
        const QString resolved = QFileInfo(path).canonicalFilePath();
        return resolved.isEmpty() ? QDir::cleanPath(path) : resolved;
    };
    const QString here = canonical(folder);
    for (const QString& bin : {QStringLiteral("/usr/bin"), QStringLiteral("/usr/local/bin"),
                               QStringLiteral(QUILLSTOCK_INSTALL_BINDIR)})
        if (here == canonical(bin))
            return true;
    return false;
}

bool runsInstalled() { return isInstalledLocation(QCoreApplication::applicationDirPath()); }

QString userDataFolder()
{
    // Qt reads $XDG_DATA_HOME and falls back to ~/.local/share.
    return withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/quillstock"));
}

QString programFolder()
{
    return runsInstalled() ? userDataFolder() : withTrailingSlash(QCoreApplication::applicationDirPath());
}

} // namespace platform
