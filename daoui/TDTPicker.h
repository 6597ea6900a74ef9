#pragma once
#include <QDateTime>
#include <QDialog>
#include <QRect>
#include <memory>

class QAbstractButton;
class QLineEdit;

namespace Ui {
class TDTPicker;
}

// "Pick a Date": a small tool window with a date (or time) picker and two
// glyph buttons, OK and Cancel. Made for one Execute.
class TDTPicker : public QDialog {
    Q_OBJECT
public:
    explicit TDTPicker(QWidget* parent = nullptr);
    ~TDTPicker() override;

    // Shows the picker modally on value, for a time when time is set and for
    // a date otherwise. On OK value takes the date or time picked (the
    // other part stays) and the result is true.
    bool Execute(QDateTime& value, bool time);
    // Where the window goes when shown: its outer right edge on the right
    // edge of anchor (screen coordinates), its top 2 pixels below it.
    void PlaceUnder(const QRect& anchor) { anchor_ = anchor; }

    std::unique_ptr<Ui::TDTPicker> ui;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QRect anchor_;
};

// The picker button of the search dialogs: opens the picker right-aligned
// 2 pixels below the button (a time picker for the caption "..", a date
// picker otherwise) and on OK writes the value into edit in the pattern
// the edit showed.
void PickIntoEdit(QAbstractButton& button, QLineEdit& edit);
