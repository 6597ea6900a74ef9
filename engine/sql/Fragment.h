#pragma once
// A translated piece of expression: its SQLite text, what kind of value it is
// (which decides where a COLLATE or a -1/0 conversion is needed) and its Jet type.
#include "Quote.h"
#include "Statement.h"

#include <optional>
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
    std::string table;     // Column: the alias of the table it was found in, where known
    double number = 0; // Number: the literal's value
    int jetType = 0;   // a JetType by Jet's rules for expressions; kUnknownType, kNullType
};

inline Fragment fragment(std::string sql, Shape shape = Shape::Other)
{
    Fragment f;
    f.sql = std::move(sql);
    f.shape = shape;
    return f;
}

inline constexpr int kUnknownType = 0; // the values decide
inline constexpr int kNullType = -1;   // the Null literal: takes the type of what it stands beside

inline bool hasType(const Fragment& f, JetType t) { return f.jetType == static_cast<int>(t); }

inline std::optional<JetType> typeOf(const Fragment& f)
{
    if (f.jetType <= 0)
        return std::nullopt;
    return static_cast<JetType>(f.jetType);
}

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

} // namespace dao::sql
