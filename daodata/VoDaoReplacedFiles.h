#pragma once
// The files an export with DeleteOld replaces. They are moved aside (hidden,
// in their own folder) before the export runs, so that the engine finds the
// target free, and deleted only once the new file is complete; when the
// export fails they are put back as they were.
#include <QList>
#include <QPair>
#include <QString>

namespace vodao {

class ReplacedFiles {
public:
    ReplacedFiles() = default;
    ReplacedFiles(const ReplacedFiles&) = delete;
    ReplacedFiles& operator=(const ReplacedFiles&) = delete;
    ~ReplacedFiles(); // puts back every file not released

    // Moves fileName aside when it exists; false only when it exists and cannot be moved.
    bool SetAside(const QString& fileName);
    // The export succeeded: the old files go for good.
    void Release();

private:
    QList<QPair<QString, QString>> moved_; // original name, name aside
};

} // namespace vodao
