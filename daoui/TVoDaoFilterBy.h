#pragma once
#include "daoui/FilterByRules.h"
#include "daoui/TCenteredDialog.h"

#include <array>
#include <memory>

class QComboBox;
class QLineEdit;
class TVoDaoTable;

namespace Ui {
class TVoDaoFilterBy;
}

// "Select Filter Conditions": up to nine conditions over the fields of a
// dataset, each joined to the next by And or Or, given back as the text for
// the dataset's Filter. The caller keeps the conditions as lines between
// calls, so that the dialog opens with the previous ones. Made for one Execute.
class TVoDaoFilterBy : public TCenteredDialog {
    Q_OBJECT
public:
    static constexpr int RowCount = 9;
    struct Row {
        QComboBox* field;
        QComboBox* operation;
        QLineEdit* operand;
        QComboBox* connector; // hidden in the last row: nothing follows it
    };

    explicit TVoDaoFilterBy(QWidget* parent = nullptr);
    ~TVoDaoFilterBy() override;

    // Runs the dialog modally on the dataset's fields and the kept lines. On
    // "Ok" the filter text and the lines are rebuilt from the rows and the
    // result is true; on "Cancel" both stay as they were.
    bool Execute(TVoDaoTable& dataset, QString& filter, QStringList& conditions);

    // Row k, counted from 0.
    const Row& RowAt(int k) const { return rows_[size_t(k)]; }
    // The rows as they stand.
    QList<TFilterRow> Rows() const;

    std::unique_ptr<Ui::TVoDaoFilterBy> ui;

private:
    // Every field box on its empty first item, every operation " = ",
    // every connector "And", every operand empty and enabled.
    void Reset();
    // The kept lines into the rows, from the first row on.
    void Restore(const QStringList& lines);
    void OperationChanged(const Row& row);
    void OkClick();
    // An operand without use for the operation is empty, disabled and greyed.
    static void SetOperandActive(QLineEdit* operand, bool active);

    std::array<Row, RowCount> rows_{};
    QStringList fieldNames_;
    QHash<QString, TFieldType> fieldTypes_;
    TFilterResult result_;
};
