#include "engine/FileFormat.h"

#include "engine/JetErrors.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace dao {

FileFormat detectFileFormat(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path p(path);
    if (!fs::exists(p, ec)) {
        const fs::path parent = p.has_parent_path() ? p.parent_path() : fs::current_path(ec);
        if (!fs::is_directory(parent, ec))
            throw jet::invalidPath(path);
        throw jet::fileNotFound(path);
    }
    if (fs::is_directory(p, ec))
        throw jet::fileAccessDenied(path);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw jet::fileAccessDenied(path);
    char head[32] = {};
    in.read(head, sizeof head);
    const auto got = in.gcount();
    if (got >= 16 && std::memcmp(head, "SQLite format 3\0", 16) == 0)
        return FileFormat::Sqlite;
    if (got >= 32 && (std::memcmp(head + 4, "Standard Jet DB", 15) == 0
                      || std::memcmp(head + 4, "Standard ACE DB", 15) == 0)) {
        // A whole number of pages, at least the header page and the catalogue's first page.
        const auto size = fs::file_size(p, ec);
        const std::uintmax_t page = head[0x14] == 0 ? 2048 : 4096;
        if (ec || size < 2 * page || size % page != 0)
            throw jet::unrecognizedFormat(path);
        return FileFormat::Jet;
    }
    throw jet::unrecognizedFormat(path);
}

} // namespace dao
