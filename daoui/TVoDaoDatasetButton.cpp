#include "daoui/TVoDaoDatasetButton.h"

#include "daodata/TVoDaoTable.h"
#include "framework/data/TDataSource.h"
#include "framework/ui/TApplication.h"

#include <QDialog>

TVoDaoDatasetButton::TVoDaoDatasetButton(const QString& caption, TReadyRule ready, QWidget* parent)
    : QPushButton(caption, parent), ready_(std::move(ready))
{
    link_.OnActiveChange = [this](TFieldDataLink*) { UpdateEnabled(); };
    link_.OnDataChange = [this](TFieldDataLink*) { UpdateEnabled(); };
    connect(this, &QPushButton::clicked, this, [this] { Application->Run([this] { Click(); }); });
    UpdateEnabled();
}

void TVoDaoDatasetButton::SetDataSource(TDataSource* source)
{
    link_.SetDataSource(source);
    UpdateEnabled();
}

TVoDaoTable* TVoDaoDatasetButton::ReadyTable() const
{
    const TDataSource* source = DataSource();
    auto* table = source ? dynamic_cast<TVoDaoTable*>(source->DataSet()) : nullptr;
    return table && table->Active() && ready_(*table) ? table : nullptr;
}

void TVoDaoDatasetButton::UpdateEnabled() { setEnabled(ReadyTable() != nullptr); }

void TVoDaoDatasetButton::Click()
{
    if (!CallBefore)
        RunDialogWhenReady();
    OrdinaryClick();
    if (CallBefore)
        RunDialogWhenReady();
}

void TVoDaoDatasetButton::OrdinaryClick()
{
    if (OnClick)
        OnClick(this);
    if (ModalResult != 0)
        if (auto* dialog = qobject_cast<QDialog*>(window()))
            dialog->done(ModalResult);
}

void TVoDaoDatasetButton::RunDialogWhenReady()
{
    if (TVoDaoTable* table = ReadyTable())
        RunDialog(*table);
}
