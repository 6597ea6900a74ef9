#pragma once
// How the filter dialog turns its rows of conditions into a dataset's Filter
// text and into the lines the grid keeps between calls, and how it reads
// those lines back. No widgets: the dialog keeps its rows as these values.
#include "framework/data/DbTypes.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The operations of a condition row, each with its blanks.
const QStringList& FilterOperations();
// The connectors that join a row to the next one.
const QStringList& FilterConnectors();
// " IS NULL " and " IS NOT NULL " take no operand.
bool TakesOperand(const QString& operation);

struct TFilterRow {
    QString Field;     // empty: no field chosen
    QString Operation; // empty: no operation chosen
    QString Operand;
    bool OperandEnabled = true;
    QString Connector = QStringLiteral("And"); // joins this row to the next
    bool operator==(const TFilterRow&) const = default;
};

// A kept line: field + "***" + operation + "***" + operand + "***" + connector.
QString FilterLine(const TFilterRow& row);
// A kept line read back. The connector is what follows the last "***" (an
// operand may hold "***" itself); a connector that is not "And" or "Or"
// reads as "And". The operand is enabled unless the operation takes none.
TFilterRow ParseFilterLine(const QString& line);

struct TFilterResult {
    QString Filter;    // empty when no row is used
    QStringList Lines; // one per used row, in row order
};

// The filter text and the kept lines of the rows. A row is used when its
// field and operation are chosen and its operand is disabled or not empty.
// The first used row gives "(" + condition + ") ", each later one the
// connector of the row above it and " (" + condition + ") ". Text operands
// stand in double quotes (a quote in the operand doubled), date and time
// operands between number signs (one typed in the user's own date form
// written as the engine reads dates); names that are not plain words go in
// square brackets. fieldTypes gives each offered field's type. A kept line
// carries the connector that joined its row to the next used one, so that
// the lines, reopened one row each, give the same filter.
TFilterResult BuildFilter(const QList<TFilterRow>& rows, const QHash<QString, TFieldType>& fieldTypes);
