#pragma once
#include <QString>
#include <functional>

namespace platform {

// Copies source to target, overwriting target. The data goes to a temporary
// file beside target that is renamed into place when complete, so a failed
// copy never leaves a half-written target. progress is called between chunks
// (for repainting); returns false when the copy failed.
bool copyFile(const QString& source, const QString& target, const std::function<void()>& progress = {});

} // namespace platform
