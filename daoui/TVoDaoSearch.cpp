#include "daoui/TVoDaoSearch.h"

#include "daodata/TVoDaoTable.h"
#include "daoui/SearchFields.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <exception>

namespace {
constexpr int kMargin = 10;
constexpr int kGap = 5;
} // namespace

TVoDaoSearch::TVoDaoSearch(QWidget* parent)
    : QFrame(parent), FieldLabel(new QLabel(QStringLiteral("Field :"), this)), FieldList(new QComboBox(this)),
      SearchEdit(new QLineEdit(this)), SearchButton(new QPushButton(QStringLiteral("Search"), this))
{
    // Raised outside, lowered inside.
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setMidLineWidth(0);
    FieldLabel->setObjectName(QStringLiteral("FieldLabel"));
    FieldList->setObjectName(QStringLiteral("FieldList"));
    SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    SearchButton->setObjectName(QStringLiteral("SearchButton"));
    FieldLabel->setBuddy(FieldList);
    SearchButton->setDefault(true);
    PlaceControls();

    link_.OnActiveChange = [this](TFieldDataLink*) { ApplyEnabling(true); };
    link_.OnDataChange = [this](TFieldDataLink*) { ApplyEnabling(false); };
    connect(SearchButton, &QPushButton::clicked, this, &TVoDaoSearch::Search);
    connect(SearchEdit, &QLineEdit::textChanged, this, [this] {
        if (incremental_)
            Search();
    });
    ApplyEnabling(true);
}

void TVoDaoSearch::PlaceControls()
{
    FieldList->resize(145, FieldList->sizeHint().height());
    SearchEdit->resize(121, SearchEdit->sizeHint().height());
    SearchButton->resize(75, SearchButton->sizeHint().height());
    FieldLabel->adjustSize();
    FieldLabel->move(kMargin, kMargin + (FieldList->height() - FieldLabel->height()) / 2);
    FieldList->move(FieldLabel->geometry().right() + 1 + kGap, kMargin);
    SearchEdit->move(FieldList->geometry().right() + 1 + kGap, kMargin);
    SearchButton->move(SearchEdit->geometry().right() + 1 + kGap,
                       kMargin - (SearchButton->height() - SearchEdit->height()) / 2);
    const int bevel = lineWidth();
    setFixedSize(SearchButton->geometry().right() + 1 + kGap + 6 * bevel,
                 SearchButton->height() + kMargin + 6 * bevel);
}

void TVoDaoSearch::SetDataSource(TDataSource* source)
{
    link_.SetDataSource(source);
    ApplyEnabling(true);
}

TVoDaoTable* TVoDaoSearch::Table() const
{
    const TDataSource* source = DataSource();
    auto* table = source ? dynamic_cast<TVoDaoTable*>(source->DataSet()) : nullptr;
    return table && table->Active() ? table : nullptr;
}

void TVoDaoSearch::ApplyEnabling(bool refill)
{
    TVoDaoTable* table = Table();
    bool enable = table != nullptr;
    if (enable && (refill || !isEnabled()))
        enable = RefillFields(*table);
    setEnabled(enable);
}

bool TVoDaoSearch::RefillFields(TVoDaoTable& table)
{
    seekMode_ = table.TableType() == 1;
    if (seekMode_ && table.IndexDefs().isEmpty())
        return false;
    FieldList->clear();
    for (const TField* field : SearchFields(table, seekMode_))
        FieldList->addItem(field->FieldName());
    FieldList->setCurrentIndex(FieldList->count() > 0 ? 0 : -1);
    return true;
}

void TVoDaoSearch::Search()
{
    TVoDaoTable* table = Table();
    // Without a field there is nothing to search in.
    if (!table || FieldList->currentIndex() < 0)
        return;
    const QString field = FieldList->currentText();
    const QString text = SearchEdit->text();
    try {
        if (!seekMode_) {
            if (!table->FindFirst(field, text, loCaseInsensitive))
                table->FindFirst(field, text, loCaseInsensitive | loPartialKey);
            return;
        }
        struct RestoreAutoFindIndex {
            TVoDaoTable& table;
            bool kept;
            ~RestoreAutoFindIndex() { table.AutoFindIndex = kept; }
        } restore{*table, table->AutoFindIndex};
        table->AutoFindIndex = true;
        if (!table->Locate(field, text, loCaseInsensitive))
            table->Locate(field, text, loCaseInsensitive | loPartialKey);
    } catch (const std::exception&) {
        // The panel passes over searches the dataset cannot run (a text that
        // is no value of the field's type, for one).
    }
}
