#include "platform/Version.h"
#include "platform/VersionNumbers.h"

namespace platform {

FileVersion fileVersion()
{
    return {QUILLSTOCK_VERSION_MAJOR + 0u, QUILLSTOCK_VERSION_MINOR + 0u, QUILLSTOCK_VERSION_RELEASE + 0u,
            QUILLSTOCK_VERSION_BUILD + 0u};
}

QString versionText()
{
    const FileVersion v = fileVersion();
    return QStringLiteral("Vers. %1.%2.%3.%4").arg(v.major).arg(v.minor).arg(v.release).arg(v.build);
}

} // namespace platform
