#include "platform/CodePages.h"

#include <array>

namespace platform {
namespace {

// Upper halves (0x80..0xFF) of the two code pages; 0 marks an unassigned byte.
constexpr std::array<char16_t, 32> kCp1252_80_9F = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr std::array<char16_t, 128> kCp850 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8,
    0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2,
    0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1,
    0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD,
    0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2,
    0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534,
    0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560,
    0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4,
    0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD,
    0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8, 0x00B0,
    0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0};

char16_t cp1252ToUnicode(unsigned char b)
{
    if (b < 0x80 || b >= 0xA0)
        return b;
    const char16_t u = kCp1252_80_9F[b - 0x80];
    return u ? u : char16_t(b); // unassigned bytes pass through as C1 controls
}

char16_t cp850ToUnicode(unsigned char b) { return b < 0x80 ? char16_t(b) : kCp850[b - 0x80]; }

int unicodeToCp1252(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kCp1252_80_9F[i] == u && u != 0)
            return 0x80 + i;
    if (u >= 0x80 && u < 0xA0) // C1 controls of unassigned bytes round-trip
        return kCp1252_80_9F[u - 0x80] == 0 ? int(u) : -1;
    return -1;
}

int unicodeToCp850(char16_t u)
{
    if (u < 0x80)
        return u;
    for (int i = 0; i < 128; ++i)
        if (kCp850[i] == u)
            return 0x80 + i;
    return -1;
}

} // namespace

QString fromCp1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out.append(QChar(cp1252ToUnicode(static_cast<unsigned char>(c))));
    return out;
}

QByteArray toCp1252(const QString& text, char replacement)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const int b = unicodeToCp1252(c.unicode());
        out.append(b < 0 ? replacement : char(b));
    }
    return out;
}

QString fromCp850(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out.append(QChar(cp850ToUnicode(static_cast<unsigned char>(c))));
    return out;
}

QByteArray toCp850(const QString& text, char replacement)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const int b = unicodeToCp850(c.unicode());
        out.append(b < 0 ? replacement : char(b));
    }
    return out;
}

QByteArray oemToAnsi(const QByteArray& oem) { return toCp1252(fromCp850(oem)); }

QByteArray ansiToOem(const QByteArray& ansi) { return toCp850(fromCp1252(ansi)); }

bool isValidUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p++;
        if (c < 0x80)
            continue;
        int extra;
        char32_t cp;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p < extra)
            return false;
        for (int i = 0; i < extra; ++i, ++p) {
            if ((*p & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (*p & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
    }
    return true;
}

QString fromUtf8OrCp1252(const QByteArray& bytes)
{
    return isValidUtf8(bytes) ? QString::fromUtf8(bytes) : fromCp1252(bytes);
}

} // namespace platform
