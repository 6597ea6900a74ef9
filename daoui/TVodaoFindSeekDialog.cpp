#include "daoui/TVodaoFindSeekDialog.h"
#include "ui_TVodaoFindSeekDialog.h"

#include "daodata/TVoDaoTable.h"
#include "daoui/DateTimeTexts.h"
#include "daoui/SearchButtons.h"
#include "daoui/SearchFields.h"
#include "daoui/TDTPicker.h"
#include "framework/data/TField.h"
#include "framework/ui/TApplication.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int kLeft = 10;
constexpr int kRowHeight = 30;
constexpr int kStandardEditWidth = 121;

QLabel* makeHeader(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: red;"));
    label->adjustSize();
    return label;
}

// An edit waiting for its check mark has the colour of a button face.
void setEditActive(QLineEdit* edit, bool active)
{
    QPalette palette = edit->palette();
    const QColor colour = QApplication::palette().color(active ? QPalette::Base : QPalette::Button);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    edit->setPalette(palette);
    edit->setEnabled(active);
}

} // namespace

TVodaoFindSeekDialog::TVodaoFindSeekDialog(QWidget* parent)
    : TCenteredDialog(parent), ui(std::make_unique<Ui::TVodaoFindSeekDialog>())
{
    ui->setupUi(this);
    FixFormSize();
    ConnectSearchButtons(*this, ui->Button1, ui->Ok, ui->Cancel, [this] { DoSearch(); });
}

TVodaoFindSeekDialog::~TVodaoFindSeekDialog() = default;

bool TVodaoFindSeekDialog::Execute(TVoDaoTable& table, bool seekMode)
{
    table_ = &table;
    seekMode_ = seekMode;
    setWindowTitle(seekMode ? QStringLiteral(" Seek a Record on data in the selected fields part of an Index")
                            : QStringLiteral(" Find a Record based on data contained in the selected fields"));
    MakeRows(SearchFields(table, seekMode));
    const bool ok = Application->interaction().execDialog(*this) == QDialog::Accepted;
    table_ = nullptr;
    return ok;
}

void TVodaoFindSeekDialog::MakeRows(const std::vector<TField*>& fields)
{
    QWidget* box = ui->ScrollBoxContents;
    qDeleteAll(box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    rows_.clear();

    QLabel* fieldHeader = makeHeader(QStringLiteral("Search field"), box);
    fieldHeader->move(kLeft, 2);
    const int count = std::min(int(fields.size()), MaxRows);
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        QString caption = fields[size_t(i)]->FieldName() + QLatin1Char(':');
        auto* check = new QCheckBox(caption.replace(QLatin1Char('&'), QLatin1String("&&")), box);
        check->adjustSize();
        check->move(kLeft, fieldHeader->height() + 2 + 5 + i * kRowHeight);
        // The caption's right edge, behind the check box's glyph.
        widest = std::max(widest, check->geometry().right() + 1);
        rows_.push_back({fields[size_t(i)]->FieldName(), check, nullptr, nullptr});
    }
    const int editLeft = 3 * kLeft + widest;
    int right = editLeft, bottom = fieldHeader->geometry().bottom();
    for (int i = 0; i < count; ++i) {
        Row& row = rows_[size_t(i)];
        row.edit = new QLineEdit(box);
        row.edit->resize(qRound(1.5 * kStandardEditWidth), row.edit->sizeHint().height());
        row.edit->move(editLeft, row.check->geometry().center().y() - row.edit->height() / 2);
        setEditActive(row.edit, false);

        row.picker = new QPushButton(box);
        row.picker->setAutoDefault(false);
        row.picker->resize(row.picker->fontMetrics().horizontalAdvance(QStringLiteral(" ... ")) + 10,
                           row.edit->height());
        row.picker->move(row.edit->geometry().right() + 1 + 10, row.edit->y());
        row.picker->setEnabled(false);
        const TPickerKind kind = PickerKindOf(fields[size_t(i)]->DataType());
        if (kind == TPickerKind::Date) {
            row.picker->setText(QStringLiteral("..."));
            row.edit->setText(DatePattern());
        } else if (kind == TPickerKind::Time) {
            row.picker->setText(QStringLiteral(".."));
            row.edit->setText(TimePattern());
        } else {
            row.picker->setText(QStringLiteral("Select"));
            row.picker->hide();
        }
        right = std::max(right, row.picker->isHidden() ? row.edit->geometry().right() : row.picker->geometry().right());
        bottom = std::max({bottom, row.check->geometry().bottom(), row.edit->geometry().bottom()});

        connect(row.check, &QCheckBox::toggled, this, [this, row](bool checked) { RowChecked(row, checked); });
        connect(row.picker, &QPushButton::clicked, this, [row] { PickIntoEdit(*row.picker, *row.edit); });
        SearchOnEnter(row.edit, [this] { DoSearch(); });
    }
    makeHeader(QStringLiteral("Search data"), box)->move(editLeft, 2);
    box->resize(right + 1 + kLeft, bottom + 1 + 5);
}

void TVodaoFindSeekDialog::RowChecked(const Row& row, bool checked)
{
    if (!checked)
        row.edit->clear();
    setEditActive(row.edit, checked);
    const QString caption = row.picker->text();
    row.picker->setEnabled(checked && (caption == QLatin1String("...") || caption == QLatin1String("..")));
    if (checked)
        row.edit->setFocus();
}

QList<TSearchRow> TVodaoFindSeekDialog::Rows() const
{
    QList<TSearchRow> rows;
    for (const Row& row : rows_)
        rows << TSearchRow{row.field, row.check->isChecked(), row.edit->text()};
    return rows;
}

void TVodaoFindSeekDialog::DoSearch()
{
    if (!table_)
        return;
    const TLocateOptions options = loCaseInsensitive | loPartialKey;
    if (seekMode_) {
        if (const auto keys = SeekKeys(Rows()))
            table_->Locate(keys->Fields, keys->Values, options);
    } else if (const auto keys = FindKeys(Rows())) {
        if (!table_->FindNext(keys->Fields, keys->Values, options))
            table_->FindFirst(keys->Fields, keys->Values, options);
    }
}
