#pragma once
// Statement text arrives as UTF-8 or, from older callers, as Windows-1252 bytes.
#include <string>
#include <string_view>

namespace dao::sql {

bool isValidUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as
// Windows' own conversion does.
std::string cp1252ToUtf8(std::string_view bytes);

// The text as UTF-8: unchanged when it is valid UTF-8, else read as Windows-1252.
std::string statementToUtf8(std::string_view bytes);

// Appends code point cp as UTF-8.
void appendUtf8(std::string& out, char32_t cp);

// Length of the UTF-8 sequence at byte i and its code point; 0 when invalid.
size_t decodeUtf8(std::string_view s, size_t i, char32_t& cp);

// Decodes UTF-8 (invalid bytes become U+FFFD).
std::u32string utf8ToU32(std::string_view text);
std::string u32ToUtf8(std::u32string_view text);

// Windows-1252 code of a code point, or -1 when the code page lacks it.
int unicodeToCp1252(char32_t cp);
char32_t cp1252ToUnicode(unsigned char byte);

} // namespace dao::sql
