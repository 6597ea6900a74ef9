#pragma once
// RFC 4180 CSV: fields separated by commas, records ended by CRLF; a field with
// a comma, quote, CR or LF is quoted with inner quotes doubled; null is an
// empty field and empty text is "".
#include "engine/Variant.h"

#include <ostream>
#include <string>
#include <vector>

namespace dao::tools {

std::string csvField(const Variant& value);
std::string csvText(const std::string& text, bool forceQuotes = false);
void writeCsvRecord(std::ostream& out, const std::vector<std::string>& fields);

} // namespace dao::tools
