#pragma once
// Completing a QSaveFile so that a full disk is noticed: QSaveFile::commit()
// does not report a failure of the last write of its buffer (it renames the
// short file into place and returns true), so the buffer is written and
// checked first, and on failure the temporary file is dropped.
#include <QSaveFile>

namespace platform {

// True when the whole file took the target's place; false leaves the target
// as it was, with the system's reason in reason when given.
inline bool commitWhole(QSaveFile& file, QString* reason = nullptr)
{
    const bool written = file.flush();
    if (!written && reason)
        *reason = file.errorString();
    if (!written)
        file.cancelWriting(); // commit() then only removes the temporary file
    if (file.commit())
        return true;
    if (written && reason)
        *reason = file.errorString();
    return false;
}

} // namespace platform
