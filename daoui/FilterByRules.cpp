#include "daoui/FilterByRules.h"

#include "daodata/VoDaoSqlText.h"
#include "framework/data/TimeStamp.h"
#include "framework/data/ValueText.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

const QString kSeparator = QStringLiteral("***");

// A name the engine reads without brackets: a letter or "_", then letters, digits and "_".
bool IsPlainName(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[\\p{L}_][\\p{L}\\p{N}_]*$"));
    return plain.match(name).hasMatch();
}

// The engine reads #…# as month/day/year. A date or time typed in the
// user's own form is written that way, so that 01.02.2024 means 1 February;
// anything else (a pattern, a form of the engine's own) stays as typed.
QString DateOperand(const QString& operand, TFieldType type)
{
    if (type == ftTime) {
        QTime time;
        if (TextToTime(operand, time))
            return vodao::DateLiteral(DateTimeToNumber(QDateTime(QDate(1899, 12, 30), time)), ftTime);
    } else {
        QDate date;
        if (TextToDate(operand, date))
            return vodao::DateLiteral(DateTimeToNumber(QDateTime(date, QTime(0, 0))), ftDate);
        QDateTime dateTime;
        if (TextToDateTime(operand, dateTime))
            return vodao::DateLiteral(DateTimeToNumber(dateTime), ftDateTime);
    }
    return QLatin1Char('#') + operand + QLatin1Char('#');
}

// The engine reads numbers with a decimal point. A number typed with the
// user's decimal separator (12,5 in German) is written with a point; anything
// else (a number of the engine's own form, an expression) stays as typed.
QString NumberOperand(const QString& operand)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    const QString decimal = locale.decimalPoint();
    if (decimal == QLatin1String(".") || !operand.contains(decimal))
        return operand;
    bool ok = false;
    locale.toDouble(operand.trimmed(), &ok);
    if (!ok)
        return operand;
    QString written = operand.trimmed();
    written.replace(decimal, QStringLiteral("."));
    written.replace(locale.negativeSign(), QStringLiteral("-"));
    return written;
}

QString Condition(const TFilterRow& row, TFieldType type)
{
    const QString name = IsPlainName(row.Field) ? row.Field : QLatin1Char('[') + row.Field + QLatin1Char(']');
    if (!TakesOperand(row.Operation))
        return name + row.Operation;
    switch (type) {
    case ftString:
    case ftMemo: return name + row.Operation + vodao::QuotedText(row.Operand);
    case ftDate:
    case ftTime:
    case ftDateTime: return name + row.Operation + DateOperand(row.Operand, type);
    default:
        return name + row.Operation + (IsNumericFieldType(type) ? NumberOperand(row.Operand) : row.Operand);
    }
}

bool IsUsed(const TFilterRow& row)
{
    return !row.Field.isEmpty() && !row.Operation.isEmpty() && (!row.OperandEnabled || !row.Operand.isEmpty());
}

} // namespace

const QStringList& FilterOperations()
{
    static const QStringList operations{
        QStringLiteral(" = "),  QStringLiteral(" > "),    QStringLiteral(" < "),
        QStringLiteral(" >= "), QStringLiteral(" <= "),   QStringLiteral(" <> "),
        QStringLiteral(" LIKE "), QStringLiteral(" IS NULL "), QStringLiteral(" IS NOT NULL "),
    };
    return operations;
}

const QStringList& FilterConnectors()
{
    static const QStringList connectors{QStringLiteral("And"), QStringLiteral("Or")};
    return connectors;
}

bool TakesOperand(const QString& operation)
{
    return operation != QLatin1String(" IS NULL ") && operation != QLatin1String(" IS NOT NULL ");
}

QString FilterLine(const TFilterRow& row)
{
    return row.Field + kSeparator + row.Operation + kSeparator + row.Operand + kSeparator + row.Connector;
}

TFilterRow ParseFilterLine(const QString& line)
{
    TFilterRow row;
    const int fieldEnd = line.indexOf(kSeparator);
    row.Field = line.left(fieldEnd);
    if (fieldEnd < 0)
        return row;
    const int operationStart = fieldEnd + kSeparator.size();
    const int operationEnd = line.indexOf(kSeparator, operationStart);
    row.Operation = line.mid(operationStart, operationEnd < 0 ? -1 : operationEnd - operationStart);
    row.OperandEnabled = TakesOperand(row.Operation);
    if (operationEnd < 0)
        return row;
    const int operandStart = operationEnd + kSeparator.size();
    const int connectorStart = line.lastIndexOf(kSeparator);
    if (connectorStart >= operandStart) {
        row.Operand = line.mid(operandStart, connectorStart - operandStart);
        const QString connector = line.mid(connectorStart + kSeparator.size());
        if (FilterConnectors().contains(connector))
            row.Connector = connector;
    } else {
        row.Operand = line.mid(operandStart);
    }
    if (!row.OperandEnabled)
        row.Operand.clear();
    return row;
}

TFilterResult BuildFilter(const QList<TFilterRow>& rows, const QHash<QString, TFieldType>& fieldTypes)
{
    QList<int> used;
    for (int k = 0; k < rows.size(); ++k)
        if (IsUsed(rows[k]))
            used << k;
    TFilterResult result;
    for (int i = 0; i < used.size(); ++i) {
        const TFilterRow& row = rows[used[i]];
        const QString condition = Condition(row, fieldTypes.value(row.Field, ftUnknown));
        if (i == 0)
            result.Filter = QLatin1Char('(') + condition + QStringLiteral(") ");
        else
            result.Filter += rows[used[i] - 1].Connector + QStringLiteral(" (") + condition + QStringLiteral(") ");
        // The kept lines reopen without the unused rows between them: each
        // keeps the connector that joined it to the next used row, so that
        // they give this filter again.
        TFilterRow kept = row;
        if (i + 1 < used.size())
            kept.Connector = rows[used[i + 1] - 1].Connector;
        result.Lines << FilterLine(kept);
    }
    return result;
}
