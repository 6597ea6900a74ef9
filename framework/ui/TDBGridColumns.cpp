#include "framework/ui/TDBGridColumns.h"

#include "framework/data/TDataSet.h"
#include "framework/data/TField.h"

QString TColumn::TitleCaption() const
{
    if (!Title.Caption.isEmpty())
        return Title.Caption;
    return Field ? Field->DisplayLabel() : FieldName;
}

Qt::Alignment TColumn::CellAlignment() const
{
    if (Alignment)
        return *Alignment;
    if (!Field)
        return Qt::AlignLeft;
    return IsNumericFieldType(Field->DataType()) ? Qt::AlignRight : Qt::AlignLeft;
}

TColumn& TDBGridColumns::Add(const QString& fieldName)
{
    m_state = csCustomized;
    m_columns.push_back(TColumn{});
    m_columns.back().FieldName = fieldName;
    return m_columns.back();
}

void TDBGridColumns::Clear()
{
    m_columns.clear();
    m_state = csDefault;
}

int TDBGridColumns::IndexOfField(const QString& fieldName) const
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].FieldName == fieldName)
            return int(i);
    return -1;
}

void TDBGridColumns::Rebuild(TDataSet* dataSet)
{
    const bool open = dataSet && dataSet->Active();
    if (m_state == csCustomized) {
        for (TColumn& column : m_columns)
            column.Field = open ? dataSet->FindField(column.FieldName) : nullptr;
        return;
    }
    // A field that keeps its column keeps the width it was given.
    std::vector<TColumn> old;
    old.swap(m_columns);
    if (!open)
        return;
    for (TField* field : dataSet->Fields()) {
        if (!field->Visible())
            continue;
        TColumn column;
        column.FieldName = field->FieldName();
        column.Field = field;
        for (const TColumn& before : old)
            if (before.FieldName == column.FieldName)
                column.Width = before.Width;
        m_columns.push_back(column);
    }
}
