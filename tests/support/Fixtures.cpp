#include "tests/support/Fixtures.h"

#include <QDir>

namespace testsupport {

QString fixturesFolder()
{
    const QString env = qEnvironmentVariable("QUILLSTOCK_FIXTURES");
    if (!env.isEmpty())
        return QDir(env).absolutePath();
    return QDir(QStringLiteral(QUILLSTOCK_SOURCE_DIR "/tests/fixtures")).absolutePath();
}

QString fixturePath(const QString& relative) { return fixturesFolder() + '/' + relative; }

} // namespace testsupport
