#pragma once
// How the dataset writes names and values into SQL and filter text: names in
// square brackets, text in double quotes with inner quotes doubled, numbers
// with a full stop, dates as #mm/dd/yyyy hh:nn:ss#, GUIDs as {guid {…}}.
#include "daodata/TParams.h"
#include "framework/data/DbTypes.h"

#include <QString>
#include <QVariant>

namespace vodao {

// "[name]", a dotted name piece by piece ("a.b" -> "[a].[b]"); unchanged when useBrackets is off.
QString Bracketed(const QString& name, bool useBrackets);

// Text in double quotes, inner double quotes doubled.
QString QuotedText(const QString& text);

// A date-time (days since 1899-12-30) as #mm/dd/yyyy#, #hh:nn:ss# or #mm/dd/yyyy hh:nn:ss#.
QString DateLiteral(double jetDays, TFieldType type);

// A number with '.' as decimal separator and no thousands separators.
QString NumberLiteral(double value);

// The text a parameter value takes in SQL (" IS NULL" for null).
QString ParamValueText(const TParam& param);

// Puts the values of params into sql, last parameter first; only whole
// ":name" tokens are replaced (":A" never touches ":AB").
QString SubstituteParams(const QString& sql, const TParams& params);

} // namespace vodao
