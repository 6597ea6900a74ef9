#include "framework/ui/TDBGrid.h"

#include "framework/data/TDataSet.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"
#include "framework/ui/GuardedCall.h"
#include "framework/ui/TApplication.h"
#include "framework/ui/TDBGridParts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// The widest a default column gets, in characters: long text fields would
// otherwise give columns wider than any screen.
constexpr int kMaxDefaultChars = 40;
constexpr int kUnboundColumnWidth = 64;

} // namespace

TDBGrid::TDBGrid(QWidget* parent)
    : QTableView(parent), m_model(new TDBGridModel(this)),
      m_selectedRows([this] { return DataSet(); },
                     [this] {
                         viewport()->update();
                         m_indicator->viewport()->update();
                     })
{
    m_titles = new TDBGridTitleHeader(*this);
    m_indicator = new TDBGridIndicator(*this);
    setHorizontalHeader(m_titles);
    setVerticalHeader(m_indicator);
    m_menuCell = new TDBGridMenuCell(*this);
    setItemDelegate(new TDBGridDelegate(*this));
    setCornerButtonEnabled(false);
    setSelectionMode(QAbstractItemView::NoSelection);
    setShowGrid(false);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    m_titleFont = font();
    m_fixedColor = palette().color(QPalette::Button);
    m_titleRowHeight = QFontMetrics(m_titleFont).height() + 4;
    m_indicator->setDefaultSectionSize(fontMetrics().height() + 4);

    m_model->SetDormant(true); // until the grid shows
    m_model->SetColumnsProvider([this] { return ProvideColumns(); });
    setModel(m_model);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { ApplyColumnLayout(); });
    connect(m_model, &TDBGridModel::currentRowChanged, this, [this](int row) { FollowDataSet(row); });
    connect(m_model, &TDBGridModel::editingChanged, this, [this] { m_indicator->viewport()->update(); });
    // Titles may show how the dataset is ordered: a change of the dataset repaints them too.
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this] { m_titles->viewport()->update(); });
    connect(m_model, &TDBGridModel::activeChanged, this, [this](bool active) {
        if (!active)
            m_selectedRows.Clear();
        LinkActive(active);
    });
    connect(m_model, &TDBGridModel::updateDataRequested, this, [this] {
        if (m_editor)
            commitData(m_editor);
    });
    connect(m_titles, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (!m_applyingLayout && column < m_columns.Count())
            m_columns[column].Width = width;
    });
    connect(m_indicator, &QHeaderView::sectionResized, this, [this] {
        if (!m_applyingLayout)
            RowHeightsChanged();
    });
    m_model->DataLink().OnFocusControl = [this](TField** field) {
        for (int c = 0; field && *field && c < m_columns.Count(); ++c)
            if (m_columns[c].Field == *field && !isColumnHidden(c)) {
                setFocus();
                SetSelectedIndex(c);
                *field = nullptr;
            }
    };
    ApplyOptions();
}

TDBGrid::~TDBGrid()
{
    // The model leaves its data source before the grid's parts go.
    m_model->SetDataSource(nullptr);
}

void TDBGrid::EndLoad()
{
    m_loading = false;
    Loaded();
}

TDataSource* TDBGrid::DataSource() const { return m_model->DataSource(); }

void TDBGrid::SetDataSource(TDataSource* source) { m_model->SetDataSource(source); }

TDataSet* TDBGrid::DataSet() const { return m_model->DataSet(); }

void TDBGrid::SetOptions(TDBGridOptions options)
{
    if (options == m_options)
        return;
    if ((m_options & dgMultiSelect) && !(options & dgMultiSelect))
        m_selectedRows.Clear();
    m_options = options;
    ApplyOptions();
}

void TDBGrid::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    m_model->DataLink().SetReadOnly(readOnly);
}

void TDBGrid::ApplyOptions()
{
    m_titles->setVisible(m_options & dgTitles);
    m_indicator->setVisible(m_options & dgIndicator);
    m_titles->setSectionResizeMode((m_options & dgColumnResize) ? QHeaderView::Interactive : QHeaderView::Fixed);
    setTabKeyNavigation(m_options & dgTabs);
    SetColumnAttributes();
    updateGeometries();
    viewport()->update();
}

void TDBGrid::SetInplaceEditing(bool on)
{
    m_inplaceEditing = on;
    if (!on && m_editor)
        closeEditor(m_editor, QAbstractItemDelegate::NoHint);
}

// ---------------------------------------------------------------- columns and layout

std::vector<TGridModelColumn> TDBGrid::ProvideColumns()
{
    m_columns.Rebuild(m_model->DataLink().Active() ? DataSet() : nullptr);
    std::vector<TGridModelColumn> result;
    for (TColumn& column : m_columns) {
        if (column.Width < 0 && column.Field)
            column.Width = DefaultColumnWidth(column);
        result.push_back({column.Field, column.TitleCaption(), column.Title.Alignment, column.CellAlignment()});
    }
    m_columnsRebuilt = true;
    return result;
}

int TDBGrid::DefaultColumnWidth(const TColumn& column) const
{
    if (!column.Field)
        return kUnboundColumnWidth;
    const QFontMetrics cells(font());
    const int chars = std::min(column.Field->DisplayWidth(), kMaxDefaultChars);
    int width = chars * cells.averageCharWidth() + 4;
    if (m_options & dgTitles) {
        const QFontMetrics titles(column.Title.Font ? *column.Title.Font : m_titleFont);
        width = std::max(width, titles.horizontalAdvance(column.TitleCaption()) + 4);
    }
    return width;
}

void TDBGrid::ApplyColumnLayout()
{
    m_applyingLayout = true;
    for (int c = 0; c < m_columns.Count() && c < m_model->columnCount(); ++c) {
        const TColumn& column = m_columns[c];
        m_titles->resizeSection(c, column.Width >= 0 ? column.Width : kUnboundColumnWidth);
        setColumnHidden(c, !column.Visible);
    }
    m_applyingLayout = false;
    updateGeometries();
    if (m_columnsRebuilt) {
        m_columnsRebuilt = false;
        LayoutChanged();
    }
}

void TDBGrid::ColumnsChanged() { m_model->ColumnsChanged(); }

int TDBGrid::ColumnWidth(int column) const
{
    const_cast<TDBGrid*>(this)->SettleColumnWidths(); // what is read is the width the grid will show
    return StoredColumnWidth(column);
}

int TDBGrid::StoredColumnWidth(int column) const
{
    if (column < 0 || column >= m_columns.Count())
        return 0;
    return column < m_model->columnCount() ? m_titles->sectionSize(column) : m_columns[column].Width;
}

void TDBGrid::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= m_columns.Count())
        return;
    SettleColumnWidths(); // a width set now stands over one worked out for earlier contents
    m_columns[column].Width = width;
    if (column < m_model->columnCount()) {
        m_applyingLayout = true;
        m_titles->resizeSection(column, std::max(0, width));
        m_applyingLayout = false;
    }
}

void TDBGrid::SetColumnVisible(int column, bool visible)
{
    if (column < 0 || column >= m_columns.Count())
        return;
    m_columns[column].Visible = visible;
    if (column < m_model->columnCount()) {
        m_applyingLayout = true; // a hidden column keeps its width
        setColumnHidden(column, !visible);
        m_applyingLayout = false;
    }
}

void TDBGrid::LinkActive(bool) {}

void TDBGrid::SetTitleFont(const QFont& font)
{
    m_titleFont = font;
    m_titles->viewport()->update();
}

void TDBGrid::SetFixedColor(const QColor& color)
{
    m_fixedColor = color;
    m_titles->viewport()->update();
    m_indicator->viewport()->update();
    m_menuCell->update();
}

int TDBGrid::DefaultRowHeight() const { return m_indicator->defaultSectionSize(); }

void TDBGrid::SetDefaultRowHeight(int height)
{
    if (height == m_indicator->defaultSectionSize())
        return;
    m_applyingLayout = true;
    m_indicator->setDefaultSectionSize(std::max(1, height));
    m_applyingLayout = false;
}

void TDBGrid::SetRowHeight(int row, int height)
{
    if (row >= 0 && row < m_model->rowCount())
        m_indicator->resizeSection(row, std::max(1, height));
}

void TDBGrid::SetTitleRowHeight(int height)
{
    m_titleRowHeight = std::max(1, height);
    updateGeometries();
}

void TDBGrid::SetIndicatorWidth(int width)
{
    m_indicatorWidth = std::max(1, width);
    updateGeometries();
}

void TDBGrid::SetRowSizing(bool on)
{
    m_indicator->setSectionResizeMode(on ? QHeaderView::Interactive : QHeaderView::Fixed);
}

void TDBGrid::updateGeometries()
{
    QTableView::updateGeometries();
    const bool shown = !m_titles->isHidden() && !m_indicator->isHidden();
    m_menuCell->setVisible(shown);
    if (shown) {
        const QRect cell = MenuCellRect();
        m_menuCell->setGeometry(cell);
        m_menuCell->raise();
    }
}

QRect TDBGrid::MenuCellRect() const
{
    if (m_titles->isHidden() || m_indicator->isHidden())
        return {};
    const QRect area = viewport()->geometry();
    const int width = m_indicator->sizeHint().width();
    const int height = m_titles->sizeHint().height();
    return {area.left() - width, area.top() - height, width, height};
}

std::optional<TGridCell> TDBGrid::CellAt(const QPoint& pos) const
{
    const QRect area = viewport()->geometry();
    const QPoint inView = pos - area.topLeft();
    const bool inTitles = !m_titles->isHidden() && pos.y() < area.top() && pos.y() >= area.top() - m_titles->height();
    const bool inIndicator =
        !m_indicator->isHidden() && pos.x() < area.left() && pos.x() >= area.left() - m_indicator->width();
    const int column = inIndicator ? -1 : columnAt(inView.x());
    const int row = inTitles ? -1 : rowAt(inView.y());
    if ((!inIndicator && column < 0) || (!inTitles && row < 0))
        return std::nullopt;
    return TGridCell{column, row};
}

// ---------------------------------------------------------------- following the dataset

void TDBGrid::FollowDataSet(int row)
{
    m_following = true;
    if (row < 0) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        int column = currentIndex().isValid() ? currentIndex().column() : 0;
        while (column < m_model->columnCount() - 1 && isColumnHidden(column))
            ++column;
        const QModelIndex target = m_model->index(row, std::max(0, column));
        if (target != currentIndex())
            selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
        if (isVisible() && target.isValid())
            scrollTo(target);
    }
    m_following = false;
    m_indicator->viewport()->update();
    viewport()->update();
    emit currentCellChanged();
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous); // an open editor writes its text first
    const bool columnChanged = current.column() != previous.column();
    if (!m_following && current.isValid() && (!previous.isValid() || current.row() != previous.row())) {
        if (!m_model->MoveToRow(current.row())) {
            FollowDataSet(m_model->CurrentRow()); // refused: back onto the dataset's record
            return;
        }
    }
    if (columnChanged && current.isValid())
        ColEnter();
    if (!m_following) {
        m_indicator->viewport()->update();
        emit currentCellChanged();
    }
}

int TDBGrid::SelectedIndex() const { return currentIndex().isValid() ? currentIndex().column() : -1; }

void TDBGrid::SetSelectedIndex(int column)
{
    if (column < 0 || column >= m_model->columnCount())
        return;
    const int row = currentIndex().isValid() ? currentIndex().row() : m_model->CurrentRow();
    if (row >= 0)
        setCurrentIndex(m_model->index(row, column));
}

TField* TDBGrid::SelectedField() const { return m_model->FieldAt(SelectedIndex()); }

// ---------------------------------------------------------------- editing

bool TDBGrid::CanEditCell(const QModelIndex& index) const
{
    if (!index.isValid() || !(m_options & dgEditing) || (m_options & dgRowSelect) || m_readOnly
        || !m_inplaceEditing)
        return false;
    if (index.column() < m_columns.Count() && m_columns[index.column()].ReadOnly)
        return false;
    return m_model->flags(index) & Qt::ItemIsEditable;
}

void TDBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == m_editor)
        m_editor = nullptr;
    QTableView::closeEditor(editor, hint);
}

bool TDBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (trigger != QAbstractItemView::AllEditTriggers && !CanEditCell(index))
        return false;
    return QTableView::edit(index, trigger, event);
}

void TDBGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    TDataSet* dataSet = DataSet();
    const QWidget* now = QApplication::focusWidget();
    if ((m_options & dgCancelOnExit) && dataSet && dataSet->State() == dsInsert && !dataSet->Modified()
        && !(now && isAncestorOf(now)))
        GuardedCall([&] { dataSet->Cancel(); });
}

void TDBGrid::ConfirmAndDelete()
{
    TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active() || m_readOnly || !dataSet->CanModify() || dataSet->IsEmpty())
        return;
    // Selected rows go, else the current record; one selected row need not be the current one.
    const bool selection = (m_options & dgMultiSelect) && m_selectedRows.Count() > 0;
    const bool several = selection && m_selectedRows.Count() > 1;
    const QString question = several ? QStringLiteral("Alle markierten Datensätze löschen?")
                                     : QStringLiteral("Datensatz löschen?");
    if ((m_options & dgConfirmDelete) && Application && !Application->Confirm(question))
        return;
    GuardedCall([&] {
        if (!selection) {
            dataSet->Delete();
            m_selectedRows.Clear();
            return;
        }
        const std::vector<TBookmark> doomed(m_selectedRows.begin(), m_selectedRows.end());
        dataSet->DisableControls();
        try {
            for (const TBookmark& bookmark : doomed) {
                dataSet->GotoBookmark(bookmark);
                dataSet->Delete();
            }
        } catch (...) {
            dataSet->EnableControls();
            throw;
        }
        dataSet->EnableControls();
        m_selectedRows.Clear();
    });
}

// ---------------------------------------------------------------- keys

void TDBGrid::keyPressEvent(QKeyEvent* event) { KeyDown(event); }

void TDBGrid::KeyDown(QKeyEvent* event)
{
    TDataSet* dataSet = DataSet();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool open = dataSet && dataSet->Active();
    const bool mayChange = open && (m_options & dgEditing) && !m_readOnly && dataSet->CanModify();
    switch (event->key()) {
    case Qt::Key_Delete:
        if (ctrl) {
            ConfirmAndDelete();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Insert:
        if (!ctrl && mayChange) {
            GuardedCall([&] { dataSet->Insert(); });
            event->accept();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (open && (dataSet->State() == dsEdit || dataSet->State() == dsInsert)) {
            m_model->revert();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Down:
        // Down from the last record appends a new one, as in a table of a desktop database.
        if (!ctrl && mayChange && dataSet->State() == dsBrowse && !dataSet->IsEmpty()
            && currentIndex().row() == m_model->rowCount() - 1 && m_model->ReadsByPosition()) {
            GuardedCall([&] { dataSet->Append(); });
            event->accept();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!EditorMode() && CanEditCell(currentIndex())) {
            edit(currentIndex());
            event->accept();
            return;
        }
        break;
    default: break;
    }
    // Ctrl+letter keys are the derived grid's (Qt's own copy and select-all do not apply).
    if (ctrl && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
    if ((m_options & dgMultiSelect) && (event->modifiers() & Qt::ShiftModifier)
        && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down))
        m_selectedRows.SetCurrentRowSelected(true);
}

QModelIndex TDBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && (modifiers & Qt::ControlModifier)
        && (action == QAbstractItemView::MoveHome || action == QAbstractItemView::MoveEnd)) {
        const int row = action == QAbstractItemView::MoveHome ? 0 : m_model->rowCount() - 1;
        return m_model->index(row, current.column());
    }
    return QTableView::moveCursor(action, modifiers & ~Qt::ControlModifier);
}

// ---------------------------------------------------------------- mouse

void TDBGrid::mousePressEvent(QMouseEvent* event)
{
    ViewportMouse(event, [this](QMouseEvent* e) { QTableView::mousePressEvent(e); });
}

void TDBGrid::mouseReleaseEvent(QMouseEvent* event)
{
    ViewportMouse(event, [this](QMouseEvent* e) { QTableView::mouseReleaseEvent(e); });
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    ViewportMouse(event, [this](QMouseEvent* e) { QTableView::mouseDoubleClickEvent(e); });
}

void TDBGrid::ViewportMouse(QMouseEvent* event, const std::function<void(QMouseEvent*)>& viewHandling)
{
    const QModelIndex index = indexAt(event->pos());
    if (!index.isValid()) { // below the last row or right of the last column: Qt's own handling
        viewHandling(event);
        return;
    }
    RouteMouse(event->type(), event, TGridCell{index.column(), index.row()});
}

void TDBGrid::PartMouse(QEvent::Type type, QMouseEvent* event, const TGridCell& cell)
{
    RouteMouse(type, event, cell);
}

void TDBGrid::RouteMouse(QEvent::Type type, QMouseEvent* event, const TGridCell& cell)
{
    TGridMouse mouse;
    mouse.Cell = cell;
    mouse.Button = event->button();
    mouse.Modifiers = event->modifiers();
    mouse.Pos = mapFromGlobal(event->globalPosition().toPoint());
    QMouseEvent* outer = m_mouseEvent;
    m_mouseEvent = event;
    GuardedCall([&] {
        if (type == QEvent::MouseButtonPress)
            MouseDown(mouse);
        else if (type == QEvent::MouseButtonRelease)
            MouseUp(mouse);
        else if (type == QEvent::MouseButtonDblClick)
            DblClick(mouse);
    });
    m_mouseEvent = outer;
}

void TDBGrid::ForwardToView(QEvent::Type type, const TGridMouse& mouse)
{
    if (!m_mouseEvent)
        return;
    QMouseEvent copy(type, m_mouseEvent->position(), m_mouseEvent->scenePosition(), m_mouseEvent->globalPosition(),
                     m_mouseEvent->button(), m_mouseEvent->buttons(), mouse.Modifiers);
    if (type == QEvent::MouseButtonPress)
        QTableView::mousePressEvent(&copy);
    else if (type == QEvent::MouseButtonRelease)
        QTableView::mouseReleaseEvent(&copy);
    else
        QTableView::mouseDoubleClickEvent(&copy);
}

void TDBGrid::SelectByClick(Qt::KeyboardModifiers modifiers)
{
    if (!(m_options & dgMultiSelect))
        return;
    const int row = m_model->CurrentRow();
    if (row < 0)
        return;
    if (modifiers & Qt::ControlModifier) {
        m_selectedRows.SetCurrentRowSelected(!m_selectedRows.CurrentRowSelected());
        m_anchorRow = row;
    } else if ((modifiers & Qt::ShiftModifier) && m_anchorRow >= 0 && m_anchorRow < m_model->rowCount()) {
        std::vector<TBookmark> rows(m_selectedRows.begin(), m_selectedRows.end());
        for (int r = std::min(row, m_anchorRow); r <= std::max(row, m_anchorRow); ++r)
            rows.push_back(m_model->RowBookmark(r));
        rows.erase(std::remove(rows.begin(), rows.end(), TBookmark()), rows.end());
        m_selectedRows.Assign(std::move(rows));
    } else {
        m_selectedRows.Clear();
        m_selectedRows.SetCurrentRowSelected(true);
        m_anchorRow = row;
    }
}

void TDBGrid::MouseDown(TGridMouse& mouse)
{
    if (mouse.Cell.IsData()) {
        ForwardToView(QEvent::MouseButtonPress, mouse);
        if (mouse.Button == Qt::LeftButton && currentIndex().row() == mouse.Cell.Row)
            SelectByClick(mouse.Modifiers);
    } else if (mouse.Cell.IsIndicator() && mouse.Button == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        const int column = std::max(0, SelectedIndex());
        if (column < m_model->columnCount())
            setCurrentIndex(m_model->index(mouse.Cell.Row, column));
        if (m_model->CurrentRow() == mouse.Cell.Row)
            SelectByClick(mouse.Modifiers);
    }
}

void TDBGrid::MouseUp(TGridMouse& mouse)
{
    if (mouse.Cell.IsData())
        ForwardToView(QEvent::MouseButtonRelease, mouse);
}

void TDBGrid::DblClick(TGridMouse& mouse)
{
    if (mouse.Cell.IsData())
        ForwardToView(QEvent::MouseButtonDblClick, mouse);
}

// ---------------------------------------------------------------- showing

void TDBGrid::showEvent(QShowEvent* event)
{
    SettleColumnWidths();
    QTableView::showEvent(event);
    m_model->SetDormant(false);
}

void TDBGrid::hideEvent(QHideEvent* event)
{
    QTableView::hideEvent(event);
    if (!isVisible())
        m_model->SetDormant(true);
}

void TDBGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    m_model->SetWindowRows(viewport()->height() / std::max(1, DefaultRowHeight()) + 1);
}
