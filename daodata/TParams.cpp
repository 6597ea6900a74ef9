#include "daodata/TParams.h"
#include "framework/data/EDatabaseError.h"

namespace {

bool isNameStart(QChar c) { return c.isLetter() || c == '_'; }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == '_'; }

} // namespace

TParam* TParams::FindParam(const QString& name)
{
    for (TParam& p : items_)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

TParam& TParams::ParamByName(const QString& name)
{
    if (TParam* p = FindParam(name))
        return *p;
    DatabaseError(QStringLiteral("Parameter '%1' nicht gefunden").arg(name));
}

QStringList TParams::NamesIn(const QString& sql)
{
    QStringList names;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == '\'' || c == '"' || c == '[' || c == '#' || c == '`') {
            const QChar close = c == '[' ? QChar(']') : c;
            const qsizetype end = sql.indexOf(close, i + 1);
            if (end < 0)
                break;
            i = end;
            continue;
        }
        if (c != ':' || i + 1 >= n)
            continue;
        if (sql[i + 1] == ':') { // "::" is a literal colon
            ++i;
            continue;
        }
        if (!isNameStart(sql[i + 1]) || (i > 0 && isNameChar(sql[i - 1])))
            continue;
        qsizetype end = i + 1;
        while (end < n && isNameChar(sql[end]))
            ++end;
        const QString name = sql.mid(i + 1, end - i - 1);
        if (!names.contains(name, Qt::CaseInsensitive))
            names << name;
        i = end - 1;
    }
    return names;
}

void TParams::ParseSQL(const QString& sql)
{
    std::vector<TParam> parsed;
    for (const QString& name : NamesIn(sql)) {
        TParam param;
        param.Name = name;
        if (const TParam* old = FindParam(name)) {
            param.DataType = old->DataType;
            param.Value = old->Value;
        }
        parsed.push_back(param);
    }
    items_ = std::move(parsed);
}
