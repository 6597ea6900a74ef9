#include "daoui/TSAS.h"
#include "ui_TSAS.h"

#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "daoui/ExportRun.h"
#include "framework/data/TField.h"
#include "framework/ui/TApplication.h"

#include <QIntValidator>
#include <QSignalBlocker>

namespace {
constexpr int kFieldNameRole = Qt::UserRole;
}

TSAS::TSAS(QWidget* parent) : TCenteredDialog(parent), ui(std::make_unique<Ui::TSAS>())
{
    ui->setupUi(this);
    FixFormSize();
    ui->Edit1->setValidator(new QIntValidator(1, 32767, ui->Edit1));
    // The column panel starts rolled in; the dialog narrows with it.
    ui->VoHRollForm1->RollUp(false);

    connect(ui->ListBox1, &QListWidget::itemSelectionChanged, this, &TSAS::ListBox1Click);
    connect(ui->ComboBox2, &QComboBox::currentIndexChanged, this, &TSAS::ComboBox2Change);
    connect(ui->Button1, &QPushButton::clicked, this, [this] { Application->Run([this] { Button1Click(); }); });
    connect(ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TSAS::~TSAS() = default;

bool TSAS::Execute(TVoDaoTable& table)
{
    QList<Entry> entries;
    for (int i = 0; i < table.FieldCount(); ++i) {
        const TField* field = table.Fields()[i];
        if (field->Visible())
            entries << Entry{field->DisplayLabel(), field->FieldName(), true};
    }
    return Run(table, entries);
}

bool TSAS::ExecuteForGrid(TVoDaoTable& table, const TExportGridColumns& columns)
{
    QList<Entry> entries;
    for (const TExportGridColumn& column : columns)
        entries << Entry{column.TitleCaption, column.FieldName, column.Visible};
    return Run(table, entries);
}

bool TSAS::Run(TVoDaoTable& table, const QList<Entry>& entries)
{
    table_ = &table;
    types_ = ExportTypes(table.Database() ? table.Database()->Version() : QString());
    {
        // The design states of the options hold until the user picks a type.
        const QSignalBlocker block(ui->ListBox1);
        ui->ListBox1->clear();
        for (const TExportType& type : types_)
            ui->ListBox1->addItem(type.Entry);
        ui->ListBox1->setCurrentRow(0);
    }
    ui->ComboBox1->clear();
    ui->ComboBox1->addItems(ExportCodePages());
    ui->ComboBox1->setCurrentIndex(0);
    ui->ComboBox2->clear();
    ui->ComboBox2->addItems(ExportFormats());
    ui->ComboBox2->setCurrentIndex(0);

    ui->CheckListBox1->clear();
    for (const Entry& entry : entries) {
        auto* item = new QListWidgetItem(entry.Caption, ui->CheckListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.Checked ? Qt::Checked : Qt::Unchecked);
        item->setData(kFieldNameRole, entry.FieldName);
    }
    // Every field goes into the file whatever is checked: no choice to offer.
    ui->VoHRollForm1->setEnabled(table.ExportMethod != AllFields);
    ui->ListBox1->setFocus();

    return Application->interaction().execDialog(*this) == QDialog::Accepted;
}

void TSAS::ListBox1Click()
{
    for (QWidget* w : std::initializer_list<QWidget*>{ui->Label2, ui->Edit2, ui->Label5, ui->Edit3, ui->Label3,
                                                      ui->ComboBox1, ui->Label4, ui->ComboBox2, ui->CheckBox3,
                                                      ui->GroupBox2})
        w->setEnabled(false);
    const TExportType* type = SelectedType();
    if (!type)
        return;
    switch (type->Kind) {
    case TExportKind::Excel:
        ui->Label2->setEnabled(true);
        ui->Edit2->setEnabled(true);
        break;
    case TExportKind::Access:
        ui->Label5->setEnabled(true);
        ui->Edit3->setEnabled(true);
        break;
    case TExportKind::Html:
    case TExportKind::Text:
        for (QWidget* w : std::initializer_list<QWidget*>{ui->GroupBox2, ui->Label3, ui->ComboBox1, ui->Label4,
                                                          ui->ComboBox2, ui->CheckBox3})
            w->setEnabled(true);
        break;
    default: break;
    }
}

void TSAS::ComboBox2Change() { ui->Edit1->setVisible(ui->ComboBox2->currentIndex() == kFixedLengthFormat); }

const TExportType* TSAS::SelectedType() const
{
    const QList<QListWidgetItem*> selected = ui->ListBox1->selectedItems();
    const int row = selected.isEmpty() ? -1 : ui->ListBox1->row(selected.front());
    return row >= 0 && row < types_.size() ? &types_[row] : nullptr;
}

void TSAS::Button1Click()
{
    const TExportType* type = SelectedType();
    if (!type || !table_)
        return;
    SaveDialog1.DefaultExt = type->Extension;
    SaveDialog1.Filter = type->Filter;
    SaveDialog1.FilterIndex = 1;
    if (!InitialDir.isEmpty())
        SaveDialog1.InitialDir = InitialDir;
    if (!SaveDialog1.Execute())
        return;

    TExportRequest request;
    request.Type = *type;
    request.FileName = SaveDialog1.FileName;
    request.Blobs = ui->CheckBox1->isChecked();
    request.Overwrite = ui->CheckBox2->isChecked();
    request.SheetName = ui->Edit2->text();
    request.TargetTable = ui->Edit3->text();
    request.Schema.FieldNames = ui->CheckBox3->isChecked();
    request.Schema.Format = SchemaFormat(ui->ComboBox2->currentIndex(), type->Kind == TExportKind::Html);
    request.Schema.CharacterSet = ui->ComboBox1->currentText();
    request.Schema.Width = ui->Edit1->text();

    QList<TExportColumn> columns;
    for (int i = 0; i < ui->CheckListBox1->count(); ++i) {
        const QListWidgetItem* item = ui->CheckListBox1->item(i);
        columns << TExportColumn{item->data(kFieldNameRole).toString(), item->checkState() == Qt::Checked};
    }
    bool exported = false;
    WithExportColumns(*table_, columns, [&] { exported = RunExport(*table_, request); });
    if (exported)
        accept();
}
