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
    size_t write(const void* buffer, size_t bytes)
    {
        // The single bytes pxlib fills blocks with stay in the page in use.
        if (bytes == 1 && current_ && current_->index == position_ / kPageSize && !failed_) {
            current_->data[size_t(position_ % kPageSize)] = *static_cast<const char*>(buffer);
            current_->dirty = true;
            if (++position_ > size_)
                size_ = position_;
            return 1;
        }
        return writeSlow(buffer, bytes);
    }
    int seek(long offset, int whence); // 0, or -1 for a position before the start
    long tell() const { return long(position_); }
    bool flush(); // every changed page to the file
    bool failed() const { return failed_; }

private:
    static constexpr std::int64_t kPageSize = 1 << 16;
    size_t writeSlow(const void* buffer, size_t bytes);

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
    Page* current_ = nullptr; // the page used last
    bool failed_ = false;
};

} // namespace dao::isam
