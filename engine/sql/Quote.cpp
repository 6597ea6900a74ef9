#include "Quote.h"

namespace dao::sql {

namespace {

std::string quoted(std::string_view text, char quote)
{
    std::string out(1, quote);
    out.reserve(text.size() + 2);
    for (char c : text) {
        out += c;
        if (c == quote)
            out += quote;
    }
    return out + quote;
}

} // namespace

std::string quoteIdentifier(std::string_view name) { return quoted(name, '"'); }

std::string quoteString(std::string_view text) { return quoted(text, '\''); }

std::string jetName(std::string_view name) { return "[" + std::string(name) + "]"; }

} // namespace dao::sql
