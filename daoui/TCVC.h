#pragma once
#include "daoui/TCenteredDialog.h"

#include <QStringList>
#include <memory>

class QListWidget;
class TDBGrid;

namespace Ui {
class TCVC;
}

// "Choose Visible Columns": moves a grid's columns between the visible and
// the hidden ones. Columns are named by their titles; of several columns
// with one title the last is the one acted on. With "&Live view" the grid
// follows each move while the dialog is open. Made for one Execute.
class TCVC : public TCenteredDialog {
    Q_OBJECT
public:
    explicit TCVC(QWidget* parent = nullptr);
    ~TCVC() override;

    // Runs the dialog modally on the grid's columns. On "Ok" the grid shows
    // the columns of the visible list and hides those of the other, and the
    // result is true; otherwise every column is shown or hidden as it was
    // when the dialog opened.
    bool Execute(TDBGrid& grid);

    std::unique_ptr<Ui::TCVC> ui;

private:
    void AddBtnClick();
    // One column always stays visible.
    void RemoveBtnClick();
    void LiveViewClicked(bool on);
    // Moves the selected row of one list to the end of the other, the column
    // shown or hidden at once with live view.
    void MoveSelected(QListWidget* from, QStringList& fromTitles, QListWidget* to, QStringList& toTitles,
                      bool visible);
    void Apply(const QStringList& visible, const QStringList& hidden);
    void SetVisible(const QString& title, bool visible);

    TDBGrid* grid_ = nullptr;
    QStringList visible_; // the titles of each list, in its order
    QStringList hidden_;
};
