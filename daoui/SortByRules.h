#pragma once
// How the sort dialog reads a dataset's SortedBy lines and writes them back.
// No widgets: the dialog keeps its rows as these values.
#include <QList>
#include <QString>
#include <QStringList>

struct TSortField {
    QString Name;
    bool Descending = false;
    bool operator==(const TSortField&) const = default;
};

// One SortedBy line as the dialog shows it: blanks run together, brackets
// removed, and a direction word at the end ("ASC" or "DESC", any case) taken
// off the name. A line without one is ascending.
TSortField ParseSortLine(const QString& line);
// The SortedBy lines for the dialog's rows: "[Name] ASC" with brackets,
// "Name DESC" without.
QStringList SortLines(const QList<TSortField>& fields, bool useBrackets);
// The fields that are not in the sort order (exact names), in their order.
QStringList UnsortedFields(const QStringList& available, const QStringList& sortedNames);
