#pragma once
// Disables a grid and holds its painting while a long piece of work runs on
// its dataset, with the wait cursor; everything is as before afterwards
// (also when an exception ends the work). Disabling takes the keyboard focus
// from the grid: a grid that had it gets it back, so that the next shortcut
// still reaches it.
#include "framework/ui/TWaitCursor.h"

#include <QApplication>
#include <QWidget>

class HeldGrid {
public:
    explicit HeldGrid(QWidget& grid)
        : grid_(grid), enabled_(grid.isEnabled()), updates_(grid.updatesEnabled()), focused_(HasFocus(grid))
    {
        grid_.setUpdatesEnabled(false);
        grid_.setEnabled(false);
    }
    ~HeldGrid()
    {
        grid_.setEnabled(enabled_);
        grid_.setUpdatesEnabled(updates_);
        if (focused_ && !HasFocus(grid_))
            grid_.setFocus(Qt::OtherFocusReason);
    }
    HeldGrid(const HeldGrid&) = delete;
    HeldGrid& operator=(const HeldGrid&) = delete;

private:
    static bool HasFocus(const QWidget& grid)
    {
        const QWidget* focus = QApplication::focusWidget();
        return focus && (focus == &grid || grid.isAncestorOf(focus));
    }

    QWidget& grid_;
    bool enabled_;
    bool updates_;
    bool focused_;
    TWaitCursor cursor_;
};
