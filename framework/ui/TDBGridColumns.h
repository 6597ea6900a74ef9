#pragma once
// The columns of a data grid: each shows one field of the dataset, found by
// name when the grid lays itself out. Declared columns stay as they were set;
// without any, the grid makes one default column per field when its dataset opens.
#include <QFont>
#include <QString>
#include <optional>
#include <vector>

class TDataSet;
class TField;

struct TColumnTitle {
    QString Caption; // empty: the field's display label
    Qt::Alignment Alignment = Qt::AlignLeft;
    std::optional<QFont> Font; // none: the grid's title font
};

struct TColumn {
    QString FieldName;
    TField* Field = nullptr; // bound by the grid's layout; null while the dataset is closed
    int Width = -1;          // -1: the field's default width
    bool Visible = true;
    bool ReadOnly = false;
    std::optional<Qt::Alignment> Alignment; // none: numbers right, everything else left
    TColumnTitle Title;

    // The caption shown in the title row.
    QString TitleCaption() const;
    Qt::Alignment CellAlignment() const;
};

class TDBGridColumns {
public:
    enum TColumnsState { csDefault, csCustomized };

    int Count() const { return int(m_columns.size()); }
    TColumn& Items(int index) { return m_columns[size_t(index)]; }
    const TColumn& Items(int index) const { return m_columns[size_t(index)]; }
    TColumn& operator[](int index) { return Items(index); }
    const TColumn& operator[](int index) const { return Items(index); }
    // A declared column (the grid then keeps its columns as they are).
    TColumn& Add(const QString& fieldName);
    void Clear();
    // csDefault while the columns are the grid's own, one per field.
    TColumnsState State() const { return m_state; }
    // The column showing a field of that name (exact comparison), or -1.
    int IndexOfField(const QString& fieldName) const;

    std::vector<TColumn>::iterator begin() { return m_columns.begin(); }
    std::vector<TColumn>::iterator end() { return m_columns.end(); }
    std::vector<TColumn>::const_iterator begin() const { return m_columns.begin(); }
    std::vector<TColumn>::const_iterator end() const { return m_columns.end(); }

private:
    friend class TDBGrid;
    // Default columns: one per visible field of an open dataset; declared
    // columns are bound to their fields (or to none).
    void Rebuild(TDataSet* dataSet);

    std::vector<TColumn> m_columns;
    TColumnsState m_state = csDefault;
};
