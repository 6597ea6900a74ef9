#pragma once
// Tells a database file's format by its first bytes.
#include <string>

namespace dao {

enum class FileFormat { Sqlite, Jet };

// Raises Jet's errors: 3044 (folder missing), 3024 (file missing),
// 3051 (cannot be read), 3343 (neither a Jet nor a SQLite database).
FileFormat detectFileFormat(const std::string& path);

} // namespace dao
