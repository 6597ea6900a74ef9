#pragma once
#include <QString>

namespace platform {

// Hands a file to the desktop's default program for its type (the shell's
// "open" verb). Returns false when no program could be started.
bool shellOpen(const QString& file);

} // namespace platform
