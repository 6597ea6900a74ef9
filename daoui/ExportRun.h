#pragma once
// One export as the export dialog runs it: the chosen columns as field
// visibility, the export of the chosen type, the schema.ini entries of text
// and HTML targets and a new database for an Access target. No widgets.
#include "daoui/ExportTypes.h"

#include <functional>

class TVoDaoTable;

// An entry of the dialog's column list: the field it stands for (by name)
// and whether it is checked.
struct TExportColumn {
    QString FieldName;
    bool Checked = true;
};

// Runs work with each listed field shown when its entry is checked and
// hidden when it is not. Afterwards, also when work raises, each field that
// was changed gets its former visibility back. The dataset's controls are
// disabled meanwhile.
void WithExportColumns(TVoDaoTable& table, const QList<TExportColumn>& columns, const std::function<void()>& work);

// The entries a text or HTML target gets in the schema.ini beside it.
struct TSchemaEntries {
    bool FieldNames = true;
    QString Format;       // "Delimited(;)", "TabDelimited", "CSVDelimited", "FixedLength" or "HTML"
    QString CharacterSet; // "ANSI", "OEM" or a code page number
    QString Width;        // the column width of "FixedLength"
};

// Writes the entries, in this order, into the section named after the file
// (extension included) of the schema.ini in the file's folder (the current
// folder for a bare name): ColNameHeader, MaxScanRows=0, Format,
// CharacterSet; with "FixedLength" then " Width <Width>" appended to each
// entry Col1 … Col<columnCount> that is there and names no width yet.
// Raises when the file cannot be written.
void WriteSchemaEntries(const QString& fileName, const TSchemaEntries& entries, int columnCount);

struct TExportRequest {
    TExportType Type;
    QString FileName;
    bool Blobs = true;
    bool Overwrite = true;
    QString SheetName;     // spreadsheet targets
    QString TargetTable;   // Access targets
    TSchemaEntries Schema; // text and HTML targets
};

// Runs the export of the request's type. False when there was nothing to do:
// no file name, or a spreadsheet without a sheet name. Text and HTML are
// exported, given their schema.ini entries and exported again under them.
// An Access target that does not exist is made first (and removed again
// when the export fails); the table then goes in without replacing
// anything. Errors of the dataset and the engine are raised.
bool RunExport(TVoDaoTable& table, const TExportRequest& request);
