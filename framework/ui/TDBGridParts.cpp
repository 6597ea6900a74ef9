#include "framework/ui/TDBGridParts.h"

#include "framework/ui/TDBGrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

// ------------------------------------------------------------------ title row

TDBGridTitleHeader::TDBGridTitleHeader(TDBGrid& grid) : QHeaderView(Qt::Horizontal, &grid), m_grid(grid)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(0);
}

QSize TDBGridTitleHeader::sizeHint() const
{
    return {QHeaderView::sizeHint().width(), m_grid.TitleRowHeight()};
}

void TDBGridTitleHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    m_grid.PaintTitle(*painter, rect, logicalIndex);
    painter->restore();
}

void TDBGridTitleHeader::mousePressEvent(QMouseEvent* event)
{
    QHeaderView::mousePressEvent(event); // column resizing
    m_grid.PartMouse(event->type(), event, TGridCell{logicalIndexAt(event->pos()), -1});
}

void TDBGridTitleHeader::mouseReleaseEvent(QMouseEvent* event)
{
    QHeaderView::mouseReleaseEvent(event);
    m_grid.PartMouse(event->type(), event, TGridCell{logicalIndexAt(event->pos()), -1});
}

// ------------------------------------------------------------ indicator column

TDBGridIndicator::TDBGridIndicator(TDBGrid& grid) : QHeaderView(Qt::Vertical, &grid), m_grid(grid)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(1);
    setSectionResizeMode(QHeaderView::Fixed);
}

QSize TDBGridIndicator::sizeHint() const
{
    return {m_grid.IndicatorWidth(), QHeaderView::sizeHint().height()};
}

void TDBGridIndicator::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    m_grid.PaintIndicator(*painter, rect, logicalIndex);
    painter->restore();
}

bool TDBGridIndicator::OnRowBorder(const QPoint& pos) const
{
    if (sectionResizeMode(0) != QHeaderView::Interactive || count() == 0)
        return false;
    const int margin = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    return logicalIndexAt(pos.y() - margin) != logicalIndexAt(pos.y() + margin);
}

void TDBGridIndicator::mousePressEvent(QMouseEvent* event)
{
    m_resizing = OnRowBorder(event->pos());
    if (m_resizing) {
        QHeaderView::mousePressEvent(event);
        return;
    }
    m_grid.PartMouse(event->type(), event, TGridCell{-1, logicalIndexAt(event->pos())});
}

void TDBGridIndicator::mouseMoveEvent(QMouseEvent* event)
{
    QHeaderView::mouseMoveEvent(event); // the resize cursor and the drag
}

void TDBGridIndicator::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_resizing) {
        m_resizing = false;
        QHeaderView::mouseReleaseEvent(event);
        return;
    }
    m_grid.PartMouse(event->type(), event, TGridCell{-1, logicalIndexAt(event->pos())});
}

// ------------------------------------------------------------------ menu cell

TDBGridMenuCell::TDBGridMenuCell(TDBGrid& grid) : QWidget(&grid), m_grid(grid)
{
    setObjectName(QStringLiteral("MenuCell"));
}

void TDBGridMenuCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_grid.PaintMenuCell(painter, rect());
}

void TDBGridMenuCell::mousePressEvent(QMouseEvent* event)
{
    m_grid.PartMouse(event->type(), event, TGridCell{-1, -1});
}

void TDBGridMenuCell::mouseReleaseEvent(QMouseEvent* event)
{
    m_grid.PartMouse(event->type(), event, TGridCell{-1, -1});
}

// ------------------------------------------------------------------- cells

TDBGridDelegate::TDBGridDelegate(TDBGrid& grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

void TDBGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    m_grid.PaintColumnCell(*painter, option.rect, index, m_grid.DrawStateOf(index));
    painter->restore();
}

QWidget* TDBGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    m_grid.EditorCreated(editor);
    return editor;
}
