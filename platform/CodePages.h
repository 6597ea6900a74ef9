#pragma once
// The two 8-bit code pages the program meets: Windows-1252 (ANSI) and code
// page 850 (OEM, the German DOS default), and UTF-8, which the engine and the
// files it writes use otherwise. The tables of both code pages live here only.
#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

namespace platform {

// The numbers of the system's ANSI and OEM code pages.
constexpr int kAnsiCodePage = 1252;
constexpr int kOemCodePage = 850;

// One character: the code point of a byte, and the byte of a code point (-1 when
// the code page lacks it). The five bytes Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value and back, as
// Windows' own conversion does.
char32_t cp1252ToUnicode(unsigned char byte);
int unicodeToCp1252(char32_t cp);
char32_t cp850ToUnicode(unsigned char byte);
int unicodeToCp850(char32_t cp);

QString fromCp1252(const QByteArray& bytes);
QByteArray toCp1252(const QString& text, char replacement = '?');
QString fromCp850(const QByteArray& bytes);
QByteArray toCp850(const QString& text, char replacement = '?');

// Byte-wise translation between the OEM and the ANSI character sets, as the
// platform's OemToChar / CharToOem do for one-byte strings.
QByteArray oemToAnsi(const QByteArray& oem);
QByteArray ansiToOem(const QByteArray& ansi);

// Text that is valid UTF-8 is read as UTF-8, anything else as Windows-1252.
QString fromUtf8OrCp1252(const QByteArray& bytes);
bool isValidUtf8(const QByteArray& bytes);

// The same for byte strings: valid UTF-8 is returned unchanged, anything else is
// read as Windows-1252 and returned as UTF-8.
std::string utf8OrCp1252ToUtf8(std::string_view bytes);
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 one code point at a time.
bool isValidUtf8(std::string_view bytes);
// Length of the UTF-8 sequence at byte i and its code point; 0 when invalid.
size_t decodeUtf8(std::string_view s, size_t i, char32_t& cp);
void appendUtf8(std::string& out, char32_t cp);
// Decodes UTF-8 (invalid bytes become U+FFFD) and encodes it again.
std::u32string utf8ToU32(std::string_view text);
std::string u32ToUtf8(std::u32string_view text);

} // namespace platform
