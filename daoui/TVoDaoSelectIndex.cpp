#include "daoui/TVoDaoSelectIndex.h"
#include "ui_TVoDaoSelectIndex.h"

#include "daodata/TVoDaoTable.h"
#include "framework/ui/GuardedCall.h"
#include "framework/ui/TApplication.h"

#include <QSignalBlocker>

namespace {
const QString kNoIndex = QStringLiteral("Don't use an Index");
} // namespace

TVoDaoSelectIndex::TVoDaoSelectIndex(QWidget* parent)
    : TCenteredDialog(parent), ui(std::make_unique<Ui::TVoDaoSelectIndex>())
{
    ui->setupUi(this);
    FixFormSize();
    connect(ui->ComboBox1, &QComboBox::currentIndexChanged, this, &TVoDaoSelectIndex::SelectionChanged);
    connect(ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TVoDaoSelectIndex::~TVoDaoSelectIndex() = default;

bool TVoDaoSelectIndex::Execute(TVoDaoTable& dataset, QString& indexName)
{
    table_ = &dataset;
    indexes_ = dataset.IndexDefs();
    {
        const QSignalBlocker block(ui->ComboBox1);
        ui->ComboBox1->clear();
        ui->ComboBox1->addItem(kNoIndex);
        for (const TVoDaoIndexDef& index : indexes_)
            ui->ComboBox1->addItem(index.Name);
        // Index names are compared without regard to case, as the engine does.
        const int given = indexName.isEmpty() ? 0 : ui->ComboBox1->findText(indexName, Qt::MatchFixedString);
        ui->ComboBox1->setCurrentIndex(std::max(given, 0));
    }
    QTableWidget* grid = ui->StringGrid1;
    const int half = (grid->width() - 2 * grid->frameWidth()) / 2;
    grid->setColumnWidth(0, half);
    grid->setColumnWidth(1, half);
    SelectionChanged();
    ui->ComboBox1->setFocus();

    const bool ok = Application->interaction().execDialog(*this) == QDialog::Accepted;
    if (ok)
        indexName = ChosenName();
    table_ = nullptr;
    return ok;
}

QString TVoDaoSelectIndex::ChosenName() const
{
    return ui->ComboBox1->currentIndex() > 0 ? ui->ComboBox1->currentText() : QString();
}

void TVoDaoSelectIndex::SelectionChanged()
{
    QTableWidget* grid = ui->StringGrid1;
    grid->clearContents();
    grid->setRowCount(1);
    if (ui->ComboBox1->currentIndex() < 0)
        return;
    const QString name = ChosenName();
    // The dataset moves to its first row at each new index: only a change is put.
    if (ui->CheckBox1->isChecked() && table_ && name.compare(table_->IndexName(), Qt::CaseInsensitive) != 0)
        GuardedCall([&] { table_->SetIndexName(name); });
    if (name.isEmpty())
        return;
    for (const TVoDaoIndexDef& index : indexes_) {
        if (index.Name != name)
            continue;
        grid->setRowCount(std::max<int>(1, index.Fields.size()));
        for (int i = 0; i < index.Fields.size(); ++i) {
            const bool descending = i < index.Descending.size() && index.Descending[i];
            grid->setItem(i, 0, new QTableWidgetItem(index.Fields[i]));
            grid->setItem(i, 1, new QTableWidgetItem(descending ? QStringLiteral("Descending")
                                                                : QStringLiteral("Ascending")));
        }
    }
}
