#pragma once
// Book numbers as they are typed, pasted and imported.
#include <QString>
#include <optional>

namespace numbers {

// The runtime's integer syntax: optional leading blanks, an optional sign,
// decimal digits or hexadecimal digits after "$", "x", "X", "0x" or "0X";
// nothing after the digits; the value must fit 32 bits. Nothing otherwise.
std::optional<qint32> ParseInteger(const QString& text);

// The runtime's refusal of a text that is no integer ("'12a' ist kein gültiger Integerwert").
QString NotAnIntegerText(const QString& text);

// A book number as the capture field holds it: digits only, a value of at
// most 2147483647 ("007" is 7). Nothing for anything else.
std::optional<qint32> ParseBookNumber(const QString& text);

// Characters the capture field takes: digits, backspace and Enter.
bool IsCaptureKey(QChar key);

// The duplicate test of the capture for the number text in the list listIdx.
QString CaptureTestQuery(const QString& numberText, const QString& listIdx);

} // namespace numbers
