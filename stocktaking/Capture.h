#pragma once
// Capture of one book number into the active list.
#include <QString>

class TVoDaoTable;

namespace capture {

enum class Outcome { Stored, AlreadyThere };

// Tests whether the active list (its IDX as text) holds the number typed,
// through the count dataset, and otherwise appends it to the entries. The
// text is checked before any query is built from it: only digits up to
// 2147483647 pass ("'…' ist kein gültiger Integerwert" otherwise); an empty
// text goes to the engine, which refuses the query. The count dataset is
// closed afterwards in every case.
Outcome CaptureNumber(TVoDaoTable& count, TVoDaoTable& entries, const QString& text, const QString& listIdx);

} // namespace capture
