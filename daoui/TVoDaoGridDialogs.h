#pragma once
// The dataset dialogs the grid's menu opens, as entry points that each
// dialog puts in when it is built. A grid copies the table when it is made
// (a test may hand a grid entry points of its own); a menu entry whose entry
// point is empty is shown disabled.
#include <QString>
#include <QStringList>
#include <functional>

class TVoDaoTable;
class TVoDaoDBGrid;

struct TVoDaoGridDialogs {
    // "Select Index": the index selection dialog on the current index name;
    // returns the name the dataset is to use (the current one when cancelled).
    std::function<QString(TVoDaoTable& table, const QString& indexName)> selectIndex;
    // "Sort": the sort dialog; true when the dataset was given a new order.
    std::function<bool(TVoDaoTable& table)> sort;
    // "Filter": the filter dialog with the current filter text (changed in
    // place) and the conditions the grid keeps between calls; true on OK.
    std::function<bool(TVoDaoTable& table, QString& filter, QStringList& conditions)> filter;
    // "Find"/"Seek": the find dialog in find or seek mode; true when it found.
    std::function<bool(TVoDaoTable& table, bool seekMode)> findSeek;
    // "Quick Find"/"Quick Seek": the quick find/seek dialog on a field; true when it found.
    std::function<bool(TVoDaoTable& table, bool seekMode, const QString& fieldName)> quickFindSeek;
    // "Choose Visible Columns": the visible-columns dialog on the grid.
    std::function<void(TVoDaoDBGrid& grid)> chooseVisibleColumns;
    // "Save as - export": the export dialog for the dataset shown in the grid, starting in initialDir.
    std::function<void(TVoDaoTable& table, TVoDaoDBGrid& grid, const QString& initialDir)> exportForGrid;
    // "Cut", "Copy", "Paste": the grid clipboard.
    std::function<void(TVoDaoDBGrid& grid)> cut;
    std::function<void(TVoDaoDBGrid& grid)> copy;
    std::function<void(TVoDaoDBGrid& grid)> paste;
};

// The entry points of the dialogs that are there.
const TVoDaoGridDialogs& VoDaoGridDialogs();
