#pragma once
// The texts the grid puts on the clipboard and reads back from it, without
// widgets: the plain rendering of records (tab-separated, one line each), the
// "HEX Recordset" rendering (field names, type numbers, then typed values
// with texts hex-encoded), and the pieces the two pastes are made of.
#include "framework/data/DbTypes.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

class TDataSet;
class TField;

// Both renderings of the same records.
struct TClipboardRecords {
    QString Plain; // one line per record, no title line
    QString Typed; // the "HEX Recordset" text
};

// A value in the plain rendering. office: the spreadsheet-compatible form
// (US dates, 24-hour times, texts with quotes or line breaks in double quotes).
QString PlainValue(const TField& field, bool office);
// A value in the typed rendering: dates and times as "day ms" of the time
// stamp, texts and binary values as hex digits of their bytes, others as
// their text. A null value is empty.
QString TypedValue(const TField& field);

// Renders the records with the given bookmarks (in that order; the current
// record when there are none) over the given fields. The dataset's attached
// controls are disabled meanwhile and the current record is the same after.
TClipboardRecords RenderRecords(TDataSet& dataSet, const std::vector<TField*>& fields,
                                const std::vector<TBookmark>& bookmarks, bool office);

// Texts that may hold any character: string and memo kinds.
bool IsTextFieldType(TFieldType type);
// Bytes and the blob kinds that are not memos.
bool IsBinaryFieldType(TFieldType type);
// Whether values of this type number travel hex-encoded in the typed
// rendering: the text and binary types, whose values may hold tabs, line
// breaks and zeros.
bool IsHexTransported(int typeNumber);
// Upper-case hex digits of the bytes, two per byte.
QString HexEncode(const QByteArray& bytes);
// The bytes of pairs of hex digits; an odd length (or a character that is
// not a hex digit) gives nothing.
QByteArray HexDecode(const QString& text);
// A typed date or time: "day ms"; either part not a number counts both as 0,
// day 0 is a time alone. Invalid (null) for an empty text; false when the
// numbers are not a day and a time of day.
bool TypedDateTime(const QString& text, QDateTime& value);

// The text of a clipboard block up to its first zero character, split into
// lines at CR LF, CR or LF; a break at the end makes no empty last line.
QStringList ClipboardLines(const QString& text);
// Joins lines holding an odd number of double quotes with the next line
// (by CR LF) until every line holds an even number; when the last line
// stays odd, the lines are given back as they came.
QStringList RejoinQuotedLines(const QStringList& lines);
// Takes the quotes off a line of the office form: a quote at the start, at
// the end and next to a tab goes, then each pair of quotes becomes one.
QString UnquoteLine(const QString& line);
// The values of a line (split at tabs; empty values are kept).
QStringList LineValues(const QString& line);
