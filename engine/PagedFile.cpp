#include "engine/PagedFile.h"

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dao::isam {
namespace {

constexpr size_t kPages = 16;

} // namespace

PagedFile::PagedFile(const QString& path) : pages_(kPages)
{
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        failed_ = true;
    else
        size_ = st.st_size;
}

PagedFile::~PagedFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool PagedFile::store(Page& p)
{
    if (!p.dirty)
        return true;
    const std::int64_t start = p.index * kPageSize;
    const std::int64_t length = std::min<std::int64_t>(kPageSize, size_ - start);
    if (length > 0 && ::pwrite(fd_, p.data.data(), size_t(length), start) != length)
        return !(failed_ = true);
    p.dirty = false;
    return true;
}

PagedFile::Page& PagedFile::page(std::int64_t index)
{
    // pxlib writes much of a block a byte at a time: the page in use answers first.
    if (current_ && current_->index == index)
        return *current_;
    ++clock_;
    for (Page& p : pages_)
        if (p.index == index) {
            p.used = clock_;
            current_ = &p;
            return p;
        }
    Page& victim = *std::min_element(pages_.begin(), pages_.end(), [](const Page& a, const Page& b) { return a.used < b.used; });
    store(victim);
    victim.data.assign(size_t(kPageSize), 0);
    victim.index = index;
    victim.used = clock_;
    const std::int64_t start = index * kPageSize;
    if (start < size_ && ::pread(fd_, victim.data.data(), size_t(std::min(kPageSize, size_ - start)), start) < 0)
        failed_ = true;
    current_ = &victim;
    return victim;
}

size_t PagedFile::read(void* buffer, size_t bytes)
{
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < bytes && position_ < size_) {
        Page& p = page(position_ / kPageSize);
        const std::int64_t at = position_ % kPageSize;
        const size_t n = size_t(std::min<std::int64_t>({kPageSize - at, std::int64_t(bytes - done), size_ - position_}));
        std::memcpy(out + done, p.data.data() + at, n);
        done += n;
        position_ += std::int64_t(n);
    }
    return done;
}

size_t PagedFile::writeSlow(const void* buffer, size_t bytes)
{
    const auto* in = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < bytes) {
        Page& p = page(position_ / kPageSize);
        const std::int64_t at = position_ % kPageSize;
        const size_t n = size_t(std::min<std::int64_t>(kPageSize - at, std::int64_t(bytes - done)));
        std::memcpy(p.data.data() + at, in + done, n);
        p.dirty = true;
        done += n;
        position_ += std::int64_t(n);
        size_ = std::max(size_, position_);
    }
    return failed_ ? 0 : done;
}

int PagedFile::seek(long offset, int whence)
{
    const std::int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? position_ : size_;
    if (base + offset < 0)
        return -1;
    position_ = base + offset;
    return 0;
}

bool PagedFile::flush()
{
    for (Page& p : pages_)
        store(p);
    if (!failed_ && ::ftruncate(fd_, size_) != 0)
        failed_ = true;
    return !failed_ && ::fsync(fd_) == 0;
}

} // namespace dao::isam
