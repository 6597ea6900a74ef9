#include "engine/StagedFiles.h"
#include "engine/JetErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dao::isam {

StagedFiles::~StagedFiles()
{
    for (const QString& t : temporary_)
        QFile::remove(t);
}

QString StagedFiles::add(const QString& finalPath)
{
    const QFileInfo info(finalPath);
    // Hidden, in the same folder, so that the final move is a rename.
    QTemporaryFile file(QDir(info.absolutePath()).filePath(QStringLiteral(".") + info.fileName() + QStringLiteral(".XXXXXX")));
    file.setAutoRemove(false);
    if (!file.open())
        throw jet::fileAccessDenied(finalPath.toStdString());
    // A temporary file is private to its owner; the target gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(file.handle(), 0666 & ~mask);
    final_ << finalPath;
    temporary_ << file.fileName();
    return file.fileName();
}

namespace {

// On disk before it gets its name: a crash right after the export keeps either
// the old state or the whole new file.
bool syncToDisk(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

void StagedFiles::commit()
{
    if (final_.isEmpty())
        return;
    for (const QString& t : temporary_)
        if (!syncToDisk(t))
            throw jet::fileAccessDenied(t.toStdString());
    const QByteArray table = QFile::encodeName(final_.first());
    if (QFileInfo::exists(final_.first()))
        throw jet::tableExists(QFileInfo(final_.first()).fileName().toStdString());
    for (int i = 1; i < final_.size(); ++i) {
        if (::rename(QFile::encodeName(temporary_[i]).constData(), QFile::encodeName(final_[i]).constData()) != 0)
            throw jet::fileAccessDenied(final_[i].toStdString());
    }
    // link() refuses an existing name, so a table file that appeared meanwhile stays as it is.
    const QByteArray staged = QFile::encodeName(temporary_.first());
    bool moved = ::link(staged.constData(), table.constData()) == 0;
    int error = moved ? 0 : errno;
    if (!moved && (error == EPERM || error == EOPNOTSUPP || error == ENOSYS) && !QFileInfo::exists(final_.first())) {
        // File systems without hard links (FAT on a memory stick) take a plain rename.
        moved = ::rename(staged.constData(), table.constData()) == 0;
        error = moved ? 0 : errno;
    }
    if (!moved) {
        for (int i = 1; i < final_.size(); ++i)
            QFile::remove(final_[i]);
        if (error == EEXIST)
            throw jet::tableExists(QFileInfo(final_.first()).fileName().toStdString());
        throw jet::fileAccessDenied(final_.first().toStdString());
    }
    QFile::remove(temporary_.first());
    final_.clear();
    temporary_.clear();
}

} // namespace dao::isam
