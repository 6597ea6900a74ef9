#pragma once
#include "daoui/SearchKeys.h"
#include "daoui/TCenteredDialog.h"

#include <memory>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TField;
class TVoDaoTable;

namespace Ui {
class TVodaoFindSeekDialog;
}

// Find/seek over several fields: one row per field, each a check box, the
// text to look for and, for date and time fields, a picker button. Find
// mode offers the visible data fields, seek mode those of the current index
// of a table-type recordset. Errors of the dataset are shown and the dialog
// stays open. Made for one Execute.
class TVodaoFindSeekDialog : public TCenteredDialog {
    Q_OBJECT
public:
    // Fields beyond this many get no row.
    static constexpr int MaxRows = 301;

    explicit TVodaoFindSeekDialog(QWidget* parent = nullptr);
    ~TVodaoFindSeekDialog() override;

    // Makes the rows and runs the dialog modally; true when it was closed with "Ok".
    bool Execute(TVoDaoTable& table, bool seekMode);

    int RowCount() const { return int(rows_.size()); }
    QCheckBox* RowCheck(int row) const { return rows_[size_t(row)].check; }
    QLineEdit* RowEdit(int row) const { return rows_[size_t(row)].edit; }
    QPushButton* RowPicker(int row) const { return rows_[size_t(row)].picker; }
    // Field, check mark and text of every row, in row order.
    QList<TSearchRow> Rows() const;

    std::unique_ptr<Ui::TVodaoFindSeekDialog> ui;

private:
    struct Row {
        QString field;
        QCheckBox* check;
        QLineEdit* edit;
        QPushButton* picker;
    };
    void MakeRows(const std::vector<TField*>& fields);
    void RowChecked(const Row& row, bool checked);
    void DoSearch();

    std::vector<Row> rows_;
    TVoDaoTable* table_ = nullptr;
    bool seekMode_ = false;
};
