#pragma once
#include <QString>

namespace testsupport {

// Folder of the fixtures: $QUILLSTOCK_FIXTURES, else tests/fixtures of the
// source tree.
QString fixturesFolder();
QString fixturePath(const QString& relative);

} // namespace testsupport
