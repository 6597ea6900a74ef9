#pragma once
#include <QTimer>
#include <QWidget>

// A looping animation of a sheet of paper flying from one folder into another,
// shown while files are copied. It plays frames 0..31 on its own timer.
class TCopyAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int FrameCount = 32;

    explicit TCopyAnimation(QWidget* parent = nullptr);

    bool Active() const { return frameTimer_.isActive(); }
    void SetActive(bool active);
    int Frame() const { return frame_; }

signals:
    void started();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer frameTimer_;
    int frame_ = 0;
};
