#pragma once
// Disables a grid and holds its painting while a long piece of work runs on
// its dataset, with the wait cursor; everything is as before afterwards
// (also when an exception ends the work).
#include "framework/ui/TWaitCursor.h"

#include <QWidget>

class HeldGrid {
public:
    explicit HeldGrid(QWidget& grid) : grid_(grid), enabled_(grid.isEnabled()), updates_(grid.updatesEnabled())
    {
        grid_.setUpdatesEnabled(false);
        grid_.setEnabled(false);
    }
    ~HeldGrid()
    {
        grid_.setEnabled(enabled_);
        grid_.setUpdatesEnabled(updates_);
    }
    HeldGrid(const HeldGrid&) = delete;
    HeldGrid& operator=(const HeldGrid&) = delete;

private:
    QWidget& grid_;
    bool enabled_;
    bool updates_;
    TWaitCursor cursor_;
};
