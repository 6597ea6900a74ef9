#include "app/TfCopyDlg.h"
#include "app/TCopyAnimation.h"

#include <QGuiApplication>
#include <QScreen>

TfCopyDlg* fCopyDlg = nullptr;

TfCopyDlg::TfCopyDlg(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName("fCopyDlg");
    setWindowTitle(QStringLiteral("Erstelle eine Sicherheitskopie der Veltrano-Datenbank..."));
    setFixedSize(469, 105);
    QFont f(QStringLiteral("MS Shell Dlg 2"));
    f.setPixelSize(11);
    setFont(f);

    Animate1 = new TCopyAnimation(this);
    Animate1->setObjectName("Animate1");
    Animate1->setGeometry(99, 23, 272, 60);
    connect(Animate1, &TCopyAnimation::started, this, &TfCopyDlg::Animate1Start);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, &TfCopyDlg::Timer1Timer);
}

void TfCopyDlg::showEvent(QShowEvent* event)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    QWidget::showEvent(event);
    Timer1->start();
    Animate1->SetActive(true);
}

void TfCopyDlg::hideEvent(QHideEvent* event)
{
    Timer1->stop();
    Animate1->SetActive(false);
    QWidget::hideEvent(event);
}

void TfCopyDlg::Timer1Timer()
{
    ++repaints_;
    repaint();
}

void TfCopyDlg::Animate1Start()
{
    ++repaints_;
    repaint();
}
