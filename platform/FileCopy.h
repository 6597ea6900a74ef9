#pragma once
#include <QString>
#include <functional>

namespace platform {

// Copies source to target, overwriting target. The data goes to a temporary
// file beside target that is renamed into place when complete, so a failed
// copy never leaves a half-written target, and an old target stays until the
// new one is complete. progress is called between chunks (for repainting);
// returns false when the copy failed, with the reason in error when given.
bool copyFile(const QString& source, const QString& target, const std::function<void()>& progress = {},
              QString* error = nullptr);

} // namespace platform
