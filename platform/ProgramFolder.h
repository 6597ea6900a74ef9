#pragma once
#include <QString>

namespace platform {

// The folder of the running executable, with a trailing '/'.
QString programFolder();

// folder with exactly one trailing '/'.
QString withTrailingSlash(const QString& folder);

} // namespace platform
