#pragma once
// The files of one export target (a table file and its companions such as a
// memo file) written under temporary names beside their final places and
// moved into place together once complete. An existing target file is never
// touched: the move of the table file refuses to replace one (3010). Files
// still staged when the object goes are removed, so an export that fails
// leaves nothing behind.
#include <QString>
#include <QStringList>

namespace dao::isam {

class StagedFiles {
public:
    StagedFiles() = default;
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    ~StagedFiles();

    // Stages the table file (the first one added) or a companion; returns the
    // temporary path to write. The temporary file exists, empty.
    QString add(const QString& finalPath);
    QString temporaryPath(int index) const { return temporary_.at(index); }

    // Companions first, the table file last; afterwards nothing is staged.
    void commit();

private:
    QStringList final_, temporary_;
};

} // namespace dao::isam
