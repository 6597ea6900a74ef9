// How the data grid draws its cells: the title row, the indicator column,
// the menu cell and the data cells.
#include "framework/data/TDataSet.h"
#include "framework/ui/TDBGrid.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kLineColor(192, 192, 192);

void drawArrow(QPainter& painter, const QRect& rect)
{
    const QPoint c = rect.center();
    QPainterPath path;
    path.moveTo(c.x() - 2, c.y() - 4);
    path.lineTo(c.x() + 2, c.y());
    path.lineTo(c.x() - 2, c.y() + 4);
    path.closeSubpath();
    painter.fillPath(path, Qt::black);
}

void drawEditMark(QPainter& painter, const QRect& rect)
{
    const QPoint c = rect.center();
    painter.setPen(Qt::black);
    painter.drawLine(c.x(), c.y() - 4, c.x(), c.y() + 4);
    painter.drawLine(c.x() - 2, c.y() - 4, c.x() + 2, c.y() - 4);
    painter.drawLine(c.x() - 2, c.y() + 4, c.x() + 2, c.y() + 4);
}

void drawInsertMark(QPainter& painter, const QRect& rect)
{
    const QPoint c = rect.center();
    painter.setPen(Qt::black);
    painter.drawLine(c.x() - 3, c.y(), c.x() + 3, c.y());
    painter.drawLine(c.x(), c.y() - 3, c.x(), c.y() + 3);
    painter.drawLine(c.x() - 2, c.y() - 2, c.x() + 2, c.y() + 2);
    painter.drawLine(c.x() - 2, c.y() + 2, c.x() + 2, c.y() - 2);
}

void drawSelectedMark(QPainter& painter, const QRect& rect, bool current)
{
    const QPoint c = rect.center();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const int x = current ? rect.left() + 2 : c.x() - 1;
    painter.drawEllipse(QPoint(x, c.y()), 1, 1);
}

} // namespace

TGridDrawState TDBGrid::DrawStateOf(const QModelIndex& index) const
{
    TGridDrawState state = 0;
    const QModelIndex current = currentIndex();
    const bool currentCell = index == current;
    const bool showSelection = hasFocus() || (m_options & dgAlwaysShowSelection);
    if (currentCell)
        state |= gdFocused;
    if (showSelection && current.isValid()
        && (currentCell || ((m_options & dgRowSelect) && index.row() == current.row())))
        state |= gdSelected;
    if ((m_options & dgMultiSelect) && m_selectedRows.Count() > 0
        && m_selectedRows.Contains(m_model->data(index, TDBGridModel::BookmarkRole).toByteArray()))
        state |= gdSelected;
    return state;
}

void TDBGrid::DrawRaisedEdge(QPainter& painter, const QRect& rect)
{
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

void TDBGrid::DrawCellBackground(QPainter& painter, const QRect& rect, TGridDrawState state)
{
    const bool selected = state & gdSelected;
    painter.fillRect(rect, palette().color(selected ? QPalette::Highlight : QPalette::Base));
    painter.setPen(kLineColor);
    if (m_options & dgColLines)
        painter.drawLine(rect.topRight(), rect.bottomRight());
    if (m_options & dgRowLines)
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
}

void TDBGrid::DrawTitleCell(QPainter& painter, const QRect& rect, int column)
{
    painter.fillRect(rect, m_fixedColor);
    if (column >= 0 && column < m_columns.Count()) {
        const TColumn& c = m_columns[column];
        painter.setFont(c.Title.Font ? *c.Title.Font : m_titleFont);
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect.adjusted(2, 0, -2, 0), int(c.Title.Alignment | Qt::AlignVCenter) | Qt::TextSingleLine,
                         c.TitleCaption());
    }
    DrawRaisedEdge(painter, rect);
}

void TDBGrid::DrawIndicatorCell(QPainter& painter, const QRect& rect, int row)
{
    painter.fillRect(rect, m_fixedColor);
    DrawRaisedEdge(painter, rect);
    const TDataSet* dataSet = DataSet();
    const bool current = row == m_model->CurrentRow() && dataSet;
    if (current) {
        switch (dataSet->State()) {
        case dsEdit: drawEditMark(painter, rect); break;
        case dsInsert: drawInsertMark(painter, rect); break;
        default: drawArrow(painter, rect); break;
        }
    }
    if ((m_options & dgMultiSelect) && m_selectedRows.Count() > 0
        && m_selectedRows.Contains(m_model->RowBookmark(row)))
        drawSelectedMark(painter, rect, current);
}

void TDBGrid::DrawMenuCell(QPainter& painter, const QRect& rect)
{
    painter.fillRect(rect, m_fixedColor);
    DrawRaisedEdge(painter, rect);
}

void TDBGrid::DrawColumnCell(QPainter& painter, const QRect& rect, const QModelIndex& index, TGridDrawState state)
{
    DefaultDrawColumnCell(painter, rect, index, state);
}

void TDBGrid::DefaultDrawColumnCell(QPainter& painter, const QRect& rect, const QModelIndex& index,
                                    TGridDrawState state)
{
    DrawCellBackground(painter, rect, state);
    const QString text = index.data(Qt::DisplayRole).toString();
    const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    painter.setFont(font());
    painter.setPen(palette().color((state & gdSelected) ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(rect.adjusted(2, 0, -3, -1), int(alignment) | Qt::TextSingleLine, text);
    if ((state & gdFocused) && hasFocus() && !(state & gdSelected)) {
        QPen dotted(palette().color(QPalette::Text));
        dotted.setStyle(Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(rect.adjusted(0, 0, -2, -2));
    }
}
