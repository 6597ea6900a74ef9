#pragma once
// libmdb trusts what an Access file says about itself: a damaged catalogue or
// table definition can make it loop without end or fail inside. Before a file
// is opened for real, a child process reads its header, catalogue, table
// definitions and usage maps through libmdb; only a file the child got
// through, in a time bounded by the file's size, is opened in the program.
#include <string>

namespace dao {

// True when libmdb reads the structure of the Access file at path without
// failing or hanging.
bool mdbStructureReadable(const std::string& path, long long fileSize);

} // namespace dao
