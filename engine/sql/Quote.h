#pragma once
// Writing names and text into statements: the one place that quotes them.
#include <string>
#include <string_view>

namespace dao::sql {

// A SQLite identifier: "name", inner double quotes doubled.
std::string quoteIdentifier(std::string_view name);
// A SQLite string literal: 'text', inner single quotes doubled.
std::string quoteString(std::string_view text);
// A Jet name in brackets, for statements the engine writes in Jet's dialect.
std::string jetName(std::string_view name);

} // namespace dao::sql
