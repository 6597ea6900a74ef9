#pragma once
// Splits Jet SQL (already UTF-8) into tokens. Malformed literals become error
// tokens so that the parser can report them with the expression they are in.
#include <string>
#include <string_view>
#include <vector>

namespace dao::sql {

enum class Tok {
    End,
    Word,      // bare name or keyword, possibly ending in '$'
    Name,      // [bracketed] or `back-quoted` name; text without delimiters
    String,    // '...' or "..."; text unescaped
    Number,    // 12, 1.5, .5, 1E10
    Date,      // #...#; text between the signs
    Guid,      // {guid {...}}; text = 32 hex digits in storage byte order
    Op,        // punctuation and operators; text is the operator
    BadString, // unterminated string (runs to the end)
    BadName,   // unterminated bracket
    BadDate,   // unterminated date
    BadGuid,   // malformed GUID literal
    BadChar,   // a character that starts no token
};

struct Token {
    Tok kind = Tok::End;
    std::string text;
    size_t begin = 0; // byte offsets into the statement text
    size_t end = 0;
};

std::vector<Token> tokenize(std::string_view sql);

// Words and names compare as SQLite compares names: ASCII letters without regard to case.
bool sameWord(std::string_view a, std::string_view b);
std::string upperWord(std::string_view word);
// Parts of a list in SQL, "a, b, c".
std::string joinList(const std::vector<std::string>& parts, const char* separator = ", ");

} // namespace dao::sql
