#pragma once
// A file read and written at any position through a small cache of pages,
// for a library that seeks back and forth in the file it writes (pxlib
// rewrites a table's header for every record): the few pages in use stay in
// memory and the operating system sees large sequential writes. Memory is
// bounded by the cache, whatever the file's size.
#include <QString>
#include <cstdint>
#include <vector>

namespace dao::isam {

class PagedFile {
public:
    explicit PagedFile(const QString& path); // an existing file, opened for reading and writing
    ~PagedFile();
    PagedFile(const PagedFile&) = delete;
    PagedFile& operator=(const PagedFile&) = delete;

    size_t read(void* buffer, size_t bytes);
    size_t write(const void* buffer, size_t bytes);
    int seek(long offset, int whence); // 0, or -1 for a position before the start
    long tell() const { return long(position_); }
    bool flush(); // every changed page to the file
    bool failed() const { return failed_; }

private:
    struct Page {
        std::int64_t index = -1;
        std::vector<char> data;
        bool dirty = false;
        std::uint64_t used = 0;
    };
    Page& page(std::int64_t index);
    bool store(Page& p);

    int fd_ = -1;
    std::int64_t position_ = 0, size_ = 0;
    std::uint64_t clock_ = 0;
    std::vector<Page> pages_;
    bool failed_ = false;
};

} // namespace dao::isam
