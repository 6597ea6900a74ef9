#pragma once
#include "daoui/TVoDaoDatasetButton.h"

// Push button that opens the export dialog on the dataset of its data
// source. It is enabled exactly while that dataset is an open query dataset
// holding at least one record.
class TVoDaoExportButton : public TVoDaoDatasetButton {
    Q_OBJECT
    Q_PROPERTY(QString DefaultExportDir MEMBER DefaultExportDir)
public:
    explicit TVoDaoExportButton(QWidget* parent = nullptr);

    // The save dialog's first folder; none when empty.
    QString DefaultExportDir;

protected:
    void RunDialog(TVoDaoTable& table) override;
};
