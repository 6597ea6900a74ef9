#include "Lexer.h"

#include <cctype>

namespace dao::sql {

namespace {

bool isWordStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool isWordChar(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isHex(unsigned char c) { return std::isxdigit(c) != 0; }

// Parses "{guid {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}}" at i; on success returns
// the end offset and the 16 bytes in Microsoft's layout (Data1..3 little-endian).
size_t lexGuid(std::string_view s, size_t i, std::string& hex)
{
    size_t p = i + 1;
    auto skipSpace = [&] { while (p < s.size() && std::isspace(static_cast<unsigned char>(s[p]))) ++p; };
    skipSpace();
    if (p + 4 > s.size())
        return 0;
    for (int k = 0; k < 4; ++k)
        if (std::tolower(static_cast<unsigned char>(s[p + k])) != "guid"[k])
            return 0;
    p += 4;
    skipSpace();
    if (p >= s.size() || s[p] != '{')
        return 0;
    ++p;
    std::string digits;
    static constexpr int groups[5] = {8, 4, 4, 4, 12};
    for (int g = 0; g < 5; ++g) {
        if (g > 0) {
            if (p >= s.size() || s[p] != '-')
                return 0;
            ++p;
        }
        for (int k = 0; k < groups[g]; ++k, ++p) {
            if (p >= s.size() || !isHex(static_cast<unsigned char>(s[p])))
                return 0;
            digits += static_cast<char>(std::toupper(static_cast<unsigned char>(s[p])));
        }
    }
    if (p >= s.size() || s[p] != '}')
        return 0;
    ++p;
    skipSpace();
    if (p >= s.size() || s[p] != '}')
        return 0;
    ++p;
    auto swapped = [&](size_t from, size_t bytes) {
        for (size_t b = bytes; b-- > 0;)
            hex += digits.substr(from + 2 * b, 2);
    };
    hex.clear();
    swapped(0, 4);
    swapped(8, 2);
    swapped(12, 2);
    hex += digits.substr(16);
    return p;
}

} // namespace

std::vector<Token> tokenize(std::string_view s)
{
    std::vector<Token> out;
    size_t i = 0;
    const size_t n = s.size();
    while (true) {
        while (i < n && std::isspace(static_cast<unsigned char>(s[i])))
            ++i;
        Token t;
        t.begin = i;
        if (i >= n) {
            t.kind = Tok::End;
            t.end = n;
            out.push_back(std::move(t));
            return out;
        }
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == '\'' || c == '"') {
            t.kind = Tok::BadString;
            size_t p = i + 1;
            while (p < n) {
                if (s[p] == static_cast<char>(c)) {
                    if (p + 1 < n && s[p + 1] == static_cast<char>(c)) {
                        t.text += s[p];
                        p += 2;
                        continue;
                    }
                    t.kind = Tok::String;
                    ++p;
                    break;
                }
                t.text += s[p++];
            }
            i = p;
        } else if (c == '[' || c == '`') {
            const char close = c == '[' ? ']' : '`';
            const size_t p = s.find(close, i + 1);
            if (p == std::string_view::npos) {
                t.kind = Tok::BadName;
                t.text = std::string(s.substr(i));
                i = n;
            } else {
                t.kind = Tok::Name;
                t.text = std::string(s.substr(i + 1, p - i - 1));
                i = p + 1;
            }
        } else if (c == '#') {
            const size_t p = s.find('#', i + 1);
            if (p == std::string_view::npos) {
                t.kind = Tok::BadDate;
                t.text = std::string(s.substr(i + 1));
                i = n;
            } else {
                t.kind = Tok::Date;
                t.text = std::string(s.substr(i + 1, p - i - 1));
                i = p + 1;
            }
        } else if (c == '{') {
            std::string hex;
            const size_t p = lexGuid(s, i, hex);
            if (p == 0) {
                t.kind = Tok::BadGuid;
                const size_t close = s.find('}', i);
                i = close == std::string_view::npos ? n : close + 1;
                if (i < n && s[i] == '}')
                    ++i;
                t.text = std::string(s.substr(t.begin, i - t.begin));
            } else {
                t.kind = Tok::Guid;
                t.text = hex;
                i = p;
            }
        } else if (isDigit(c) || (c == '.' && i + 1 < n && isDigit(static_cast<unsigned char>(s[i + 1])))) {
            t.kind = Tok::Number;
            size_t p = i;
            while (p < n && isDigit(static_cast<unsigned char>(s[p])))
                ++p;
            if (p < n && s[p] == '.') {
                ++p;
                while (p < n && isDigit(static_cast<unsigned char>(s[p])))
                    ++p;
            }
            if (p < n && (s[p] == 'e' || s[p] == 'E')) {
                size_t q = p + 1;
                if (q < n && (s[q] == '+' || s[q] == '-'))
                    ++q;
                if (q < n && isDigit(static_cast<unsigned char>(s[q]))) {
                    while (q < n && isDigit(static_cast<unsigned char>(s[q])))
                        ++q;
                    p = q;
                }
            }
            t.text = std::string(s.substr(i, p - i));
            i = p;
        } else if (isWordStart(c)) {
            t.kind = Tok::Word;
            size_t p = i;
            while (p < n && isWordChar(static_cast<unsigned char>(s[p])))
                ++p;
            if (p < n && s[p] == '$')
                ++p;
            t.text = std::string(s.substr(i, p - i));
            i = p;
        } else {
            static constexpr std::string_view two[] = {"<>", "<=", ">="};
            t.kind = Tok::Op;
            bool found = false;
            for (auto op : two) {
                if (s.substr(i, 2) == op) {
                    t.text = std::string(op);
                    i += 2;
                    found = true;
                    break;
                }
            }
            if (!found) {
                static constexpr std::string_view ops = "=<>+-*/\\^&(),.;!?";
                if (ops.find(static_cast<char>(c)) != std::string_view::npos) {
                    t.text = std::string(1, static_cast<char>(c));
                } else {
                    t.kind = Tok::BadChar;
                    t.text = std::string(1, static_cast<char>(c));
                }
                ++i;
            }
        }
        t.end = i;
        out.push_back(std::move(t));
    }
}

bool sameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string joinList(const std::vector<std::string>& parts, const char* separator)
{
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += separator;
        out += parts[i];
    }
    return out;
}

std::string upperWord(std::string_view word)
{
    std::string u(word);
    for (auto& c : u)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

} // namespace dao::sql
