#include "daodata/VoDaoSqlText.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>

namespace vodao {
namespace {

struct DateParts {
    QDate date;
    int hour, minute, second;
};

DateParts splitDate(double jetDays)
{
    const double whole = std::trunc(jetDays);
    const double frac = std::fabs(jetDays - whole);
    long secs = std::lround(frac * 86400.0);
    if (secs >= 86400)
        secs = 86399;
    return {QDate(1899, 12, 30).addDays(qint64(whole)), int(secs / 3600), int(secs / 60 % 60), int(secs % 60)};
}

QString two(int v) { return QString::number(v).rightJustified(2, '0'); }

bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == '_'; }

} // namespace

QString Bracketed(const QString& name, bool useBrackets)
{
    if (!useBrackets)
        return name;
    return '[' + QString(name).replace('.', QStringLiteral("].[")) + ']';
}

QString QuotedText(const QString& text) { return '"' + QString(text).replace('"', QStringLiteral("\"\"")) + '"'; }

QString DateLiteral(double jetDays, TFieldType type)
{
    const DateParts p = splitDate(jetDays);
    const QString date = two(p.date.month()) + '/' + two(p.date.day()) + '/' + QString::number(p.date.year());
    const QString time = two(p.hour) + ':' + two(p.minute) + ':' + two(p.second);
    if (type == ftDate)
        return '#' + date + '#';
    if (type == ftTime)
        return '#' + time + '#';
    return '#' + date + ' ' + time + '#';
}

QString NumberLiteral(double value)
{
    QString text = QString::number(value, 'g', 17);
    // Prefer the shortest text that reads back as the same number.
    for (int precision = 1; precision < 17; ++precision) {
        const QString shorter = QString::number(value, 'g', precision);
        if (shorter.toDouble() == value) {
            text = shorter;
            break;
        }
    }
    if (text.contains('e'))
        text = QString::number(value, 'f', 10).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
    return text;
}

QString ParamValueText(const TParam& param)
{
    if (param.IsNull())
        return QStringLiteral(" IS NULL");
    switch (param.DataType) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftBlob:
    case ftMemo:
    case ftFmtMemo: return QuotedText(param.Value.toString());
    case ftFloat:
    case ftCurrency:
    case ftBCD: return NumberLiteral(param.Value.toDouble());
    case ftDate:
    case ftTime:
    case ftDateTime: return DateLiteral(param.Value.toDouble(), param.DataType);
    case ftGuid: return QStringLiteral("{guid ") + param.Value.toString() + '}';
    default: return param.Value.toString();
    }
}

QString SubstituteParams(const QString& sql, const TParams& params)
{
    QString text = sql;
    for (int i = params.Count() - 1; i >= 0; --i) {
        const QString token = ':' + params[i].Name;
        const QString value = ParamValueText(params[i]);
        qsizetype from = 0;
        while ((from = text.indexOf(token, from, Qt::CaseInsensitive)) >= 0) {
            const qsizetype end = from + token.size();
            if (end < text.size() && isNameChar(text[end])) {
                from = end;
                continue;
            }
            text.replace(from, token.size(), value);
            from += value.size();
        }
    }
    return text;
}

} // namespace vodao
