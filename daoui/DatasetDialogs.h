#pragma once
// Entry points of the dataset dialogs, for the grid menu and the buttons.
// Each makes its dialog, runs it modally through the application's
// interaction seam and frees it. A dataset that is not open gets no dialog
// (false). Errors of the dataset during a search are shown by the
// application's error display while the dialog stays open.
#include <QList>
#include <QString>
#include <QStringList>

class TVoDaoDBGrid;
class TVoDaoTable;

// The field names the sort dialog offers: the data fields that are not blobs
// (memo and binary fields cannot be sorted on), in field order.
QStringList SortableFieldNames(const TVoDaoTable& table);

// "Sort": the sort dialog with SortableFieldNames, SortedBy and UseBrackets.
// On OK the new lines are set as SortedBy, which re-sorts the open dataset
// at once (the caller need not reopen it), and the result is true. Should
// the engine refuse the new order, the former SortedBy is put back and the
// error raised. On Cancel SortedBy is left exactly as it was.
bool ExecuteSortDialog(TVoDaoTable& table);

// "Find" (seekMode false) and "Seek" (true): the find/seek dialog, one row
// per field. True when the user closed it with "Ok"; the dataset then stands
// on what the last search found. The caller that wants the former record
// back after Cancel keeps a bookmark before the call.
bool ExecuteFindSeekDialog(TVoDaoTable& table, bool seekMode);

// "Quick Find" and "Quick Seek": the quick find/seek dialog on one field;
// fieldName (the grid's current column) is preselected when it is listed.
// Result and position as for ExecuteFindSeekDialog.
bool ExecuteQuickFindSeek(TVoDaoTable& table, bool seekMode, const QString& fieldName);

// One column of a grid as the export dialog lists it: the grid fills one per
// column, in column order, and hands the list to ExecuteExportDialogForGrid.
struct TExportGridColumn {
    QString TitleCaption; // the text of the column list entry
    bool Visible = true;  // the entry starts checked
    QString FieldName;    // the dataset field the column shows; empty for none
};
using TExportGridColumns = QList<TExportGridColumn>;

// "Export": the export dialog on the dataset's visible fields, its save
// dialog starting in initialDir (when not empty). Each unchecked field is
// hidden for the export and visible again afterwards, also when the export
// fails. True when the dialog closed after an export.
bool ExecuteExportDialog(TVoDaoTable& table, const QString& initialDir);

// "Save as - export" of a grid: the same with the grid's columns listed, each
// checked when the column is visible. For the export each listed field is
// shown when its entry is checked and hidden when not; every field changed
// gets its former visibility back afterwards. The dataset's ExportMethod is
// left as it is: the grid sets VisibleFields around the call.
bool ExecuteExportDialogForGrid(TVoDaoTable& table, const TExportGridColumns& columns, const QString& initialDir);

// "Filter": the filter dialog on the dataset's fields and the conditions the
// grid keeps. True on "Ok", with filter and conditions rebuilt from the rows
// (an empty filter when no row is used); the caller applies the filter.
bool ExecuteFilterDialog(TVoDaoTable& table, QString& filter, QStringList& conditions);

// "Choose Visible Columns": the column chooser on the grid. True on "Ok";
// on Cancel the columns are shown and hidden as before.
bool ExecuteColumnChooser(TVoDaoDBGrid& grid);

// "Select Index" (table-type recordsets): the index dialog starting on
// indexName. The name the dataset is to use: the one chosen on "OK" (empty
// for none), indexName itself otherwise.
QString ExecuteSelectIndex(TVoDaoTable& table, const QString& indexName);
