#include "daoui/TQFS.h"
#include "ui_TQFS.h"

#include "daodata/TVoDaoTable.h"
#include "daoui/DateTimeTexts.h"
#include "daoui/SearchButtons.h"
#include "daoui/SearchFields.h"
#include "daoui/TDTPicker.h"
#include "framework/data/TField.h"
#include "framework/ui/TApplication.h"

TQFS::TQFS(QWidget* parent) : TCenteredDialog(parent), ui(std::make_unique<Ui::TQFS>())
{
    ui->setupUi(this);
    FixFormSize();
    connect(ui->ComboBox1, &QComboBox::currentIndexChanged, this, &TQFS::FieldChanged);
    connect(ui->Button1, &QPushButton::clicked, this, [this] { PickIntoEdit(*ui->Button1, *ui->Edit1); });
    ConnectSearchButtons(*this, ui->Button4, ui->Button2, ui->Button3, [this] { DoSearch(); });
    SearchOnEnter(ui->Edit1, [this] { DoSearch(); });
}

TQFS::~TQFS() = default;

bool TQFS::Execute(TVoDaoTable& table, bool seekMode, const QString& fieldName)
{
    table_ = &table;
    seekMode_ = seekMode;
    setWindowTitle(seekMode ? QStringLiteral(" Seek a Record on data in the field part of an Index")
                            : QStringLiteral(" Find a Record based on data contained in the field"));
    {
        const QSignalBlocker block(ui->ComboBox1);
        ui->ComboBox1->clear();
        for (const TField* field : SearchFields(table, seekMode))
            ui->ComboBox1->addItem(field->FieldName());
        int selected = ui->ComboBox1->findText(fieldName, Qt::MatchFixedString); // ignores case
        if (selected < 0 && seekMode && ui->ComboBox1->count() > 0)
            selected = 0;
        ui->ComboBox1->setCurrentIndex(selected);
    }
    FieldChanged();
    const bool ok = Application->interaction().execDialog(*this) == QDialog::Accepted;
    table_ = nullptr;
    return ok;
}

void TQFS::FieldChanged()
{
    ui->Edit1->clear();
    const TField* field = table_ && ui->ComboBox1->currentIndex() >= 0
                              ? table_->FindField(ui->ComboBox1->currentText())
                              : nullptr;
    const TPickerKind kind = field ? PickerKindOf(field->DataType()) : TPickerKind::None;
    ui->Button1->setText(kind == TPickerKind::Time ? QStringLiteral("..") : QStringLiteral("..."));
    ui->Button1->setEnabled(kind != TPickerKind::None);
    if (kind == TPickerKind::Date)
        ui->Edit1->setText(DatePattern());
    else if (kind == TPickerKind::Time)
        ui->Edit1->setText(TimePattern());
}

void TQFS::DoSearch()
{
    // A find without a listed field has nothing to search in.
    if (!table_ || ui->ComboBox1->currentIndex() < 0)
        return;
    const QString field = ui->ComboBox1->currentText();
    const QString text = ui->Edit1->text();
    const TLocateOptions options = loCaseInsensitive | loPartialKey;
    if (seekMode_)
        table_->Locate(field, text, options);
    else if (!table_->FindNext(field, text, options))
        table_->FindFirst(field, text, options);
}
