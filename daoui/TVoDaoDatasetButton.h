#pragma once
#include "framework/data/TFieldDataLink.h"

#include <QPushButton>
#include <functional>

class TDataSource;
class TVoDaoTable;

// Push button bound to a data source that runs a dialog on the data
// source's query dataset. It is enabled exactly while that dataset is open
// and meets the button's own rule; it follows the dataset through a data
// link. A press runs the button's ordinary click (OnClick, then ModalResult)
// and the dialog, in the CallBefore order.
class TVoDaoDatasetButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(bool CallBefore MEMBER CallBefore)
    Q_PROPERTY(int ModalResult MEMBER ModalResult)
public:
    using TReadyRule = std::function<bool(const TVoDaoTable& table)>;

    // None when unset or after the data source was destroyed.
    TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource* source);

    // True: the ordinary click runs before the dialog; false: after it.
    bool CallBefore = true;
    // Not 0: a press closes the button's dialog window with this result.
    int ModalResult = 0;
    // The button's own click handler.
    std::function<void(QObject* sender)> OnClick;

    // What a press does.
    void Click();

protected:
    TVoDaoDatasetButton(const QString& caption, TReadyRule ready, QWidget* parent);
    // The dialog, on a dataset that is ready at the moment of the press.
    virtual void RunDialog(TVoDaoTable& table) = 0;

private:
    TVoDaoTable* ReadyTable() const;
    void UpdateEnabled();
    void OrdinaryClick();
    void RunDialogWhenReady();

    TReadyRule ready_;
    TFieldDataLink link_;
};
