// The DAO grid: properties, loading, the link to the dataset, painting,
// mouse and keys.
#include "daoui/TVoDaoDBGrid.h"

#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "daoui/VoDaoGridGlyphs.h"
#include "framework/data/TField.h"
#include "framework/ui/GuardedCall.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

TVoDaoDBGrid::TVoDaoDBGrid(QWidget* parent) : TDBGrid(parent), m_dialogs(VoDaoGridDialogs())
{
    m_menuTitles = DefaultMenuTitles();
    m_defaultTitles = m_menuTitles;
    BuildMenu();
    // One box of the style's check boxes.
    m_checkBoxSize = QSize(style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this),
                           style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this));
    m_plainIndicatorWidth = m_checkBoxSize.width();
    m_rowCount = m_savedRowCount = viewport()->height() / std::max(1, DefaultRowHeight()) + 1;
    SetColumnAttributes();
}

TVoDaoDBGrid::~TVoDaoDBGrid() = default;

// ---------------------------------------------------------------- properties

void TVoDaoDBGrid::SetAutoSizeColumns(bool on)
{
    if (on == m_autoSizeColumns)
        return;
    m_autoSizeColumns = on;
    if (!Loading())
        ApplyAutoSize(on);
}

void TVoDaoDBGrid::SetExOptions(TExOptions options)
{
    const TExOptions before = m_exOptions;
    m_exOptions = options;
    if (Loading())
        return;
    if ((before & exoLoadAllRecords) && !(options & exoLoadAllRecords))
        m_rowCount = m_savedRowCount;
    SetColumnAttributes();
    ApplyExOptions();
}

void TVoDaoDBGrid::SetShowGridMenu(bool on)
{
    m_showGridMenu = on;
    if (!Loading())
        PaintMenuCellNow();
}

void TVoDaoDBGrid::SetShowCheckBoxes(bool on)
{
    const bool before = m_showCheckBoxes;
    m_showCheckBoxes = on;
    if (Loading())
        return;
    if (before && (Options() & dgEditing) && !InplaceEditing())
        SetInplaceEditing(true);
    ColEnter();
    viewport()->update();
}

void TVoDaoDBGrid::SetFrameIndexFields(bool on)
{
    m_frameIndexFields = on;
    if (Loading())
        return;
    MenuEntry(miFrameIndexFields)->setChecked(on);
    viewport()->update();
}

// ---------------------------------------------------------------- loading and the link

void TVoDaoDBGrid::Loaded()
{
    if (m_menuTitles.size() != m_defaultTitles.size())
        m_menuTitles = m_defaultTitles;
    ApplyMenuTitles();
    if (auto* table = dynamic_cast<TVoDaoTable*>(DataSet()); table && table->Database())
        table->Database()->Idle();
    ApplyAutoSize(m_autoSizeColumns);
}

void TVoDaoDBGrid::LinkActive(bool active)
{
    m_sizePending = false; // new contents: sized below if auto-size is on
    TDBGrid::LinkActive(active);
    m_decoration.valid = false;
    if (!active)
        return;
    TVoDaoTable* table = OpenTable();
    if (table && table->TableType() == 1) // room for the sort arrow in every title
        for (int c = 0; c < Columns().Count(); ++c)
            SetColumnWidth(c, StoredColumnWidth(c) + vodao::AscGlyph().width());
    if (table && InBrowseState())
        SetCheckMarks();
    if (m_exOptions)
        ApplyExOptions();
    if (m_autoSizeColumns)
        ApplyAutoSize(true);
    ColEnter();
}

void TVoDaoDBGrid::LayoutChanged()
{
    TDBGrid::LayoutChanged();
    m_decoration.valid = false;
    if ((m_exOptions & exoRowSizing) && m_savedRowHeight > 0)
        SetDefaultRowHeight(m_savedRowHeight);
}

void TVoDaoDBGrid::SetColumnAttributes()
{
    if (!(Options() & dgMultiSelect) || !(Options() & dgIndicator)) {
        TDBGrid::SetColumnAttributes();
        return;
    }
    SetIndicatorWidth(IndicatorCheckBoxes() ? 2 * m_checkBoxSize.width() : m_plainIndicatorWidth);
}

bool TVoDaoDBGrid::IndicatorCheckBoxes() const
{
    return (m_exOptions & exoSelectCheckBoxes) && (Options() & dgMultiSelect) && (Options() & dgIndicator);
}

TVoDaoTable* TVoDaoDBGrid::OpenTable() const
{
    auto* table = dynamic_cast<TVoDaoTable*>(DataSet());
    return table && table->Active() ? table : nullptr;
}

bool TVoDaoDBGrid::InBrowseState() const
{
    const TDataSet* dataSet = DataSet();
    return dataSet && dataSet->Active() && dataSet->State() == dsBrowse;
}

// ---------------------------------------------------------------- check boxes for Boolean fields

void TVoDaoDBGrid::ColEnter()
{
    TDBGrid::ColEnter();
    if (!(Options() & dgEditing) || (Options() & dgRowSelect))
        return;
    const TField* field = SelectedField();
    SetInplaceEditing(!(m_showCheckBoxes && field && field->DataType() == ftBoolean));
}

TField* TVoDaoDBGrid::ToggleableField() const
{
    TField* field = SelectedField();
    TDataSet* dataSet = DataSet();
    if (!field || field->DataType() != ftBoolean || !m_showCheckBoxes || ReadOnly() || (Options() & dgRowSelect)
        || !(Options() & dgEditing) || !dataSet || !dataSet->Active() || !dataSet->CanModify()
        || field->ReadOnly())
        return nullptr;
    return field;
}

bool TVoDaoDBGrid::ToggleCurrentBoolean()
{
    TField* field = ToggleableField();
    if (!field)
        return false;
    GuardedCall([&] {
        if (DataLink().Edit())
            field->SetAsBoolean(!field->AsBoolean());
    });
    return true;
}

void TVoDaoDBGrid::DrawCheckBox(QPainter& painter, const QRect& box, bool checked) const
{
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = box;
    option.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, this);
}

// ---------------------------------------------------------------- painting

void TVoDaoDBGrid::DrawColumnCell(QPainter& painter, const QRect& rect, const QModelIndex& index,
                                  TGridDrawState state)
{
    const TField* field = Model().FieldAt(index.column());
    if (m_showCheckBoxes && field && field->DataType() == ftBoolean) {
        DrawCellBackground(painter, rect, state);
        const QSize glyph = m_checkBoxSize;
        const QRect box(rect.left() + (rect.width() - glyph.width()) / 2,
                        rect.top() + (rect.height() - glyph.height()) / 2, glyph.width(), glyph.height());
        DrawCheckBox(painter, box, index.data(TDBGridModel::ValueRole).toBool());
    } else {
        TDBGrid::DrawColumnCell(painter, rect, index, state);
    }
    if (m_frameIndexFields && field && OpenTable() && Decoration().frameFields.contains(field->FieldName())) {
        painter.setPen(Qt::red);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

void TVoDaoDBGrid::DrawTitleCell(QPainter& painter, const QRect& rect, int column)
{
    if ((m_exOptions & exoWrapTitles) && column >= 0 && column < Columns().Count()) {
        const TColumn& c = Columns()[column];
        painter.fillRect(rect, FixedColor());
        const QRect inner = (Options() & dgColLines) ? rect.adjusted(1, 1, -1, -1) : rect;
        painter.setFont(c.Title.Font ? *c.Title.Font : TitleFont());
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(inner, int(c.Title.Alignment | Qt::AlignVCenter) | Qt::TextWordWrap | Qt::TextExpandTabs,
                         c.TitleCaption());
        DrawRaisedEdge(painter, rect);
    } else {
        TDBGrid::DrawTitleCell(painter, rect, column);
    }
    const TVoDaoTable* table = OpenTable();
    if (!table || table->TableType() != 1 || column < 0 || column >= Columns().Count() || !Columns()[column].Field)
        return;
    const IndexDecoration& decoration = Decoration();
    const QString name = Columns()[column].Field->FieldName();
    if (!decoration.fields.contains(name, Qt::CaseInsensitive))
        return;
    const QPixmap& arrow =
        decoration.descending.contains(name, Qt::CaseInsensitive) ? vodao::DescGlyph() : vodao::AscGlyph();
    const QRect area = (Options() & dgColLines) ? rect.adjusted(4, 2, -4, -2) : rect;
    painter.drawPixmap(area.right() + 1 - arrow.width(), area.top(), arrow);
}

void TVoDaoDBGrid::DrawIndicatorCell(QPainter& painter, const QRect& rect, int row)
{
    if (!IndicatorCheckBoxes()) {
        TDBGrid::DrawIndicatorCell(painter, rect, row);
        return;
    }
    // The row's check box on the left, the framework's marks in the half beside it.
    TDBGrid::DrawIndicatorCell(painter, rect.adjusted(m_checkBoxSize.width(), 0, 0, 0), row);
    const QRect left(rect.left(), rect.top(), m_checkBoxSize.width(), rect.height());
    painter.fillRect(left, FixedColor());
    const QRect box(rect.left() + 1, rect.top() + (rect.height() - m_checkBoxSize.height()) / 2,
                    m_checkBoxSize.width() - 1, m_checkBoxSize.height());
    DrawCheckBox(painter, box, SelectedRows().Count() > 0 && SelectedRows().Contains(Model().RowBookmark(row)));
}

void TVoDaoDBGrid::DrawMenuCell(QPainter& painter, const QRect& rect)
{
    painter.fillRect(rect, FixedColor());
    if (!m_menuPressed)
        DrawRaisedEdge(painter, rect);
    if (!m_showGridMenu || !InBrowseState())
        return;
    m_menuCellRect = rect;
    const QPixmap& glyph = vodao::MenuGlyph();
    int x = (rect.left() + rect.right() - glyph.width()) / 2;
    int y = (rect.top() + rect.bottom() - glyph.height()) / 2;
    if (m_menuPressed) { // pressed: drawn flat, the glyph one pixel down and right
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        ++x;
        ++y;
    }
    painter.drawPixmap(x, y, glyph);
}

const TVoDaoDBGrid::IndexDecoration& TVoDaoDBGrid::Decoration() const
{
    const TVoDaoTable* table = OpenTable();
    const QString indexName = table ? table->IndexName() : QString();
    if (m_decoration.valid && m_decoration.indexName == indexName)
        return m_decoration;
    m_decoration = IndexDecoration{};
    m_decoration.indexName = indexName;
    m_decoration.valid = true;
    if (!table || indexName.isEmpty())
        return m_decoration;
    GuardedCall([&] {
        for (const TVoDaoIndexDef& def : table->IndexDefs()) {
            if (def.Name.compare(indexName, Qt::CaseInsensitive) != 0)
                continue;
            m_decoration.fields = def.Fields;
            for (int i = 0; i < def.Fields.size() && i < def.Descending.size(); ++i)
                if (def.Descending[i])
                    m_decoration.descending << def.Fields[i];
        }
        for (int i = 0; i < table->IndexFieldCount(); ++i)
            if (const TField* field = table->IndexFields(i))
                m_decoration.frameFields << field->FieldName();
    });
    return m_decoration;
}

// ---------------------------------------------------------------- mouse and keys

void TVoDaoDBGrid::MouseDown(TGridMouse& mouse)
{
    if (mouse.Cell.IsMenuCell()) {
        if (m_showGridMenu && mouse.Button == Qt::LeftButton && InBrowseState()) {
            m_menuPressed = true;
            PaintMenuCellNow();
        }
        return;
    }
    if (mouse.Cell.IsIndicator() && IndicatorCheckBoxes())
        mouse.Modifiers = Qt::ControlModifier; // each click toggles the row
    TDBGrid::MouseDown(mouse);
}

void TVoDaoDBGrid::MouseUp(TGridMouse& mouse)
{
    m_lastMouse = mouse.Pos;
    bool popUp = false;
    if (m_showGridMenu && ((mouse.Cell.IsMenuCell() && mouse.Button == Qt::LeftButton) || m_menuPressed)) {
        m_menuPressed = false;
        PaintMenuCellNow();
        popUp = true;
    }
    if (mouse.Cell.IsIndicator() && IndicatorCheckBoxes())
        mouse.Modifiers = Qt::ControlModifier;
    TDBGrid::MouseUp(mouse);
    if (popUp && OpenTable() && InBrowseState())
        PopupOptionsMenu();
}

void TVoDaoDBGrid::DblClick(TGridMouse& mouse)
{
    const std::optional<TGridCell> cell = CellAt(m_lastMouse);
    if (cell && cell->IsData() && ToggleCurrentBoolean())
        return;
    TDBGrid::DblClick(mouse);
}

void TVoDaoDBGrid::KeyDown(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (modifiers == Qt::NoModifier
        && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2)
        && ToggleCurrentBoolean()) {
        event->accept();
        return;
    }
    TDBGrid::KeyDown(event);
    if ((modifiers & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z && InBrowseState()) {
        RunShortcut(key);
        event->accept();
    }
}

void TVoDaoDBGrid::PaintMenuCellNow()
{
    if (QWidget* cell = findChild<QWidget*>(QStringLiteral("MenuCell")))
        cell->repaint();
}
