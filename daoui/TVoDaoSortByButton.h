#pragma once
#include "framework/data/TFieldDataLink.h"

#include <QPushButton>
#include <functional>

class TDataSource;

// Push button that opens the sort dialog on the dataset of its data source.
// It is enabled exactly while that dataset is an open query dataset that is
// not a table-type recordset.
class TVoDaoSortByButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(bool CallBefore MEMBER CallBefore)
public:
    explicit TVoDaoSortByButton(QWidget* parent = nullptr);

    // None when unset or after the data source was destroyed.
    TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource* source);

    // True: OnClick runs before the sort dialog; false: after it.
    bool CallBefore = true;
    // The button's own click handler.
    std::function<void(QObject* sender)> OnClick;

    // What a press does: OnClick and the sort dialog in the CallBefore order.
    void Click();

private:
    void UpdateEnabled();
    void RunSortDialog();

    TFieldDataLink link_;
};
