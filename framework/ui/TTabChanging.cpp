#include "framework/ui/TTabChanging.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>

TTabChanging::TTabChanging(QTabWidget* tabs) : QObject(tabs), tabs_(tabs)
{
    tabs->installEventFilter(this);
    tabs->tabBar()->installEventFilter(this);
}

int TTabChanging::NextTab(int step, bool wrap) const
{
    const QTabBar* bar = tabs_->tabBar();
    const int count = bar->count();
    int index = bar->currentIndex();
    for (int pass = 1; pass < count; ++pass) {
        index += step;
        if (wrap)
            index = (index + count) % count;
        else if (index < 0 || index >= count)
            return -1;
        if (bar->isTabEnabled(index) && bar->isTabVisible(index))
            return index;
    }
    return -1;
}

bool TTabChanging::Refused(int index)
{
    if (index < 0 || index == tabs_->currentIndex() || !OnChanging)
        return false;
    bool allow = true;
    OnChanging(tabs_, allow);
    return !allow;
}

bool TTabChanging::eventFilter(QObject* watched, QEvent* event)
{
    QTabBar* bar = tabs_->tabBar();
    if (watched == bar) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: {
            // The style says whether a tab is chosen on press (a double click
            // presses too) or on release.
            const auto selects =
                QEvent::Type(bar->style()->styleHint(QStyle::SH_TabBar_SelectMouseType, nullptr, bar));
            const QEvent::Type type = event->type() == QEvent::MouseButtonDblClick ? QEvent::MouseButtonPress
                                                                                      : event->type();
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (type != selects || mouse->button() != Qt::LeftButton)
                return false;
            const int index = bar->tabAt(mouse->position().toPoint());
            return index >= 0 && bar->isTabEnabled(index) && Refused(index);
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Left && key != Qt::Key_Right)
                return false;
            const bool back = key == (bar->isRightToLeft() ? Qt::Key_Right : Qt::Key_Left);
            return Refused(NextTab(back ? -1 : 1, false));
        }
        case QEvent::Wheel: {
            // The wheel steps through the tabs where the style lets it; it is
            // handled here, so that every step is asked for.
            if (!bar->style()->styleHint(QStyle::SH_TabBar_AllowWheelScrolling, nullptr, bar))
                return false;
            const QPoint delta = static_cast<QWheelEvent*>(event)->angleDelta();
            const int amount = std::abs(delta.y()) > std::abs(delta.x()) ? delta.y() : delta.x();
            const int index = amount == 0 ? -1 : NextTab(amount > 0 ? -1 : 1, false);
            if (!Refused(index) && index >= 0)
                tabs_->setCurrentIndex(index);
            return true;
        }
        default:
            return false;
        }
    }
    if (watched == tabs_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && (key->modifiers() & Qt::ControlModifier)
            && tabs_->count() > 1) {
            const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            return Refused(NextTab(back ? -1 : 1, true));
        }
    }
    return false;
}
