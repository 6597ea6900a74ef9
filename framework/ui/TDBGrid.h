#pragma once
// The framework's data-aware grid: columns bound to the fields of a dataset
// through a data source, a title row, an indicator column (the current
// record, its editing state, the selected rows), the selected rows kept as
// bookmarks, in-place editing through the dataset, and the menu cell where
// the title row meets the indicator column.
//
// A QTableView over TDBGridModel. Scrolling and painting read rows through
// the model and never move the dataset; clicking or keying onto another row
// moves it. Derived grids extend the framework operations (the protected
// virtuals below) as the grid's owner would override them.
#include "framework/ui/TBookmarkList.h"
#include "framework/ui/TDBGridColumns.h"
#include "framework/ui/TDBGridModel.h"

#include <QEvent>
#include <QPointer>
#include <QTableView>

class QPainter;
class TDataSet;
class TDataSource;
class TField;
class TDBGridMenuCell;
class TDBGridTitleHeader;
class TDBGridIndicator;

enum TDBGridOption : unsigned {
    dgEditing = 1u << 0,
    dgAlwaysShowEditor = 1u << 1,
    dgTitles = 1u << 2,
    dgIndicator = 1u << 3,
    dgColumnResize = 1u << 4,
    dgColLines = 1u << 5,
    dgRowLines = 1u << 6,
    dgTabs = 1u << 7,
    dgRowSelect = 1u << 8,
    dgAlwaysShowSelection = 1u << 9,
    dgConfirmDelete = 1u << 10,
    dgCancelOnExit = 1u << 11,
    dgMultiSelect = 1u << 12,
};
using TDBGridOptions = unsigned;

// A cell of the grid: Column -1 is the indicator column, Row -1 the title row
// (both -1: the menu cell); data cells count from 0.
struct TGridCell {
    int Column = -1;
    int Row = -1;
    bool IsData() const { return Column >= 0 && Row >= 0; }
    bool IsMenuCell() const { return Column < 0 && Row < 0; }
    bool IsIndicator() const { return Column < 0 && Row >= 0; }
    bool IsTitle() const { return Row < 0 && Column >= 0; }
};

// A mouse press, release or double-click as the grid's operations see it;
// an operation may change the modifiers before the framework acts on them.
struct TGridMouse {
    TGridCell Cell;
    Qt::MouseButton Button = Qt::LeftButton;
    Qt::KeyboardModifiers Modifiers;
    QPoint Pos; // in grid coordinates
};

enum TGridDrawFlag : unsigned { gdSelected = 1u, gdFocused = 2u, gdFixed = 4u };
using TGridDrawState = unsigned;

class TDBGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int kIndicatorWidth = 11;
    static constexpr TDBGridOptions DefaultOptions = dgEditing | dgTitles | dgIndicator | dgColumnResize
        | dgColLines | dgRowLines | dgTabs | dgConfirmDelete | dgCancelOnExit;

    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    // A form sets the stored properties between BeginLoad and EndLoad;
    // setters then only store, and EndLoad runs Loaded().
    void BeginLoad() { m_loading = true; }
    void EndLoad();
    bool Loading() const { return m_loading; }

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;

    TDBGridOptions Options() const { return m_options; }
    void SetOptions(TDBGridOptions options);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);

    TDBGridColumns& Columns() { return m_columns; }
    const TDBGridColumns& Columns() const { return m_columns; }
    // Lays the grid out again after its declared columns were changed.
    void ColumnsChanged();
    // A column's width, once widths left to be worked out are settled (see SettleColumnWidths).
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    // Shows or hides a column at once, without laying the grid out again.
    void SetColumnVisible(int column, bool visible);

    // The selected rows (several only with dgMultiSelect).
    TBookmarkList& SelectedRows() { return m_selectedRows; }
    // The current column and its field.
    int SelectedIndex() const;
    void SetSelectedIndex(int column);
    TField* SelectedField() const;

    QFont TitleFont() const { return m_titleFont; }
    void SetTitleFont(const QFont& font);
    // Colour of the title row, the indicator column and the menu cell.
    QColor FixedColor() const { return m_fixedColor; }
    void SetFixedColor(const QColor& color);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);
    int RowHeight(int row) const { return rowHeight(row); }
    void SetRowHeight(int row, int height);
    int TitleRowHeight() const { return m_titleRowHeight; }
    void SetTitleRowHeight(int height);
    int IndicatorWidth() const { return m_indicatorWidth; }
    void SetIndicatorWidth(int width);
    // Whether the user may drag row heights.
    void SetRowSizing(bool on);

    TDBGridModel& Model() { return *m_model; }
    // The menu cell in grid coordinates (empty unless titles and indicator show).
    QRect MenuCellRect() const;
    // The cell under a point in grid coordinates (data, title, indicator or menu cell); nullopt outside.
    std::optional<TGridCell> CellAt(const QPoint& pos) const;
    // Whether a cell editor is open.
    bool EditorMode() const { return state() == QAbstractItemView::EditingState; }
    // The visible cell editor, if any.
    QWidget* InplaceEditor() const { return m_editor.data(); }

    // --- used by the grid's parts ---
    void PaintTitle(QPainter& painter, const QRect& rect, int column) { DrawTitleCell(painter, rect, column); }
    void PaintIndicator(QPainter& painter, const QRect& rect, int row) { DrawIndicatorCell(painter, rect, row); }
    void PaintMenuCell(QPainter& painter, const QRect& rect) { DrawMenuCell(painter, rect); }
    void PaintColumnCell(QPainter& painter, const QRect& rect, const QModelIndex& index, TGridDrawState state)
    {
        DrawColumnCell(painter, rect, index, state);
    }
    TGridDrawState DrawStateOf(const QModelIndex& index) const;
    void PartMouse(QEvent::Type type, QMouseEvent* event, const TGridCell& cell);
    void EditorCreated(QWidget* editor) { m_editor = editor; }

signals:
    // The current cell or record changed (the dataset moved, or the user moved).
    void currentCellChanged();

protected:
    // ===== Framework operations a derived grid may extend =====
    // After the form's stored properties are loaded.
    virtual void Loaded() {}
    // The link to the dataset became active or inactive (after the layout).
    virtual void LinkActive(bool active);
    // The columns were laid out again (the dataset opened or its fields changed).
    virtual void LayoutChanged() {}
    // The current column changed.
    virtual void ColEnter() {}
    // A row height was dragged.
    virtual void RowHeightsChanged() {}
    // Sets the widths of the fixed parts after the options changed (the indicator column).
    virtual void SetColumnAttributes() { SetIndicatorWidth(kIndicatorWidth); }
    virtual void DrawTitleCell(QPainter& painter, const QRect& rect, int column);
    virtual void DrawIndicatorCell(QPainter& painter, const QRect& rect, int row);
    virtual void DrawMenuCell(QPainter& painter, const QRect& rect);
    virtual void DrawColumnCell(QPainter& painter, const QRect& rect, const QModelIndex& index,
                                TGridDrawState state);
    // Mouse on any cell; the framework's handling moves, selects and edits.
    virtual void MouseDown(TGridMouse& mouse);
    virtual void MouseUp(TGridMouse& mouse);
    virtual void DblClick(TGridMouse& mouse);
    // Keys; the framework's handling navigates, inserts, deletes and edits.
    // Ctrl+letter keys are left to the derived grid (the event stays ignored).
    virtual void KeyDown(QKeyEvent* event);

    // ===== Helpers =====
    void DefaultDrawColumnCell(QPainter& painter, const QRect& rect, const QModelIndex& index,
                               TGridDrawState state);
    // Cell background and grid lines as the framework draws them.
    void DrawCellBackground(QPainter& painter, const QRect& rect, TGridDrawState state);
    void DrawRaisedEdge(QPainter& painter, const QRect& rect);
    // Framework editing: whether cell editors open (on top of dgEditing and ReadOnly).
    bool InplaceEditing() const { return m_inplaceEditing; }
    void SetInplaceEditing(bool on);
    TGridDataLink& DataLink() { return m_model->DataLink(); }
    // The width a column gets when none was set.
    virtual int DefaultColumnWidth(const TColumn& column) const;
    // Widths a grid left to be worked out until they are needed (a hidden grid
    // sizing its columns to their contents) are worked out here: before the
    // grid is shown and before a width is read or set.
    virtual void SettleColumnWidths() {}
    // A column's width as it stands, without settling.
    int StoredColumnWidth(int column) const;
    // Whether the grid would let the user edit the current cell.
    bool CanEditCell(const QModelIndex& index) const;
    // Applies a change of the multi-selection for a row just made current.
    void SelectByClick(Qt::KeyboardModifiers modifiers);

    // ===== Qt =====
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    // Home/End go to the first/last column of the row, Ctrl+Home/Ctrl+End to the first/last record.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    using QTableView::edit;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void updateGeometries() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::vector<TGridModelColumn> ProvideColumns();
    void ApplyColumnLayout();
    void FollowDataSet(int row);
    void ApplyOptions();
    void UpdateEditTriggers();
    void ConfirmAndDelete();
    void ViewportMouse(QMouseEvent* event, const std::function<void(QMouseEvent*)>& viewHandling);
    void RouteMouse(QEvent::Type type, QMouseEvent* event, const TGridCell& cell);
    void ForwardToView(QEvent::Type type, const TGridMouse& mouse);

    TDBGridModel* m_model;
    TDBGridTitleHeader* m_titles;
    TDBGridIndicator* m_indicator;
    TDBGridMenuCell* m_menuCell;
    TDBGridColumns m_columns;
    TBookmarkList m_selectedRows;
    TDBGridOptions m_options = DefaultOptions;
    bool m_readOnly = false;
    bool m_loading = false;
    bool m_inplaceEditing = true;
    bool m_following = false;    // the view follows the dataset: no move back
    bool m_columnsRebuilt = false;
    bool m_applyingLayout = false;
    QFont m_titleFont;
    QColor m_fixedColor;
    int m_titleRowHeight = 0;
    int m_indicatorWidth = kIndicatorWidth;
    QMouseEvent* m_mouseEvent = nullptr; // the Qt event behind the operation running
    QPointer<QWidget> m_editor;
    int m_anchorRow = -1; // where a Shift+click range starts
};
