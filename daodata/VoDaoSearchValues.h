#pragma once
// The key names and values of a record search, as the dataset's conditions
// and the engine's Seek take them.
#include "engine/Variant.h"
#include "framework/data/DbTypes.h"

#include <QDateTime>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace vodao {

inline const char* const kKeyCountMismatch =
    "Number of elements in the KeyValues array must be equal to the number of fields.";

// "A;B" -> {"A", "B"}, blanks around the names removed.
QStringList SplitNames(const QString& names);
// A list of values, or one value as a list of one.
QVariantList SplitValues(const QVariant& values);
bool IsNull(const QVariant& value);
bool IsTextType(TFieldType type);
bool IsNumberType(TFieldType type);
bool IsDateType(TFieldType type);
std::optional<double> NumberOf(const QVariant& value);
std::optional<QDateTime> DateTimeOf(const QVariant& value);
// A value as the engine takes it for Seek; it converts to the index field's type.
dao::Variant SeekKey(const QVariant& value);
// The characters that LIKE reads as patterns stand for themselves in brackets.
QString LikeLiteral(const QString& text);

} // namespace vodao
