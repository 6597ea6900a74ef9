#pragma once
#include "framework/data/TFieldDataLink.h"

#include <QPushButton>
#include <functional>

class TDataSource;

// Push button that opens the export dialog on the dataset of its data
// source. It is enabled exactly while that dataset is an open query dataset
// holding at least one record.
class TVoDaoExportButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(bool CallBefore MEMBER CallBefore)
    Q_PROPERTY(QString DefaultExportDir MEMBER DefaultExportDir)
    Q_PROPERTY(int ModalResult MEMBER ModalResult)
public:
    explicit TVoDaoExportButton(QWidget* parent = nullptr);

    // None when unset or after the data source was destroyed.
    TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource* source);

    // True: the button's ordinary click runs before the export dialog; false: after it.
    bool CallBefore = true;
    // The save dialog's first folder; none when empty.
    QString DefaultExportDir;
    // Not 0: a click closes the button's dialog with this result.
    int ModalResult = 0;
    // The button's own click handler.
    std::function<void(QObject* sender)> OnClick;

    // What a press does: the ordinary click and the export dialog in the CallBefore order.
    void Click();

private:
    void UpdateEnabled();
    void OrdinaryClick();
    void Export();

    TFieldDataLink link_;
};
