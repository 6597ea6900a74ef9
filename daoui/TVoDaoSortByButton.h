#pragma once
#include "daoui/TVoDaoDatasetButton.h"

// Push button that opens the sort dialog on the dataset of its data source.
// It is enabled exactly while that dataset is an open query dataset that is
// not a table-type recordset.
class TVoDaoSortByButton : public TVoDaoDatasetButton {
    Q_OBJECT
public:
    explicit TVoDaoSortByButton(QWidget* parent = nullptr);

protected:
    void RunDialog(TVoDaoTable& table) override;
};
