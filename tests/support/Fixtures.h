#pragma once
#include <QString>

namespace testsupport {

// Folder of the fixtures: $QUILLSTOCK_FIXTURES, else the folder the build
// was configured with (QUILLSTOCK_FIXTURES in the top CMakeLists.txt).
QString fixturesFolder();
QString fixturePath(const QString& relative);

} // namespace testsupport
