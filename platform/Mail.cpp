#include "platform/Mail.h"

#include <QProcess>
#include <QStandardPaths>

namespace platform {

namespace {

QString xdgEmail() { return QStandardPaths::findExecutable(QStringLiteral("xdg-email")); }

} // namespace

bool mailProgramAvailable() { return !xdgEmail().isEmpty(); }

bool composeMail(const QString& subject, const QStringList& attachments)
{
    const QString program = xdgEmail();
    if (program.isEmpty())
        return false;
    QStringList arguments{QStringLiteral("--subject"), subject};
    for (const QString& file : attachments)
        arguments << QStringLiteral("--attach") << file;
    return QProcess::startDetached(program, arguments);
}

} // namespace platform
