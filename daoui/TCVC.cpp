#include "daoui/TCVC.h"
#include "ui_TCVC.h"

#include "framework/ui/TApplication.h"
#include "framework/ui/TDBGrid.h"

#include <QStyle>

TCVC::TCVC(QWidget* parent) : TCenteredDialog(parent), ui(std::make_unique<Ui::TCVC>())
{
    ui->setupUi(this);
    FixFormSize();
    ui->AddBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    ui->RemoveBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    connect(ui->AddBtn, &QPushButton::clicked, this, &TCVC::AddBtnClick);
    connect(ui->ListBox2, &QListWidget::itemDoubleClicked, this, &TCVC::AddBtnClick);
    connect(ui->RemoveBtn, &QPushButton::clicked, this, &TCVC::RemoveBtnClick);
    connect(ui->ListBox1, &QListWidget::itemDoubleClicked, this, &TCVC::RemoveBtnClick);
    connect(ui->CheckBox1, &QCheckBox::clicked, this, &TCVC::LiveViewClicked);
    connect(ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TCVC::~TCVC() = default;

bool TCVC::Execute(TDBGrid& grid)
{
    grid_ = &grid;
    visible_.clear();
    hidden_.clear();
    for (const TColumn& column : grid.Columns())
        (column.Visible ? visible_ : hidden_) << column.TitleCaption();
    const QStringList wereVisible = visible_;
    const QStringList wereHidden = hidden_;
    ui->ListBox1->clear();
    ui->ListBox1->addItems(visible_);
    ui->ListBox2->clear();
    ui->ListBox2->addItems(hidden_);
    ui->ListBox1->setFocus();

    const bool ok = Application->interaction().execDialog(*this) == QDialog::Accepted;
    if (ok)
        Apply(visible_, hidden_);
    else
        Apply(wereVisible, wereHidden);
    grid_ = nullptr;
    return ok;
}

void TCVC::AddBtnClick() { MoveSelected(ui->ListBox2, hidden_, ui->ListBox1, visible_, true); }

void TCVC::RemoveBtnClick()
{
    if (ui->ListBox1->count() >= 2)
        MoveSelected(ui->ListBox1, visible_, ui->ListBox2, hidden_, false);
}

void TCVC::MoveSelected(QListWidget* from, QStringList& fromTitles, QListWidget* to, QStringList& toTitles,
                        bool visible)
{
    const int row = from->currentRow();
    if (row < 0 || !from->item(row)->isSelected())
        return;
    const QString title = fromTitles[row];
    to->addItem(from->item(row)->text());
    toTitles << title;
    if (ui->CheckBox1->isChecked())
        SetVisible(title, visible);
    delete from->takeItem(row);
    fromTitles.removeAt(row);
    if (from->count() > 0)
        from->setCurrentRow(std::max(row - 1, 0));
}

void TCVC::LiveViewClicked(bool on)
{
    if (on)
        Apply(visible_, hidden_);
}

void TCVC::Apply(const QStringList& visible, const QStringList& hidden)
{
    for (const QString& title : visible)
        SetVisible(title, true);
    for (const QString& title : hidden)
        SetVisible(title, false);
}

void TCVC::SetVisible(const QString& title, bool visible)
{
    if (!grid_)
        return;
    int last = -1;
    for (int c = 0; c < grid_->Columns().Count(); ++c)
        if (grid_->Columns()[c].TitleCaption() == title)
            last = c;
    grid_->SetColumnVisible(last, visible);
}
