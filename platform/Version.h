#pragma once
#include <QString>

namespace platform {

struct FileVersion {
    unsigned major, minor, release, build;
};

// The version compiled into the executable from the project version.
FileVersion fileVersion();

// "Vers. major.minor.release.build", each number in decimal without leading zeros.
QString versionText();

} // namespace platform
