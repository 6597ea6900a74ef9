#include "daoui/TVoDaoSortByButton.h"

#include "daodata/TVoDaoTable.h"
#include "daoui/DatasetDialogs.h"
#include "framework/data/TDataSource.h"
#include "framework/ui/TApplication.h"

namespace {

TVoDaoTable* openTable(const TDataSource* source)
{
    auto* table = source ? dynamic_cast<TVoDaoTable*>(source->DataSet()) : nullptr;
    return table && table->Active() ? table : nullptr;
}

} // namespace

TVoDaoSortByButton::TVoDaoSortByButton(QWidget* parent) : QPushButton(QStringLiteral("Sort by"), parent)
{
    link_.OnActiveChange = [this](TFieldDataLink*) { UpdateEnabled(); };
    link_.OnDataChange = [this](TFieldDataLink*) { UpdateEnabled(); };
    connect(this, &QPushButton::clicked, this, [this] { Application->Run([this] { Click(); }); });
    UpdateEnabled();
}

void TVoDaoSortByButton::SetDataSource(TDataSource* source)
{
    link_.SetDataSource(source);
    UpdateEnabled();
}

void TVoDaoSortByButton::UpdateEnabled()
{
    const TVoDaoTable* table = openTable(DataSource());
    setEnabled(table && table->TableType() != 1);
}

void TVoDaoSortByButton::Click()
{
    if (!CallBefore)
        RunSortDialog();
    if (OnClick)
        OnClick(this);
    if (CallBefore)
        RunSortDialog();
}

void TVoDaoSortByButton::RunSortDialog()
{
    if (TVoDaoTable* table = openTable(DataSource()))
        ExecuteSortDialog(*table);
}
