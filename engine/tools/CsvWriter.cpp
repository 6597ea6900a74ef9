#include "engine/tools/CsvWriter.h"

namespace dao::tools {

std::string csvText(const std::string& text, bool forceQuotes)
{
    const bool quote = forceQuotes || text.find_first_of(",\"\r\n") != std::string::npos;
    if (!quote)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

std::string csvField(const Variant& value)
{
    switch (value.type()) {
    case VarType::Null:
        return {};
    case VarType::Text:
        return csvText(value.bytes(), value.bytes().empty());
    case VarType::Binary: {
        static const char* hex = "0123456789ABCDEF";
        std::string out;
        for (unsigned char c : value.bytes()) {
            out += hex[c >> 4];
            out += hex[c & 15];
        }
        return out;
    }
    default:
        return csvText(value.toText());
    }
}

void writeCsvRecord(std::ostream& out, const std::vector<std::string>& fields)
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            out << ',';
        out << fields[i];
    }
    out << "\r\n";
}

} // namespace dao::tools
