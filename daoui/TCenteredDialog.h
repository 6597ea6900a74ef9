#pragma once
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>

// A dialog of the data-access layer: its size is the one of its form, and it
// is centred on the screen each time it is shown.
class TCenteredDialog : public QDialog {
public:
    using QDialog::QDialog;

protected:
    // Call after setupUi: the form's size becomes the fixed client size.
    void FixFormSize() { setFixedSize(size()); }

    void showEvent(QShowEvent* event) override
    {
        QDialog::showEvent(event);
        if (event->spontaneous())
            return;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
};
