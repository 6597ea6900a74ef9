#pragma once
// The table model of a data grid: a thin view of a dataset through the
// grid's data link. The dataset stays the one truth: the model has one row
// per record (from the record count), reads rows through the dataset's row
// reader without moving its cursor and caches them in segments; the current
// record's row is read from the dataset itself, so that an edit in progress
// shows. Edits go through the dataset (Edit, the field's text, post when the
// current row changes). No exception leaves the model: errors go to the
// application's error display.
//
// A dataset that offers no row reader (forward-only) is shown as the grid's
// window of buffered records, as it scrolls with the cursor.
#include "framework/ui/TGridDataLink.h"
#include "framework/ui/TGridRowCache.h"

#include <QAbstractTableModel>
#include <functional>
#include <memory>
#include <vector>

class TDataSet;
class TDataSource;
class TField;
class TRowReader;

struct TGridModelColumn {
    TField* Field = nullptr; // null: an empty column (no such field)
    QString Title;
    Qt::Alignment TitleAlignment = Qt::AlignLeft;
    Qt::Alignment Alignment = Qt::AlignLeft;
};

class TDBGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        ValueRole = Qt::UserRole + 1, // the field's value (native type), null invalid
        BookmarkRole,                 // the record's bookmark
    };
    static constexpr int kFetchRows = 256; // rows added at a time while the count is unknown

    explicit TDBGridModel(QObject* parent = nullptr);
    ~TDBGridModel() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    TGridDataLink& DataLink() { return m_link; }
    const TGridDataLink& DataLink() const { return m_link; }

    // The columns shown; asked again whenever the dataset opens or its layout changes.
    void SetColumnsProvider(std::function<std::vector<TGridModelColumn>()> provider);
    // Asks for the columns again now (the grid's columns changed).
    void ColumnsChanged();
    TField* FieldAt(int column) const;
    const TGridModelColumn& Column(int column) const { return m_columns[size_t(column)]; }

    // Row of the dataset's current record; -1 when there is none.
    int CurrentRow() const { return m_currentRow; }
    // Row of the record being inserted, -1 outside the insert state.
    int InsertRow() const { return m_insertRow; }
    // Moves the dataset onto the record of a row (posting a pending edit as
    // the dataset does when it moves); false when it could not.
    bool MoveToRow(int row);
    // The bookmark of the record in a row (empty when there is none).
    TBookmark RowBookmark(int row);
    // True when rows are read by position (false: the window of buffered records).
    bool ReadsByPosition() const { return m_reader != nullptr; }
    // Rows of the buffered window while the dataset has no row reader.
    void SetWindowRows(int rows);

    // A hidden grid's model sleeps: notifications only mark it stale, and it
    // catches up when woken.
    void SetDormant(bool dormant);
    bool Dormant() const { return m_dormant; }

    // Segments read so far, for tests and benchmarks.
    int SegmentReads() const { return m_segmentReads; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Leaves a pending edit of the dataset alone (it posts when the row changes).
    bool submit() override { return true; }
    // Cancels a pending edit of the dataset.
    void revert() override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // The dataset's current record is now shown in this row (-1: none).
    void currentRowChanged(int row);
    // The dataset's state changed between browsing and editing.
    void editingChanged();
    void activeChanged(bool active);
    // The dataset wants the pending text of an open cell editor written.
    void updateDataRequested();

private:
    void Rebuild(bool columns);
    void FinishReset();
    void Refresh();
    void Scrolled();
    void RecordChanged(TField* field);
    int CountRows(const TRowReader* reader, bool& unknown) const;
    int FindCurrentRow();
    void UpdateCurrentRow();
    int DataRow(int row) const { return m_insertRow >= 0 && row > m_insertRow ? row - 1 : row; }
    const TGridCachedRow* CachedRow(int dataRow) const;
    // Reads a segment into the cache; the number of rows read.
    int ReadSegment(int segment) const;
    QVariant LiveData(int column, int role) const;
    QVariant WindowData(int row, int column, int role) const;
    QVariant CachedData(const TGridCachedRow& cached, int column, int role) const;
    bool Live(int row) const;
    TGridCachedRow ReadCurrent() const;
    void ReportReadError(const std::exception& error) const;

    TGridDataLink m_link;
    std::function<std::vector<TGridModelColumn>()> m_columnsProvider;
    std::vector<TGridModelColumn> m_columns;
    std::unique_ptr<TRowReader> m_reader;
    mutable TGridRowCache m_cache;
    int m_dataRows = 0;       // records shown (without a row of an insert)
    bool m_fetching = false;  // the count is unknown: rows are added as they are read
    mutable bool m_atEnd = true; // while fetching: the last record was read
    int m_insertRow = -1;
    int m_currentRow = -1;
    int m_windowRows = 1;
    bool m_dormant = false;
    bool m_stale = false;
    bool m_resetting = false;
    bool m_moving = false;       // the model itself moves the dataset
    bool m_recordTouched = false; // an edit happened since the last refresh
    mutable bool m_errorShown = false;
    mutable int m_segmentReads = 0;
};
