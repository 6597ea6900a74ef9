#include "daoui/TVoDaoExportButton.h"

#include "daodata/TVoDaoTable.h"
#include "daoui/DatasetDialogs.h"
#include "framework/data/TDataSource.h"
#include "framework/ui/TApplication.h"

#include <QDialog>

namespace {

TVoDaoTable* exportableTable(const TDataSource* source)
{
    auto* table = source ? dynamic_cast<TVoDaoTable*>(source->DataSet()) : nullptr;
    return table && table->Active() && !table->IsEmpty() ? table : nullptr;
}

} // namespace

TVoDaoExportButton::TVoDaoExportButton(QWidget* parent) : QPushButton(QStringLiteral("Export"), parent)
{
    link_.OnActiveChange = [this](TFieldDataLink*) { UpdateEnabled(); };
    link_.OnDataChange = [this](TFieldDataLink*) { UpdateEnabled(); };
    connect(this, &QPushButton::clicked, this, [this] { Application->Run([this] { Click(); }); });
    UpdateEnabled();
}

void TVoDaoExportButton::SetDataSource(TDataSource* source)
{
    link_.SetDataSource(source);
    UpdateEnabled();
}

void TVoDaoExportButton::UpdateEnabled() { setEnabled(exportableTable(DataSource()) != nullptr); }

void TVoDaoExportButton::Click()
{
    if (CallBefore) {
        OrdinaryClick();
        Export();
    } else {
        Export();
        OrdinaryClick();
    }
}

void TVoDaoExportButton::OrdinaryClick()
{
    if (OnClick)
        OnClick(this);
    if (ModalResult != 0)
        if (auto* dialog = qobject_cast<QDialog*>(window()))
            dialog->done(ModalResult);
}

void TVoDaoExportButton::Export()
{
    if (TVoDaoTable* table = exportableTable(DataSource()))
        ExecuteExportDialog(*table, DefaultExportDir);
}
