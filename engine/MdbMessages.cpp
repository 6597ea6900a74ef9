#include "engine/MdbMessages.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <stdio_ext.h>
#include <sys/mman.h>
#include <unistd.h>

namespace dao {

namespace {

constexpr off_t kKeptBytes = 4096;

} // namespace

MdbMessages::MdbMessages()
{
    std::fflush(stdout);
    std::fflush(stderr);
    // A sealed memory file of fixed size: writes past its end fail, so a loop
    // that prints without end costs no memory.
    buffer_ = memfd_create("libmdb-messages", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (buffer_ >= 0 && (ftruncate(buffer_, kKeptBytes) != 0
                         || fcntl(buffer_, F_ADD_SEALS, F_SEAL_GROW | F_SEAL_SHRINK) != 0)) {
        close(buffer_);
        buffer_ = -1;
    }
    if (buffer_ < 0)
        buffer_ = open("/dev/null", O_WRONLY | O_CLOEXEC); // nothing kept, nothing shown
    if (buffer_ < 0)
        return;
    savedOut_ = dup(STDOUT_FILENO);
    savedErr_ = dup(STDERR_FILENO);
    dup2(buffer_, STDOUT_FILENO);
    dup2(buffer_, STDERR_FILENO);
}

MdbMessages::~MdbMessages()
{
    flush();
    if (savedOut_ >= 0) {
        dup2(savedOut_, STDOUT_FILENO);
        close(savedOut_);
    }
    if (savedErr_ >= 0) {
        dup2(savedErr_, STDERR_FILENO);
        close(savedErr_);
    }
    if (buffer_ >= 0)
        close(buffer_);
}

void MdbMessages::flush()
{
    std::fflush(stdout);
    std::fflush(stderr);
    // What did not fit must not come out later on the real streams.
    __fpurge(stdout);
    __fpurge(stderr);
    clearerr(stdout);
    clearerr(stderr);
}

namespace {

std::string kept(int fd)
{
    std::string text(kKeptBytes, '\0');
    const ssize_t got = fd >= 0 ? pread(fd, text.data(), text.size(), 0) : -1;
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    text.erase(std::find(text.begin(), text.end(), '\0'), text.end());
    return text;
}

} // namespace

std::string MdbMessages::firstLine()
{
    flush();
    const std::string text = kept(buffer_);
    return text.substr(0, text.find('\n'));
}

int MdbMessages::lines()
{
    flush();
    const std::string text = kept(buffer_);
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

void MdbMessages::report(const std::string& path, const std::string& what)
{
    const std::string first = firstLine();
    if (first.empty())
        return;
    const int more = lines() - 1;
    std::string line = "quillstock: " + path + ": " + what + ": " + first;
    if (more > 0)
        line += " (and " + std::to_string(more) + " more)";
    line += '\n';
    if (ssize_t written = write(savedErr_ >= 0 ? savedErr_ : STDERR_FILENO, line.data(), line.size()); written < 0)
        return;
    if (buffer_ >= 0) { // the next report tells only what came after this one
        const std::string blank(kKeptBytes, '\0');
        if (pwrite(buffer_, blank.data(), blank.size(), 0) < 0 || lseek(buffer_, 0, SEEK_SET) < 0)
            return;
    }
}

} // namespace dao
