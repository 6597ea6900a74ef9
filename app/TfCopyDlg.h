#pragma once
#include <QTimer>
#include <QWidget>

#include "framework/ui/TProgressWindow.h"

class TCopyAnimation;

// Progress window shown around long operations: stays on top, no buttons,
// cannot cancel anything; an animation plays and the window repaints itself
// every 250 ms while it is shown.
class TfCopyDlg : public QWidget, public TProgressWindow {
    Q_OBJECT
public:
    explicit TfCopyDlg(QWidget* parent = nullptr);

    void SetCaption(const QString& caption) override { setWindowTitle(caption); }
    QString Caption() const { return windowTitle(); }
    void Show() override { show(); }
    void Hide() override { hide(); }
    void Close() override { close(); }

    TCopyAnimation* Animate1 = nullptr;
    QTimer* Timer1 = nullptr;

    // Number of repaints done by the timer and the animation start.
    int RepaintCount() const { return repaints_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Timer1Timer();
    void Animate1Start();
    int repaints_ = 0;
};

extern TfCopyDlg* fCopyDlg;
