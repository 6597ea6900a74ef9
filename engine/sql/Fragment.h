#pragma once
// A translated piece of expression: its SQLite text and what kind of value it is,
// which decides where a COLLATE or a -1/0 conversion is needed.
#include <string>
#include <string_view>

namespace dao::sql {

enum class Shape {
    Column, // a column reference: comparisons take the column's collation
    Text,   // a text literal
    Number, // a numeric literal (dates and booleans included)
    Null,
    Bool,    // a truth value of SQLite (1/0); Jet wants -1/0 as a value
    Numeric, // a computed number: collations never apply
    Other,
};

struct Fragment {
    std::string sql; // safe to use as an operand: atomic or parenthesised
    Shape shape = Shape::Other;
    std::string text; // Text: the literal's value; Column: the column name
    std::string qualifier; // Column: the table name written before it, if any
    double number = 0; // Number: the literal's value
};

inline constexpr const char* kCollate = " COLLATE JETTEXT";

// As a value: SQLite's truth values 1/0 become Jet's -1/0.
inline std::string asValue(const Fragment& f)
{
    return f.shape == Shape::Bool ? "(-" + f.sql + ")" : f.sql;
}

inline std::string asCondition(const Fragment& f)
{
    return f.sql;
}

inline bool isColumn(const Fragment& f)
{
    return f.shape == Shape::Column;
}

// True when the value is surely no text, so that a collation would change nothing.
inline bool isNumber(const Fragment& f)
{
    return f.shape == Shape::Number || f.shape == Shape::Numeric || f.shape == Shape::Bool || f.shape == Shape::Null;
}

std::string quoteIdentifier(std::string_view name);
std::string quoteString(std::string_view text);

} // namespace dao::sql
