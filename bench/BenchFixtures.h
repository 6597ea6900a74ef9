#pragma once
// Where the benchmark programs find the fixtures: the folder named by
// $QUILLSTOCK_FIXTURES, else the one the build was configured with
// (QUILLSTOCK_FIXTURES in the top CMakeLists.txt, beside the checkout).
#include <cstdlib>
#include <string>

namespace bench {

inline std::string fixturesFolder()
{
    const char* env = std::getenv("QUILLSTOCK_FIXTURES");
    return env && *env ? std::string(env) : std::string(QUILLSTOCK_DEFAULT_FIXTURES);
}

// The catalogue a benchmark reads: the 100,000-copy one, or the small one for --small.
inline std::string catalogueFile(bool small)
{
    return fixturesFolder() + (small ? "/catalogue/veltrano.mdb" : "/catalogue/veltrano-100k.mdb");
}

} // namespace bench
