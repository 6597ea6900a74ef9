#include "daoui/TVoHRollForm.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace {

// The strip along the panel's left side: five raised lines, a click rolls.
class RollGrip : public QWidget {
public:
    explicit RollGrip(TVoHRollForm* form) : QWidget(form), form_(form)
    {
        setCursor(Qt::PointingHandCursor);
        setToolTip(QStringLiteral("Show or hide the column list"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const int lines = 5, pitch = 3;
        const int left = (width() - (lines - 1) * pitch - 2) / 2;
        const int top = 4, bottom = height() - 5;
        for (int i = 0; i < lines; ++i) {
            const int x = left + i * pitch;
            p.setPen(palette().color(isEnabled() ? QPalette::Light : QPalette::Midlight));
            p.drawLine(x, top, x, bottom);
            p.setPen(palette().color(isEnabled() ? QPalette::Dark : QPalette::Mid));
            p.drawLine(x + 1, top, x + 1, bottom);
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            form_->Toggle();
    }

private:
    TVoHRollForm* form_;
};

} // namespace

TVoHRollForm::TVoHRollForm(QWidget* parent) : QFrame(parent), grip_(new RollGrip(this))
{
    setFrameShape(QFrame::NoFrame);
    timer_.setInterval(4);
    connect(&timer_, &QTimer::timeout, this, &TVoHRollForm::Step);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (rolledUp_ && now && isAncestorOf(now))
            RollOut();
    });
}

int TVoHRollForm::GripWidth() const { return style()->pixelMetric(QStyle::PM_TitleBarButtonSize, nullptr, this); }

void TVoHRollForm::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    grip_->setGeometry(0, 0, GripWidth(), height());
    grip_->raise();
}

void TVoHRollForm::RollTo(bool up, bool animate)
{
    if (fullWidth_ < 0)
        fullWidth_ = width();
    rolledUp_ = up;
    if (animate && Animated && RollStep > 0) {
        if (!timer_.isActive()) {
            // A window of fixed width is freed while it moves, not at every step.
            QWidget* window = this->window();
            windowFixed_ = window != this && window->minimumWidth() == window->maximumWidth();
            if (windowFixed_) {
                window->setMinimumWidth(0);
                window->setMaximumWidth(QWIDGETSIZE_MAX);
            }
            timer_.start();
        }
        return;
    }
    if (timer_.isActive())
        EndMotion();
    SetPanelWidth(up ? GripWidth() : fullWidth_);
    emit Rolled(up);
}

void TVoHRollForm::EndMotion()
{
    timer_.stop();
    if (windowFixed_)
        window()->setFixedWidth(window()->width());
    windowFixed_ = false;
}

void TVoHRollForm::Step()
{
    const int target = rolledUp_ ? GripWidth() : fullWidth_;
    const int next = rolledUp_ ? std::max(target, width() - RollStep) : std::min(target, width() + RollStep);
    SetPanelWidth(next);
    if (next == target) {
        EndMotion();
        emit Rolled(rolledUp_);
    }
}

void TVoHRollForm::SetPanelWidth(int width)
{
    const int change = width - this->width();
    if (change == 0)
        return;
    // The window's new width is used at once: a shown window may take its
    // new size only when the window system answers.
    QWidget* parent = parentWidget();
    int parentWidth = parent ? parent->width() : width;
    if (parent) {
        QWidget* window = this->window();
        const int windowWidth = window->width() + change;
        if (window->minimumWidth() == window->maximumWidth())
            window->setFixedWidth(windowWidth);
        else
            window->resize(windowWidth, window->height());
        if (parent == window)
            parentWidth = windowWidth;
    }
    setGeometry(parentWidth - width, y(), width, height());
}
