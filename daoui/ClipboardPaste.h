#pragma once
// Pasting records into a dataset, without widgets: which field each pasted
// value goes to, how a value is assigned, and the append of one record per
// line through the dataset's own Append and Post. A record that fails is
// cancelled and counted; the records posted before it stay.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class TDataSet;
class TField;

// What a paste needs from the grid.
struct TPasteContext {
    // The field of each grid column, in column order (null for a column without one).
    std::vector<TField*> ColumnFields;
    // Match the pasted names and titles to fields by name (FindFieldsOnPaste).
    bool FindFields = false;
    // The caption of a field (the DAO "Caption" property); none: no captions.
    std::function<QString(const TField&)> Caption;
    // Asks whether to paste this many records; false stops the paste.
    std::function<bool(int records)> Confirm;
    // Told after each record tried (posted or failed), with the number of records.
    std::function<void(int done, int total)> Progress;
};

// How a paste ended.
struct TPasteResult {
    bool Ran = false; // records were appended (or tried)
    int Appended = 0;
    int Failed = 0;
};

// The field for each pasted name or title (null: the value is skipped): the
// matched field, failing that the field of the column at the same position.
// Fields that are not data fields, are read-only or were chosen for an
// earlier name are not used.
std::vector<TField*> TypedPasteTargets(const QStringList& names, const TPasteContext& context);
std::vector<TField*> TitlePasteTargets(const QStringList& titles, const TPasteContext& context);
// Whether every value of a line names a column's field by caption or name.
bool NamesColumnFields(const QStringList& values, const TPasteContext& context);

// Assigns a value of the typed rendering whose source had the given type number.
void AssignTypedValue(TField& target, const QString& value, int sourceType);
// Assigns a value of a text paste: dates and times are read by the
// date-time component (and left unset when it cannot read them), other
// values are the field's text.
void AssignTextValue(TField& target, const QString& value);

// Appends one record per line, each filled by fill (which raises to refuse
// it) and posted; progress (when set) is told after each line. The dataset's
// attached controls are disabled meanwhile.
TPasteResult AppendRecords(TDataSet& dataSet, const QStringList& lines,
                           const std::function<void(const QString& line)>& fill,
                           const std::function<void(int done, int total)>& progress = {});

// The paste of a "HEX Recordset" text: field names, type numbers, records.
// Nothing happens with fewer than three lines or when Confirm says no.
TPasteResult PasteTypedRecords(TDataSet& dataSet, const QString& text, const TPasteContext& context);
// The paste of plain text (values in the office form are unquoted). The
// first line holds titles when titleLine is set, and also when each of its
// values names a column's field.
TPasteResult PasteTextRecords(TDataSet& dataSet, const QString& text, bool titleLine,
                              const TPasteContext& context);
