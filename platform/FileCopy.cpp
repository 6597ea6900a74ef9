#include "platform/FileCopy.h"

#include <QFile>
#include "platform/SaveFile.h"

#include <QSaveFile>

namespace platform {

bool copyFile(const QString& source, const QString& target, const std::function<void()>& progress, QString* error)
{
    auto failed = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return failed(in.errorString());
    QSaveFile out(target);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        return failed(out.errorString());
    constexpr qint64 chunk = 1 << 20;
    QByteArray buffer(chunk, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), chunk);
        if (n < 0) {
            out.cancelWriting();
            return failed(in.errorString());
        }
        if (n == 0)
            break;
        if (out.write(buffer.constData(), n) != n) {
            const QString reason = out.errorString();
            out.cancelWriting();
            return failed(reason);
        }
        if (progress)
            progress();
    }
    QString reason;
    return commitWhole(out, &reason) || failed(reason);
}

} // namespace platform
