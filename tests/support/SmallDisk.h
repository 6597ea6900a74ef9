#pragma once
// A small tmpfs mounted for a test, to meet a full or a read-only disk. Mounting
// needs root (as CI runs); elsewhere mounted() is false and the test skips.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

namespace testsupport {

class SmallDisk {
public:
    SmallDisk(const QString& at, int kib) : path_(at), options_(QByteArray("size=") + QByteArray::number(kib) + "k")
    {
        QDir().mkpath(at);
        mounted_ = geteuid() == 0 && ::mount("tmpfs", at.toLocal8Bit(), "tmpfs", 0, options_.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(path_.toLocal8Bit(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }

    // Takes every free byte with a file of its own.
    void fill() const
    {
        QFile filler(path_ + ".filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size())
            ;
        while (filler.write("x", 1) == 1)
            ;
    }
    void freeUp() const { QFile::remove(path_ + ".filler"); }
    bool setReadOnly(bool readOnly) const
    {
        return ::mount(nullptr, path_.toLocal8Bit(), nullptr, MS_REMOUNT | (readOnly ? MS_RDONLY : 0),
                       options_.constData()) == 0;
    }
    // The files on the disk but the filler.
    QStringList files() const
    {
        QStringList names = QDir(path_).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        names.removeAll(".filler");
        return names;
    }

private:
    QString path_;
    QByteArray options_;
    bool mounted_ = false;
};

} // namespace testsupport

#define NEED_SMALL_DISK(disk)                                                                                          \
    if (!(disk).mounted())                                                                                             \
    GTEST_SKIP() << "a small file system can be mounted by root only"
