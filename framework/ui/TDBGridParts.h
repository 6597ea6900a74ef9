#pragma once
// The parts of a data grid that Qt draws in its own widgets: the title row
// (horizontal header), the indicator column (vertical header), the menu cell
// (the corner where they meet) and the cell painter. Each hands painting and
// mouse work to the grid's operations.
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QWidget>

class TDBGrid;

class TDBGridTitleHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TDBGridTitleHeader(TDBGrid& grid);
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TDBGrid& m_grid;
};

class TDBGridIndicator : public QHeaderView {
    Q_OBJECT
public:
    explicit TDBGridIndicator(TDBGrid& grid);
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // True over the border between two rows while rows may be dragged.
    bool OnRowBorder(const QPoint& pos) const;
    TDBGrid& m_grid;
    bool m_resizing = false;
};

class TDBGridMenuCell : public QWidget {
    Q_OBJECT
public:
    explicit TDBGridMenuCell(TDBGrid& grid);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TDBGrid& m_grid;
};

class TDBGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TDBGridDelegate(TDBGrid& grid);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

private:
    TDBGrid& m_grid;
};
