#include "daodata/VoDaoReplacedFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace vodao {

ReplacedFiles::~ReplacedFiles()
{
    for (auto it = moved_.crbegin(); it != moved_.crend(); ++it)
        QFile::rename(it->second, it->first);
}

bool ReplacedFiles::SetAside(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists() && !info.isSymLink())
        return true;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString aside = info.dir().filePath(QStringLiteral(".%1.%2.replaced")
                                                      .arg(info.fileName())
                                                      .arg(QRandomGenerator::global()->generate(), 0, 36));
        if (QFileInfo::exists(aside))
            continue;
        if (!QFile::rename(fileName, aside))
            return false;
        moved_.append({fileName, aside});
        return true;
    }
    return false;
}

void ReplacedFiles::Release()
{
    for (const auto& [original, aside] : moved_)
        QFile::remove(aside);
    moved_.clear();
}

} // namespace vodao
