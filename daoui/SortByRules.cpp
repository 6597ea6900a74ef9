#include "daoui/SortByRules.h"

namespace {

// Takes a trailing " WORD" (any case) off text; false when it does not end so.
bool takeTrailingWord(QString& text, QLatin1String word)
{
    const QString suffix = QLatin1Char(' ') + word;
    if (!text.endsWith(suffix, Qt::CaseInsensitive))
        return false;
    text.chop(suffix.size());
    text = text.trimmed();
    return true;
}

} // namespace

TSortField ParseSortLine(const QString& line)
{
    QString text = line;
    while (text.contains(QLatin1String("  ")))
        text.replace(QLatin1String("  "), QLatin1String(" "));
    text.remove(QLatin1Char('['));
    text.remove(QLatin1Char(']'));
    text = text.trimmed();
    // Only a last word counts as the direction: a field named "Item
    // DESCRIPTION" is a name, not a descending "Item".
    TSortField field;
    field.Descending = takeTrailingWord(text, QLatin1String("DESC"));
    if (!field.Descending)
        takeTrailingWord(text, QLatin1String("ASC"));
    field.Name = text;
    return field;
}

QStringList SortLines(const QList<TSortField>& fields, bool useBrackets)
{
    QStringList lines;
    for (const TSortField& field : fields) {
        const QString name = useBrackets ? QLatin1Char('[') + field.Name + QLatin1Char(']') : field.Name;
        lines << name + (field.Descending ? QLatin1String(" DESC") : QLatin1String(" ASC"));
    }
    return lines;
}

QStringList UnsortedFields(const QStringList& available, const QStringList& sortedNames)
{
    QStringList rest;
    for (const QString& name : available)
        if (!sortedNames.contains(name))
            rest << name;
    return rest;
}
