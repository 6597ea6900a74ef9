#include "tests/support/TempFolder.h"
#include "tests/support/Fixtures.h"

#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace testsupport {

TempFolder::TempFolder()
{
    if (!dir_.isValid())
        throw std::runtime_error("cannot create temporary folder");
}

QString TempFolder::path() const { return dir_.path() + '/'; }

QString TempFolder::file(const QString& name) const { return path() + name; }

QString TempFolder::copyFixture(const QString& relative, const QString& asName) const
{
    const QString source = fixturePath(relative);
    const QString target = file(asName.isEmpty() ? QFileInfo(source).fileName() : asName);
    QFile::remove(target);
    if (!QFile::copy(source, target))
        throw std::runtime_error("cannot copy fixture " + source.toStdString());
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return target;
}

void TempFolder::write(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + name.toStdString());
    f.write(bytes);
}

QByteArray TempFolder::read(const QString& name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool TempFolder::exists(const QString& name) const { return QFileInfo::exists(file(name)); }

} // namespace testsupport
