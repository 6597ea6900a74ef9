#pragma once
// The "changing" event of a tab widget: runs before the user's tab change
// takes effect and may refuse it. QTabWidget reports a change only after it
// happened, so the user's input that would change the tab (a click on another
// tab, the arrow keys on the tab bar, the mouse wheel over it, Ctrl+Tab and
// Ctrl+Shift+Tab) is caught first. Tab changes made by code are not asked for.
#include <QObject>
#include <functional>

class QTabWidget;

class TTabChanging : public QObject {
public:
    explicit TTabChanging(QTabWidget* tabs);

    // Sender is the tab widget; AllowChange starts true, false keeps the tab.
    std::function<void(QObject* Sender, bool& AllowChange)> OnChanging;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The enabled tab next to the current one in the direction step (+1 or -1);
    // -1 when there is none. Ctrl+Tab wraps around, the tab bar's own keys do not.
    int NextTab(int step, bool wrap) const;
    // True when the change to index is refused (and the input is to be dropped).
    bool Refused(int index);

    QTabWidget* tabs_;
};
