#pragma once
#include "daoui/DatasetDialogs.h"
#include "daoui/ExportTypes.h"
#include "daoui/TCenteredDialog.h"
#include "framework/ui/TFileDialog.h"

#include <memory>

namespace Ui {
class TSAS;
}
class TVoDaoTable;

// "Export data to an external database or data file:": the user picks one
// of fourteen database types, the export options and the columns, then a
// target file in the save dialog; the dataset's export writes it. An export
// error is shown by the application's error display and the dialog stays
// open for another try; after a successful export it closes with OK.
// Made for one Execute or ExecuteForGrid.
class TSAS : public TCenteredDialog {
    Q_OBJECT
public:
    explicit TSAS(QWidget* parent = nullptr);
    ~TSAS() override;

    // The save dialog's first folder; none when empty.
    QString InitialDir;
    TSaveDialog SaveDialog1;

    // Runs the dialog modally for the dataset's visible fields, listed by
    // their display labels. True when it closed after an export.
    bool Execute(TVoDaoTable& table);
    // The same for the columns of a grid, listed by their title captions
    // and checked when visible.
    bool ExecuteForGrid(TVoDaoTable& table, const TExportGridColumns& columns);

    std::unique_ptr<Ui::TSAS> ui;

private:
    struct Entry {
        QString Caption;
        QString FieldName;
        bool Checked;
    };
    bool Run(TVoDaoTable& table, const QList<Entry>& entries);
    // Enables the sheet name, the table name or the text options by the selected type.
    void ListBox1Click();
    // Shows the column width with "Fixed Length" only.
    void ComboBox2Change();
    void Button1Click();
    // The selected type; none when no entry is selected.
    const TExportType* SelectedType() const;

    TVoDaoTable* table_ = nullptr;
    QList<TExportType> types_;
};
