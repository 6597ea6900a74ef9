#pragma once
// Jet's LIKE: * any run, ? one character, # one digit, [abc] [!abc] [a-z] one of
// (or none of) a group; [*] [?] [#] [[] stand for the character itself, ] outside
// a group is itself, [] matches nothing, - is literal first or last in a group.
// % and _ are ordinary characters. Case-insensitive.
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace dao::sql {

class LikePattern {
public:
    explicit LikePattern(std::string_view pattern); // UTF-8
    bool valid() const { return valid_; }           // false: an unclosed '[' or a descending range
    bool matches(std::string_view text) const;      // UTF-8

private:
    struct Item {
        enum Kind { Any, One, Digit, Char, Set } kind;
        Item(Kind k, char32_t c = 0) : kind(k), ch(c) {}
        char32_t ch = 0; // Char: case-folded
        bool negate = false;
        std::vector<std::pair<char32_t, char32_t>> ranges; // Set: single characters folded
    };
    bool matchOne(const Item& item, char32_t c) const; // c is case-folded
    std::vector<Item> items_;
    bool valid_ = true;
};

bool jetLike(std::string_view text, std::string_view pattern);

// Registers jet_like(value, pattern) on the connection.
void registerJetLike(sqlite3* db);

} // namespace dao::sql
