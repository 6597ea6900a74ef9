#pragma once
// Jet 4.0's message texts of the syntax errors the translator raises.
#include <string>

namespace dao::sql {

std::string errorText(long number);

} // namespace dao::sql
