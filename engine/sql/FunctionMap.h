#pragma once
// The Jet functions the translator knows: arity and the SQLite function that
// implements each (registered by registerJetFunctions).
#include <string>
#include <string_view>

namespace dao::sql {

struct FunctionInfo {
    std::string_view jetName; // upper case, without '$'
    std::string_view sqlName;
    int minArgs;
    int maxArgs;
    bool aggregate;
    bool allowsDollar; // LCase$ and the like
};

// True for the functions whose result is always a number (or Null).
bool returnsNumber(const FunctionInfo& f);

// What is known of a function by its name as written (case-insensitive, "$" accepted where VBA has it).
const FunctionInfo* findFunction(std::string_view name);

} // namespace dao::sql
