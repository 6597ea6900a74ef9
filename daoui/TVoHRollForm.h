#pragma once
#include <QFrame>
#include <QTimer>

// A side panel at the right edge of its window that rolls in to a grip
// strip along its left side and out again; the window narrows and widens
// with it. The panel's own width is the rolled-out width; its children
// sit to the right of the grip. A click on the grip rolls the panel in or
// out, and focus going to one of its children rolls it out.
class TVoHRollForm : public QFrame {
    Q_OBJECT
    Q_PROPERTY(bool Animated MEMBER Animated)
    Q_PROPERTY(int RollStep MEMBER RollStep)
public:
    explicit TVoHRollForm(QWidget* parent = nullptr);

    // Animated: rolling moves the edge RollStep pixels per timer tick.
    bool Animated = true;
    int RollStep = 2;

    // Where the panel is going (or stands): rolled in or not.
    bool RolledUp() const { return rolledUp_; }
    bool Rolling() const { return timer_.isActive(); }
    // The grip's width: that of a window caption button.
    int GripWidth() const;
    // The width rolled out.
    int FullWidth() const { return fullWidth_ >= 0 ? fullWidth_ : width(); }
    QWidget* Grip() const { return grip_; }

    void RollUp(bool animate = true) { RollTo(true, animate); }
    void RollOut(bool animate = true) { RollTo(false, animate); }
    void Toggle() { RollTo(!rolledUp_, true); }

signals:
    // A motion has ended (at once when not animated).
    void Rolled(bool rolledUp);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void RollTo(bool up, bool animate);
    void Step();
    // Stops the timer and fixes the window's width again.
    void EndMotion();
    // Gives the panel this width, the window the same change, and keeps the
    // panel at the window's right edge.
    void SetPanelWidth(int width);

    QWidget* grip_;
    QTimer timer_;
    int fullWidth_ = -1;
    bool rolledUp_ = false;
    bool windowFixed_ = false; // the window had a fixed width when the motion began
};
