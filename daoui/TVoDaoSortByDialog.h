#pragma once
#include "daoui/TCenteredDialog.h"

#include <QStringList>
#include <memory>

namespace Ui {
class TVoDaoSortByDialog;
}

// "Sort By Editor": the user builds an ordered list of sort fields, each
// ascending or descending, from the available fields. Made for one Execute.
class TVoDaoSortByDialog : public TCenteredDialog {
    Q_OBJECT
public:
    explicit TVoDaoSortByDialog(QWidget* parent = nullptr);
    ~TVoDaoSortByDialog() override;

    // Runs the dialog modally on the available field names and the SortedBy
    // lines. True on OK: sortedBy then holds the new lines (none for an
    // empty sort order). On Cancel sortedBy stays as it was.
    bool Execute(const QStringList& availableFields, QStringList& sortedBy, bool useBrackets);

    std::unique_ptr<Ui::TVoDaoSortByDialog> ui;

private:
    void OKButtonClick();
    void AddBtnClick();
    void RemoveBtnClick();
    void UpBtnClick();
    void DownBtnClick();
    void ComboBox1Change();
    // Makes row current in the sort order and its direction list, and shows
    // that row's direction in the combo box.
    void SelectRow(int row);
    void SwapRows(int a, int b);

    QStringList result_;
    bool useBrackets_ = true;
};
