#include "tests/support/Fixtures.h"

#include <QDir>

namespace testsupport {

QString fixturesFolder()
{
    const QString env = qEnvironmentVariable("QUILLSTOCK_FIXTURES");
    if (!env.isEmpty())
        return QDir(env).absolutePath();
    return QDir(QStringLiteral(QUILLSTOCK_DEFAULT_FIXTURES)).absolutePath();
}

QString fixturePath(const QString& relative) { return fixturesFolder() + '/' + relative; }

} // namespace testsupport
