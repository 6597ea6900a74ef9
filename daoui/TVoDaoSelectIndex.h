#pragma once
#include "daodata/TVoDaoIndexDefs.h"
#include "daoui/TCenteredDialog.h"

#include <memory>

class TVoDaoTable;

namespace Ui {
class TVoDaoSelectIndex;
}

// "Select Index": chooses the index a table-type recordset follows from the
// indexes of its table, showing the fields of the chosen one with their sort
// order. With "&Live view" the dataset follows the choice while the dialog
// is open. Made for one Execute.
class TVoDaoSelectIndex : public TCenteredDialog {
    Q_OBJECT
public:
    explicit TVoDaoSelectIndex(QWidget* parent = nullptr);
    ~TVoDaoSelectIndex() override;

    // Runs the dialog modally on the dataset's indexes, starting on
    // indexName. On "OK" indexName becomes the chosen name (empty for "Don't
    // use an Index") and the result is true; otherwise indexName stays as it
    // was, and the caller puts it back on a dataset changed by live view.
    bool Execute(TVoDaoTable& dataset, QString& indexName);

    std::unique_ptr<Ui::TVoDaoSelectIndex> ui;

private:
    // The index name chosen; empty for "Don't use an Index".
    QString ChosenName() const;
    // The field rows of the chosen index; with live view the dataset follows it.
    void SelectionChanged();

    TVoDaoTable* table_ = nullptr;
    TVoDaoIndexDefs indexes_;
};
