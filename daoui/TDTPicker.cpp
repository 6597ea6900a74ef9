#include "daoui/TDTPicker.h"
#include "ui_TDTPicker.h"

#include "daoui/DateTimeTexts.h"
#include "framework/data/ValueText.h"
#include "framework/ui/TApplication.h"

#include <QLineEdit>
#include <QStyle>

TDTPicker::TDTPicker(QWidget* parent) : QDialog(parent, Qt::Tool), ui(std::make_unique<Ui::TDTPicker>())
{
    ui->setupUi(this);
    setFixedSize(size());
    ui->OKBtn->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    ui->CancelBtn->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TDTPicker::~TDTPicker() = default;

bool TDTPicker::Execute(QDateTime& value, bool time)
{
    ui->OKBtn->setText(QString());
    ui->CancelBtn->setText(QString());
    const QDateTime start = value.isValid() ? value : QDateTime::currentDateTime();
    ui->DTP->setCalendarPopup(!time);
    ui->DTP->setDisplayFormat(time ? QStringLiteral("HH:mm:ss") : ShortDateFormat());
    ui->DTP->setDateTime(start);
    ui->DTP->setFocus();
    if (Application->interaction().execDialog(*this) != QDialog::Accepted)
        return false;
    const QDateTime picked = ui->DTP->dateTime();
    value = time ? QDateTime(start.date(), picked.time()) : QDateTime(picked.date(), start.time());
    return true;
}

void TDTPicker::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The frame is known once the window is shown.
    if (anchor_.isValid())
        move(anchor_.x() + anchor_.width() - frameGeometry().width(), anchor_.y() + anchor_.height() + 2);
}

void PickIntoEdit(QAbstractButton& button, QLineEdit& edit)
{
    const bool time = button.text() == QLatin1String("..");
    TDTPicker picker(&button);
    picker.PlaceUnder(QRect(button.mapToGlobal(QPoint(0, 0)), button.size()));
    // The picker starts on the value the edit holds, when it holds one.
    QDateTime value;
    if (time) {
        QTime typed;
        if (TextToTime(edit.text(), typed))
            value = QDateTime(QDate::currentDate(), typed);
    } else {
        QDate typed;
        if (TextToDate(edit.text(), typed))
            value = QDateTime(typed, QTime::currentTime());
    }
    if (!picker.Execute(value, time))
        return;
    edit.setText(time ? PickerTimeText(value.time()) : PickerDateText(value.date()));
}
