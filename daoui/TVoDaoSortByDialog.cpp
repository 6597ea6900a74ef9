#include "daoui/TVoDaoSortByDialog.h"
#include "ui_TVoDaoSortByDialog.h"

#include "daoui/SortByRules.h"
#include "framework/ui/TApplication.h"

#include <QSignalBlocker>
#include <QStyle>

namespace {
const QString kAscending = QStringLiteral("Ascending");
const QString kDescending = QStringLiteral("Descending");
} // namespace

TVoDaoSortByDialog::TVoDaoSortByDialog(QWidget* parent)
    : TCenteredDialog(parent), ui(std::make_unique<Ui::TVoDaoSortByDialog>())
{
    ui->setupUi(this);
    FixFormSize();
    ui->AddBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    ui->RemoveBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    ui->UpBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    ui->DownBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));

    connect(ui->OKButton, &QPushButton::clicked, this, &TVoDaoSortByDialog::OKButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->AddBtn, &QPushButton::clicked, this, &TVoDaoSortByDialog::AddBtnClick);
    connect(ui->ListBox2, &QListWidget::itemDoubleClicked, this, &TVoDaoSortByDialog::AddBtnClick);
    connect(ui->RemoveBtn, &QPushButton::clicked, this, &TVoDaoSortByDialog::RemoveBtnClick);
    connect(ui->UpBtn, &QToolButton::clicked, this, &TVoDaoSortByDialog::UpBtnClick);
    connect(ui->DownBtn, &QToolButton::clicked, this, &TVoDaoSortByDialog::DownBtnClick);
    connect(ui->ListBox1, &QListWidget::currentRowChanged, this, &TVoDaoSortByDialog::SelectRow);
    connect(ui->ListBox3, &QListWidget::currentRowChanged, this, &TVoDaoSortByDialog::SelectRow);
    connect(ui->ComboBox1, &QComboBox::activated, this, &TVoDaoSortByDialog::ComboBox1Change);
}

TVoDaoSortByDialog::~TVoDaoSortByDialog() = default;

bool TVoDaoSortByDialog::Execute(const QStringList& availableFields, QStringList& sortedBy, bool useBrackets)
{
    useBrackets_ = useBrackets;
    result_.clear();
    ui->ComboBox1->clear();
    ui->ComboBox1->addItems({kAscending, kDescending});
    ui->ComboBox1->setCurrentIndex(0);

    QStringList sortedNames;
    {
        const QSignalBlocker block1(ui->ListBox1), block3(ui->ListBox3);
        ui->ListBox1->clear();
        ui->ListBox3->clear();
        for (const QString& line : sortedBy) {
            const TSortField field = ParseSortLine(line);
            if (field.Name.isEmpty()) // a blank line names no field
                continue;
            ui->ListBox1->addItem(field.Name);
            ui->ListBox3->addItem(field.Descending ? kDescending : kAscending);
            sortedNames << field.Name;
        }
    }
    ui->ListBox2->clear();
    ui->ListBox2->addItems(UnsortedFields(availableFields, sortedNames));
    ui->ListBox2->setFocus();

    if (Application->interaction().execDialog(*this) != QDialog::Accepted)
        return false;
    sortedBy = result_;
    return true;
}

void TVoDaoSortByDialog::OKButtonClick()
{
    if (ui->ListBox1->count() > 0) {
        QList<TSortField> fields;
        for (int i = 0; i < ui->ListBox1->count(); ++i) {
            const QListWidgetItem* direction = ui->ListBox3->item(i);
            fields << TSortField{ui->ListBox1->item(i)->text(), !direction || direction->text() != kAscending};
        }
        result_ = SortLines(fields, useBrackets_);
    }
    accept();
}

void TVoDaoSortByDialog::AddBtnClick()
{
    QListWidgetItem* item = ui->ListBox2->currentItem();
    if (!item || !item->isSelected())
        return;
    {
        const QSignalBlocker block1(ui->ListBox1), block3(ui->ListBox3);
        ui->ListBox1->addItem(item->text());
        ui->ListBox3->addItem(ui->ComboBox1->currentText());
    }
    delete ui->ListBox2->takeItem(ui->ListBox2->row(item));
    SelectRow(ui->ListBox1->count() - 1);
}

void TVoDaoSortByDialog::RemoveBtnClick()
{
    const int row = ui->ListBox1->currentRow();
    if (row < 0 || !ui->ListBox1->item(row)->isSelected())
        return;
    {
        const QSignalBlocker block1(ui->ListBox1), block3(ui->ListBox3);
        ui->ListBox2->addItem(ui->ListBox1->item(row)->text());
        delete ui->ListBox3->takeItem(row);
        delete ui->ListBox1->takeItem(row);
    }
    SelectRow(ui->ListBox1->currentRow());
}

void TVoDaoSortByDialog::UpBtnClick()
{
    const int row = ui->ListBox1->currentRow();
    if (row <= 0)
        return;
    SwapRows(row, row - 1);
    SelectRow(row - 1);
}

void TVoDaoSortByDialog::DownBtnClick()
{
    const int row = ui->ListBox1->currentRow();
    if (row < 0 || row >= ui->ListBox1->count() - 1)
        return;
    SwapRows(row, row + 1);
    SelectRow(row + 1);
}

void TVoDaoSortByDialog::SwapRows(int a, int b)
{
    for (QListWidget* list : {ui->ListBox1, ui->ListBox3}) {
        QListWidgetItem* first = list->item(a);
        QListWidgetItem* second = list->item(b);
        if (!first || !second)
            continue;
        const QString text = first->text();
        first->setText(second->text());
        second->setText(text);
    }
}

void TVoDaoSortByDialog::SelectRow(int row)
{
    const QSignalBlocker block1(ui->ListBox1), block3(ui->ListBox3);
    ui->ListBox1->setCurrentRow(row);
    ui->ListBox3->setCurrentRow(row);
    if (const QListWidgetItem* direction = ui->ListBox3->item(row))
        ui->ComboBox1->setCurrentIndex(ui->ComboBox1->findText(direction->text()));
}

void TVoDaoSortByDialog::ComboBox1Change()
{
    if (QListWidgetItem* direction = ui->ListBox3->currentItem(); direction && direction->isSelected())
        direction->setText(ui->ComboBox1->currentText());
}
