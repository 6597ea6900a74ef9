#pragma once
// Jet's General sort order for text: case-insensitive for all of Unicode,
// accent-sensitive ("a" < "ä" < "b"), ß equal to ss. ICU does the work; pure ASCII
// compares through a table taken from the same collator, so both paths agree.
#include <string_view>

struct sqlite3;

namespace dao::sql {

// <0, 0, >0 as a sorts before, equal to or after b (both UTF-8).
int compareJetText(std::string_view a, std::string_view b);
// The same through ICU alone, without the ASCII table (for checking the table).
int compareJetTextIcu(std::string_view a, std::string_view b);
// Compares two single characters (for LIKE ranges such as [a-z]).
int compareJetChar(char32_t a, char32_t b);
// Simple case folding: equal for characters that differ only in case.
char32_t foldCase(char32_t c);

// Registers the collation "JETTEXT" on the connection.
void registerJetCollation(sqlite3* db);

} // namespace dao::sql
