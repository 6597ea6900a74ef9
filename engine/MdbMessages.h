#pragma once
// libmdb reports what it dislikes in a file with printf and fprintf, on
// standard output and standard error, once per row or without end. While an
// MdbMessages lives, both go into a small buffer of its own instead (what
// does not fit is dropped); the reader then says in one line what happened.
#include <string>

namespace dao {

class MdbMessages {
public:
    MdbMessages();
    ~MdbMessages(); // gives standard output and error back
    MdbMessages(const MdbMessages&) = delete;
    MdbMessages& operator=(const MdbMessages&) = delete;

    // The first line libmdb wrote so far ("" for none) and how many lines it wrote
    // (counted in the kept part).
    std::string firstLine();
    int lines();
    // Writes "quillstock: <file>: <what>: <first line> (and <n> more)" to the real
    // standard error when libmdb wrote something, and forgets what it wrote.
    void report(const std::string& path, const std::string& what);

private:
    void flush();
    int buffer_ = -1;
    int savedOut_ = -1;
    int savedErr_ = -1;
};

} // namespace dao
