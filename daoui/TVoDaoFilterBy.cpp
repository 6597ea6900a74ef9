#include "daoui/TVoDaoFilterBy.h"
#include "ui_TVoDaoFilterBy.h"

#include "daodata/TVoDaoTable.h"
#include "framework/data/TField.h"
#include "framework/ui/TApplication.h"

#include <QApplication>
#include <QSignalBlocker>

namespace {

// The colour of an inactive window caption, which a disabled operand shows.
const QColor kInactiveCaption(191, 205, 219);

} // namespace

TVoDaoFilterBy::TVoDaoFilterBy(QWidget* parent)
    : TCenteredDialog(parent), ui(std::make_unique<Ui::TVoDaoFilterBy>())
{
    ui->setupUi(this);
    FixFormSize();
    for (int k = 0; k < RowCount; ++k) {
        const QString number = QString::number(k + 1);
        Row& row = rows_[size_t(k)];
        row.field = findChild<QComboBox*>(QStringLiteral("FieldBox") + number);
        row.operation = findChild<QComboBox*>(QStringLiteral("OperationBox") + number);
        row.operand = findChild<QLineEdit*>(QStringLiteral("OperandEdit") + number);
        row.connector = findChild<QComboBox*>(QStringLiteral("ConnectorBox") + number);
        row.operation->addItems(FilterOperations());
        row.connector->addItems(FilterConnectors());
        connect(row.operation, &QComboBox::currentIndexChanged, this, [this, row] { OperationChanged(row); });
        // An operand the user empties takes the row's field with it.
        connect(row.operand, &QLineEdit::textEdited, this, [row](const QString& text) {
            if (text.isEmpty())
                row.field->setCurrentIndex(0);
        });
    }
    rows_.back().connector->hide(); // "END." stands in its place
    connect(ui->OkButton, &QPushButton::clicked, this, &TVoDaoFilterBy::OkClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->ClearAllButton, &QPushButton::clicked, this, &TVoDaoFilterBy::Reset);
}

TVoDaoFilterBy::~TVoDaoFilterBy() = default;

bool TVoDaoFilterBy::Execute(TVoDaoTable& dataset, QString& filter, QStringList& conditions)
{
    fieldNames_.clear();
    fieldTypes_.clear();
    for (int i = 0; i < dataset.FieldCount(); ++i) {
        const TField* field = dataset.Fields()[i];
        if (field->FieldKind() != fkData || !field->Visible())
            continue;
        fieldNames_ << field->FieldName();
        fieldTypes_.insert(field->FieldName(), field->DataType());
    }
    Reset();
    Restore(conditions);
    rows_.front().field->setFocus();
    if (Application->interaction().execDialog(*this) != QDialog::Accepted)
        return false;
    filter = result_.Filter;
    conditions = result_.Lines;
    return true;
}

QList<TFilterRow> TVoDaoFilterBy::Rows() const
{
    QList<TFilterRow> rows;
    for (const Row& row : rows_)
        rows << TFilterRow{row.field->currentIndex() > 0 ? row.field->currentText() : QString(),
                           row.operation->currentIndex() >= 0 ? row.operation->currentText() : QString(),
                           row.operand->text(), row.operand->isEnabled(), row.connector->currentText()};
    return rows;
}

void TVoDaoFilterBy::Reset()
{
    for (const Row& row : rows_) {
        row.field->clear();
        row.field->addItem(QString());
        row.field->addItems(fieldNames_);
        row.field->setCurrentIndex(0);
        row.operation->setCurrentIndex(0);
        row.connector->setCurrentIndex(0);
        row.operand->clear();
        SetOperandActive(row.operand, true);
    }
}

void TVoDaoFilterBy::Restore(const QStringList& lines)
{
    for (int k = 0; k < RowCount && k < lines.size(); ++k) {
        const TFilterRow kept = ParseFilterLine(lines[k]);
        const Row& row = rows_[size_t(k)];
        // A field the dataset no longer offers is not chosen.
        const int field = kept.Field.isEmpty() ? -1 : row.field->findText(kept.Field, Qt::MatchExactly);
        row.field->setCurrentIndex(std::max(field, 0));
        row.operation->setCurrentIndex(row.operation->findText(kept.Operation, Qt::MatchExactly));
        if (row.operand->isEnabled())
            row.operand->setText(kept.Operand);
        row.connector->setCurrentIndex(std::max(row.connector->findText(kept.Connector, Qt::MatchExactly), 0));
    }
}

void TVoDaoFilterBy::OperationChanged(const Row& row)
{
    const bool takesOperand = TakesOperand(row.operation->currentText());
    if (!takesOperand)
        row.operand->clear();
    SetOperandActive(row.operand, takesOperand);
}

void TVoDaoFilterBy::SetOperandActive(QLineEdit* operand, bool active)
{
    QPalette palette = operand->palette();
    const QColor colour = active ? QApplication::palette().color(QPalette::Base) : kInactiveCaption;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    operand->setPalette(palette);
    operand->setEnabled(active);
}

void TVoDaoFilterBy::OkClick()
{
    result_ = BuildFilter(Rows(), fieldTypes_);
    accept();
}
