#pragma once
// Statements that differ only in the whole numbers they compare with ("... WHERE
// NR = 4711 AND Liste = 3", opened again for every number scanned) share one
// translation and one prepared statement: each such number becomes a slot, a
// SQLite parameter bound to its value. Only a number that stands alone on the
// right of a comparison in the WHERE clause of a single SELECT becomes a slot;
// there its value cannot change how the statement is translated.
#include "Statement.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dao::sql {

// Slot i is bound as ?<kLiteralSlotBase + 1 + i>, above any parameter a statement has.
inline constexpr int kLiteralSlotBase = 200;

// A statement's text with its slot numbers replaced by markers.
struct LiteralShape {
    std::string text;                 // the key under which the translation is kept
    std::vector<std::int64_t> values; // the numbers taken out, in order
};

// The shape of a Jet statement; nullopt when no number of it can be a slot.
std::optional<LiteralShape> literalShape(std::string_view jetSql);

// Turns the translation of shape.text into one with the slots as parameters.
// actual is the translation of the text the shape came from: the two must
// differ only by the numbers, and only in the WHERE clause of one SELECT, or
// nothing is changed and false returned.
bool makeSlots(Statement& shaped, const Statement& actual, const LiteralShape& shape);

// The statement with its slots written as the numbers they hold (for text that cannot carry parameters).
void inlineSlots(Statement& st);

} // namespace dao::sql
