#pragma once
#include <QString>

namespace testsupport {

// Folder of the shared fixtures: $QUILLSTOCK_FIXTURES, else ../shared/fixtures
// beside the checkout.
QString fixturesFolder();
QString fixturePath(const QString& relative);

} // namespace testsupport
