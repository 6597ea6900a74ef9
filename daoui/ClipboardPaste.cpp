#include "daoui/ClipboardPaste.h"

#include "daoui/ClipboardTexts.h"
#include "daoui/TVoDaoDateTime.h"
#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TDataSet.h"
#include "framework/data/TField.h"

#include <algorithm>

namespace {

bool IsDateTimeType(int type)
{
    return type == ftDate || type == ftTime || type == ftDateTime;
}

bool SameName(const QString& a, const QString& b)
{
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// The first column field of which matches says yes.
TField* FirstColumnField(const TPasteContext& context, const std::function<bool(const TField&)>& matches)
{
    for (TField* field : context.ColumnFields)
        if (field && matches(*field))
            return field;
    return nullptr;
}

TField* FieldByCaption(const TPasteContext& context, const QString& title)
{
    if (!context.Caption)
        return nullptr;
    return FirstColumnField(context, [&](const TField& f) { return SameName(context.Caption(f), title); });
}

TField* FieldByName(const TPasteContext& context, const QString& name)
{
    return FirstColumnField(context, [&](const TField& f) { return SameName(f.FieldName(), name); });
}

std::vector<TField*> Targets(const QStringList& names, const TPasteContext& context,
                             const std::function<TField*(const QString& name)>& match)
{
    std::vector<TField*> targets;
    for (qsizetype k = 0; k < names.size(); ++k) {
        TField* field = context.FindFields ? match(names[k]) : nullptr;
        if (!field && size_t(k) < context.ColumnFields.size())
            field = context.ColumnFields[size_t(k)];
        const bool usable = field && field->FieldKind() == fkData && !field->ReadOnly()
            && std::find(targets.begin(), targets.end(), field) == targets.end();
        targets.push_back(usable ? field : nullptr);
    }
    return targets;
}

// Raised for a pasted line that has fewer values than it must.
[[noreturn]] void MissingValues()
{
    DatabaseError(QStringLiteral("Zu wenige Werte in der eingefügten Zeile"));
}

} // namespace

std::vector<TField*> TypedPasteTargets(const QStringList& names, const TPasteContext& context)
{
    return Targets(names, context, [&](const QString& name) { return FieldByName(context, name); });
}

std::vector<TField*> TitlePasteTargets(const QStringList& titles, const TPasteContext& context)
{
    return Targets(titles, context, [&](const QString& title) {
        TField* field = FieldByCaption(context, title);
        return field ? field : FieldByName(context, title);
    });
}

bool NamesColumnFields(const QStringList& values, const TPasteContext& context)
{
    return !values.isEmpty() && std::all_of(values.begin(), values.end(), [&](const QString& value) {
        return FieldByCaption(context, value) || FieldByName(context, value);
    });
}

void AssignTypedValue(TField& target, const QString& value, int sourceType)
{
    if (IsDateTimeType(target.DataType()) && IsDateTimeType(sourceType)) {
        QDateTime dateTime;
        if (!TypedDateTime(value, dateTime))
            DatabaseError(DbText(DbConsts::SInvalidDateTime).arg(value));
        target.SetAsDateTime(dateTime); // an invalid one clears the field
        return;
    }
    if (!IsHexTransported(sourceType)) {
        target.SetText(value);
        return;
    }
    const QByteArray bytes = HexDecode(value);
    if (IsBinaryFieldType(target.DataType())) {
        if (bytes.isEmpty())
            target.Clear();
        else
            target.SetAsBytes(bytes);
        return;
    }
    target.SetText(IsTextFieldType(TFieldType(sourceType)) ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes));
}

void AssignTextValue(TField& target, const QString& value)
{
    if (!IsDateTimeType(target.DataType())) {
        target.SetText(value);
        return;
    }
    const QDateTime dateTime = ParsePastedDateTime(value);
    if (dateTime.isValid())
        target.SetAsDateTime(dateTime);
}

TPasteResult AppendRecords(TDataSet& dataSet, const QStringList& lines,
                           const std::function<void(const QString& line)>& fill,
                           const std::function<void(int done, int total)>& progress)
{
    TPasteResult result;
    result.Ran = true;
    dataSet.DisableControls();
    try {
        for (const QString& line : lines) {
            try {
                dataSet.Append();
                fill(line);
                dataSet.Post();
                ++result.Appended;
            } catch (const std::exception&) {
                ++result.Failed;
                // Nothing of the failed record is kept.
                if (dataSet.State() == dsInsert || dataSet.State() == dsEdit)
                    dataSet.Cancel();
            }
            if (progress)
                progress(result.Appended + result.Failed, int(lines.size()));
        }
    } catch (...) {
        dataSet.EnableControls();
        throw;
    }
    dataSet.EnableControls();
    return result;
}

TPasteResult PasteTypedRecords(TDataSet& dataSet, const QString& text, const TPasteContext& context)
{
    QStringList lines = ClipboardLines(text);
    if (lines.size() <= 2)
        return {};
    const QStringList names = LineValues(lines.takeFirst());
    const QStringList typeTexts = LineValues(lines.takeFirst());
    std::vector<int> types;
    for (qsizetype k = 0; k < names.size(); ++k)
        types.push_back(k < typeTexts.size() ? typeTexts[k].toInt() : ftUnknown);
    const std::vector<TField*> targets = TypedPasteTargets(names, context);
    if (context.Confirm && !context.Confirm(int(lines.size())))
        return {};
    return AppendRecords(dataSet, lines, [&](const QString& line) {
        const QStringList values = LineValues(line);
        if (values.size() < names.size())
            MissingValues();
        for (size_t k = 0; k < targets.size(); ++k)
            if (targets[k])
                AssignTypedValue(*targets[k], values[qsizetype(k)], types[k]);
    }, context.Progress);
}

TPasteResult PasteTextRecords(TDataSet& dataSet, const QString& text, bool titleLine,
                              const TPasteContext& context)
{
    QStringList lines = ClipboardLines(text);
    if (lines.isEmpty())
        return {};
    QStringList titles;
    if (titleLine || NamesColumnFields(LineValues(lines.front()), context))
        titles = LineValues(lines.takeFirst());
    lines = RejoinQuotedLines(lines);
    for (QString& line : lines)
        line = UnquoteLine(line);
    const bool withTitles = !titles.isEmpty();
    // Without titles value k goes to the field of column k.
    const std::vector<TField*> targets = withTitles
        ? TitlePasteTargets(titles, context)
        : Targets(QStringList(qsizetype(context.ColumnFields.size()), QString()), context,
                  [](const QString&) { return nullptr; });
    if (context.Confirm && !context.Confirm(int(lines.size())))
        return {};
    if (lines.isEmpty())
        return {};
    return AppendRecords(dataSet, lines, [&](const QString& line) {
        const QStringList values = LineValues(line);
        if (withTitles && values.size() < titles.size())
            MissingValues();
        for (size_t k = 0; k < targets.size() && k < size_t(values.size()); ++k)
            if (targets[k])
                AssignTextValue(*targets[k], values[qsizetype(k)]);
    }, context.Progress);
}
