#pragma once
#include "daoui/TCenteredDialog.h"

#include <memory>

class TVoDaoTable;

namespace Ui {
class TQFS;
}

// Quick find/seek: moves a dataset to a record by the text of one field.
// Find mode lists the visible data fields, seek mode those of the current
// index of a table-type recordset. Errors of the dataset are shown and the
// dialog stays open. Made for one Execute.
class TQFS : public TCenteredDialog {
    Q_OBJECT
public:
    explicit TQFS(QWidget* parent = nullptr);
    ~TQFS() override;

    // Lists the fields, selects fieldName (ignoring case; in seek mode the
    // first field when it is not listed) and runs the dialog modally. True
    // when it was closed with "Ok".
    bool Execute(TVoDaoTable& table, bool seekMode, const QString& fieldName);

    std::unique_ptr<Ui::TQFS> ui;

private:
    // Empties the text; date and time fields get their pattern and the picker button.
    void FieldChanged();
    // Find mode: the next matching record, else the first; seek mode: Locate.
    void DoSearch();

    TVoDaoTable* table_ = nullptr;
    bool seekMode_ = false;
};
