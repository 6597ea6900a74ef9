#include "daoui/SearchKeys.h"

#include <QStringList>

namespace {

TSearchKeys keysOf(const QList<TSearchRow>& rows, bool onlyChecked)
{
    QStringList names;
    QVariantList values;
    for (const TSearchRow& row : rows) {
        if (onlyChecked && !row.Checked)
            continue;
        names << row.Field;
        values << (row.Checked ? QVariant(row.Text) : QVariant());
    }
    return {names.join(QLatin1Char(';')), values.size() == 1 ? values.front() : QVariant(values)};
}

} // namespace

std::optional<TSearchKeys> FindKeys(const QList<TSearchRow>& rows)
{
    for (const TSearchRow& row : rows)
        if (row.Checked)
            return keysOf(rows, true);
    return std::nullopt;
}

std::optional<TSearchKeys> SeekKeys(const QList<TSearchRow>& rows)
{
    if (rows.isEmpty())
        return std::nullopt;
    return keysOf(rows, false);
}
