#include "framework/ui/TDBGridModel.h"

#include "framework/data/TDataSet.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"
#include "framework/ui/GuardedCall.h"
#include "framework/ui/TApplication.h"

#include <QTimer>
#include <QtDebug>
#include <algorithm>

TDBGridModel::TDBGridModel(QObject* parent) : QAbstractTableModel(parent)
{
    m_link.OnActiveChanged = [this] {
        Rebuild(true);
        emit activeChanged(m_link.Active());
    };
    m_link.OnLayoutChanged = [this] { Rebuild(true); };
    m_link.OnDataSetChanged = [this] { Refresh(); };
    m_link.OnDataSetScrolled = [this](int) { Scrolled(); };
    m_link.OnRecordChanged = [this](TField* field) { RecordChanged(field); };
    m_link.OnEditingChanged = [this] {
        m_recordTouched = true;
        emit editingChanged();
    };
    m_link.OnUpdateData = [this] { emit updateDataRequested(); };
}

TDBGridModel::~TDBGridModel()
{
    m_link.OnActiveChanged = nullptr; // leaving the source notifies no one
    m_link.SetDataSource(nullptr);
}

TDataSource* TDBGridModel::DataSource() const { return m_link.DataSource(); }

void TDBGridModel::SetDataSource(TDataSource* source)
{
    if (source == m_link.DataSource())
        return;
    m_link.SetDataSource(source);
    Rebuild(true);
}

TDataSet* TDBGridModel::DataSet() const { return m_link.DataSet(); }

void TDBGridModel::SetColumnsProvider(std::function<std::vector<TGridModelColumn>()> provider)
{
    m_columnsProvider = std::move(provider);
    Rebuild(true);
}

void TDBGridModel::ColumnsChanged() { Rebuild(true); }

TField* TDBGridModel::FieldAt(int column) const
{
    return column >= 0 && column < int(m_columns.size()) ? m_columns[size_t(column)].Field : nullptr;
}

void TDBGridModel::SetDormant(bool dormant)
{
    if (m_dormant == dormant)
        return;
    m_dormant = dormant;
    if (dormant) {
        if (rowCount() > 0 || m_reader)
            Rebuild(false);
    } else if (m_stale) {
        Rebuild(false);
    }
}

void TDBGridModel::SetWindowRows(int rows)
{
    rows = std::max(1, rows);
    if (rows == m_windowRows)
        return;
    m_windowRows = rows;
    if (!m_reader && DataSet() && DataSet()->Active()) {
        m_link.SetBufferCount(rows);
        Rebuild(false);
    }
}

// ---------------------------------------------------------------- following the dataset

int TDBGridModel::CountRows(const TRowReader* reader, bool& unknown) const
{
    unknown = false;
    TDataSet* dataSet = DataSet();
    if (!m_link.Active() || !dataSet)
        return 0;
    if (!reader)
        return m_link.RecordCount(); // the window, a record being inserted included
    // Counting through a per-record filter means reading every record: read as the view needs instead.
    if (dataSet->Filtered() && dataSet->OnFilterRecord()) {
        unknown = true;
        return 0;
    }
    const int count = dataSet->RecordCount();
    unknown = count < 0;
    return std::max(count, 0);
}

void TDBGridModel::Rebuild(bool columns)
{
    // A sleeping model keeps its columns (the grid's operations work on them)
    // but shows no rows: nothing is read or counted until it wakes.
    m_stale = m_dormant;
    const int previousRow = m_currentRow;
    beginResetModel();
    if (columns)
        m_columns = m_columnsProvider ? m_columnsProvider() : std::vector<TGridModelColumn>{};
    m_cache.Clear();
    m_reader.reset();
    m_insertRow = -1;
    m_currentRow = -1;
    m_dataRows = 0;
    m_fetching = false;
    m_atEnd = true;
    m_errorShown = false;
    m_recordTouched = false;
    TDataSet* dataSet = DataSet();
    if (m_link.Active() && dataSet && !m_dormant) {
        GuardedCall([&] { m_reader = dataSet->CreateRowReader(); });
        m_link.SetBufferCount(m_reader ? 1 : m_windowRows);
        GuardedCall([&] {
            bool unknown = false;
            m_dataRows = CountRows(m_reader.get(), unknown);
            m_fetching = unknown;
            m_atEnd = !unknown;
            if (m_reader && dataSet->State() == dsInsert)
                m_insertRow = dataSet->Eof() ? m_dataRows : std::clamp(previousRow, 0, m_dataRows);
        });
    }
    FinishReset();
    UpdateCurrentRow();
}

void TDBGridModel::FinishReset()
{
    // While the count is unknown the first rows are read at once, so that
    // the reset model shows them; no one fetches more while the reset is told.
    if (m_fetching && m_reader) {
        const int segmentRows = m_cache.SegmentRows();
        for (int segment = 0; segment * segmentRows < kFetchRows && !m_atEnd; ++segment)
            m_dataRows += ReadSegment(segment);
    }
    m_resetting = true;
    endResetModel();
    m_resetting = false;
}

void TDBGridModel::Refresh()
{
    if (m_dormant) {
        m_stale = true;
        return;
    }
    TDataSet* dataSet = DataSet();
    const bool enteringInsert = m_reader && dataSet && dataSet->State() == dsInsert && m_insertRow < 0;
    // The grid's own move onto another record changed nothing that is shown.
    if (m_moving && !m_recordTouched && !enteringInsert && m_reader) {
        UpdateCurrentRow();
        return;
    }
    std::unique_ptr<TRowReader> reader;
    int rows = 0;
    bool unknown = false;
    const bool ok = dataSet && GuardedCall([&] {
        reader = dataSet->CreateRowReader();
        rows = CountRows(reader.get(), unknown);
    });
    if (!ok || !reader != !m_reader || unknown || m_fetching || enteringInsert
        || (m_reader && (m_insertRow >= 0) != (dataSet->State() == dsInsert)) || rows != m_dataRows) {
        const int before = m_currentRow; // a new record shows where the current one was
        beginResetModel();
        m_cache.Clear();
        m_reader = std::move(reader);
        m_dataRows = rows;
        m_fetching = unknown;
        m_atEnd = !unknown;
        m_insertRow = -1;
        m_errorShown = false;
        if (m_reader && dataSet && dataSet->State() == dsInsert)
            m_insertRow = dataSet->Eof() ? m_dataRows : std::clamp(before, 0, m_dataRows);
        m_recordTouched = false;
        m_currentRow = -1;
        FinishReset();
        UpdateCurrentRow();
        return;
    }
    // Same rows, new contents: drop what was read, keep the view where it is.
    m_cache.Clear();
    m_reader = std::move(reader);
    m_errorShown = false;
    m_recordTouched = false;
    UpdateCurrentRow();
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void TDBGridModel::Scrolled()
{
    if (m_dormant) {
        m_stale = true;
        return;
    }
    if (!m_reader && rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1)); // the window moved
    UpdateCurrentRow();
}

void TDBGridModel::RecordChanged(TField* field)
{
    if (m_dormant) {
        m_stale = true;
        return;
    }
    m_recordTouched = true;
    if (m_currentRow < 0)
        return;
    int first = 0;
    int last = columnCount() - 1;
    if (field) {
        const auto it = std::find_if(m_columns.begin(), m_columns.end(),
                                     [field](const TGridModelColumn& c) { return c.Field == field; });
        if (it == m_columns.end())
            return;
        first = last = int(it - m_columns.begin());
    }
    if (last >= first)
        emit dataChanged(index(m_currentRow, first), index(m_currentRow, last));
}

int TDBGridModel::FindCurrentRow()
{
    TDataSet* dataSet = DataSet();
    if (m_dormant || !m_link.Active() || !dataSet || (dataSet->IsEmpty() && dataSet->State() != dsInsert))
        return -1;
    if (!m_reader)
        return m_link.ActiveRecord();
    if (m_insertRow >= 0)
        return m_insertRow;
    int row = -1;
    GuardedCall([&] {
        const TBookmark current = dataSet->GetBookmark();
        if (m_fetching) {
            // Search what was read: counting positions through a filter would read everything.
            for (int r = 0; r < m_dataRows && row < 0; ++r)
                if (const TGridCachedRow* cached = m_cache.Find(r); cached && cached->Bookmark == current)
                    row = r;
            return;
        }
        const int recNo = dataSet->RecNo();
        if (recNo >= 1 && recNo <= m_dataRows)
            row = recNo - 1;
    });
    return row;
}

void TDBGridModel::UpdateCurrentRow()
{
    const int row = FindCurrentRow();
    if (row == m_currentRow)
        return;
    const int before = m_currentRow;
    m_currentRow = row;
    // The rows change their source (cache / the dataset itself).
    for (int r : {before, row})
        if (r >= 0 && r < rowCount() && columnCount() > 0)
            emit dataChanged(index(r, 0), index(r, columnCount() - 1));
    emit currentRowChanged(row);
}

bool TDBGridModel::MoveToRow(int row)
{
    TDataSet* dataSet = DataSet();
    if (!dataSet || !m_link.Active() || row < 0 || row >= rowCount())
        return false;
    if (row == m_currentRow)
        return true;
    m_moving = true;
    const bool ok = GuardedCall([&] {
        if (!m_reader) {
            dataSet->MoveBy(row - m_link.ActiveRecord());
            return;
        }
        const int distance = m_currentRow >= 0 ? row - m_currentRow : 0;
        if (dataSet->State() == dsBrowse && (distance == 1 || distance == -1)) {
            dataSet->MoveBy(distance);
            return;
        }
        const TBookmark target = RowBookmark(row);
        if (!target.isEmpty())
            dataSet->GotoBookmark(target);
    });
    m_moving = false;
    UpdateCurrentRow();
    return ok && m_currentRow == row;
}

TBookmark TDBGridModel::RowBookmark(int row)
{
    if (row < 0 || row >= rowCount())
        return {};
    if (row == m_currentRow || !m_reader) {
        if (row == m_insertRow)
            return {};
        return data(index(row, 0), BookmarkRole).toByteArray();
    }
    const TGridCachedRow* cached = CachedRow(DataRow(row));
    return cached ? cached->Bookmark : TBookmark();
}

// ---------------------------------------------------------------- reading

const TGridCachedRow* TDBGridModel::CachedRow(int dataRow) const
{
    if (const TGridCachedRow* row = m_cache.Find(dataRow))
        return row;
    if (!m_reader || dataRow < 0)
        return nullptr;
    ReadSegment(m_cache.SegmentOf(dataRow));
    return m_cache.Find(dataRow);
}

int TDBGridModel::ReadSegment(int segment) const
{
    TDataSet* dataSet = DataSet();
    const int first = segment * m_cache.SegmentRows();
    std::vector<TGridCachedRow> rows;
    if (!dataSet || !m_reader)
        return 0;
    bool failed = false;
    try {
        ++m_segmentReads;
        dataSet->ReadRows(*m_reader, first, m_cache.SegmentRows(), [&](int, const TBookmark& bookmark) {
            TGridCachedRow row;
            row.Bookmark = bookmark;
            row.Texts.reserve(m_columns.size());
            row.Values.reserve(m_columns.size());
            for (const TGridModelColumn& column : m_columns) {
                row.Texts.push_back(column.Field ? column.Field->DisplayText() : QString());
                row.Values.push_back(column.Field && column.Field->DataType() == ftBoolean ? column.Field->Value()
                                                                                           : QVariant());
            }
            rows.push_back(std::move(row));
        });
    } catch (const std::exception& e) {
        failed = true;
        ReportReadError(e);
    }
    const int read = int(rows.size());
    if (m_fetching && (failed || read < m_cache.SegmentRows()))
        m_atEnd = true;
    // Rows that could not be read stay empty for this generation instead of being read again at every paint.
    const int wanted = m_fetching ? read : std::min(m_cache.SegmentRows(), std::max(0, m_dataRows - first));
    while (int(rows.size()) < wanted)
        rows.emplace_back();
    m_cache.Store(segment, std::move(rows));
    return read;
}

void TDBGridModel::ReportReadError(const std::exception& error) const
{
    if (m_errorShown)
        return;
    m_errorShown = true;
    const QString text = QString::fromUtf8(error.what());
    // Not from inside painting: a modal box there would paint again.
    QTimer::singleShot(0, this, [text] {
        if (Application)
            Application->ShowException(text);
        else
            qWarning("%s", qPrintable(text));
    });
}

bool TDBGridModel::Live(int row) const { return row == m_currentRow && m_currentRow >= 0; }

QVariant TDBGridModel::CachedData(const TGridCachedRow& cached, int column, int role) const
{
    const size_t c = size_t(column);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return c < cached.Texts.size() ? cached.Texts[c] : QString();
    case ValueRole: return c < cached.Values.size() ? cached.Values[c] : QVariant();
    case BookmarkRole: return cached.Bookmark;
    default: return {};
    }
}

QVariant TDBGridModel::LiveData(int column, int role) const
{
    TField* field = FieldAt(column);
    TDataSet* dataSet = DataSet();
    QVariant result;
    GuardedCall([&] {
        switch (role) {
        case Qt::DisplayRole: result = field ? field->DisplayText() : QString(); break;
        case Qt::EditRole: result = field ? field->Text() : QString(); break;
        case ValueRole: result = field ? field->Value() : QVariant(); break;
        case BookmarkRole: result = dataSet ? dataSet->GetBookmark() : TBookmark(); break;
        default: break;
        }
    });
    return result;
}

QVariant TDBGridModel::WindowData(int row, int column, int role) const
{
    auto& link = const_cast<TGridDataLink&>(m_link);
    const int saved = link.ActiveRecord();
    link.SetActiveRecord(row);
    const QVariant result = LiveData(column, role);
    link.SetActiveRecord(saved);
    return result;
}

QVariant TDBGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const int row = index.row();
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[size_t(column)].Alignment | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != ValueRole && role != BookmarkRole)
        return {};
    if (Live(row))
        return LiveData(column, role);
    if (!m_reader)
        return WindowData(row, column, role);
    if (row == m_insertRow)
        return {};
    const TGridCachedRow* cached = CachedRow(DataRow(row));
    return cached ? CachedData(*cached, column, role) : QVariant();
}

int TDBGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_dataRows + (m_insertRow >= 0 ? 1 : 0);
}

int TDBGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant TDBGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    const TGridModelColumn& column = m_columns[size_t(section)];
    if (role == Qt::DisplayRole)
        return column.Title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.TitleAlignment | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TDBGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    TField* field = FieldAt(index.column());
    bool editable = false;
    GuardedCall([&] { editable = field && field->CanModify(); });
    if (editable && !m_link.ReadOnly())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TDBGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    TField* field = FieldAt(index.column());
    if (!field || !MoveToRow(index.row()))
        return false;
    const bool ok = GuardedCall([&] {
        if (!m_link.Edit())
            return;
        field->SetText(value.toString());
    });
    return ok && m_link.Editing();
}

void TDBGridModel::revert()
{
    TDataSet* dataSet = DataSet();
    if (dataSet && (dataSet->State() == dsEdit || dataSet->State() == dsInsert))
        GuardedCall([&] { dataSet->Cancel(); });
}

bool TDBGridModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_fetching && !m_atEnd && !m_dormant && !m_resetting;
}

void TDBGridModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent) || !m_reader)
        return;
    // The rows are read into the cache on the way: they are the ones shown next.
    const int segmentRows = m_cache.SegmentRows();
    int available = 0;
    for (int segment = m_dataRows / segmentRows; available < kFetchRows; ++segment) {
        const int read = ReadSegment(segment) - (m_dataRows + available - segment * segmentRows);
        available += std::max(0, read);
        if (m_atEnd)
            break;
    }
    if (available <= 0)
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + available - 1);
    m_dataRows += available;
    endInsertRows();
    UpdateCurrentRow();
}
