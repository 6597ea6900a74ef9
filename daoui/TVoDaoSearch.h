#pragma once
#include "framework/data/TFieldDataLink.h"

#include <QFrame>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TDataSource;
class TVoDaoTable;

// Search panel: a field list, a text and a "Search" button that move the
// dataset of its data source to the first record whose field holds the text.
// Find mode over the visible data fields; seek mode, for a table-type
// recordset, over the fields of its current index. Nothing found leaves the
// record where it was; the panel shows no message and ignores the dataset's
// errors.
class TVoDaoSearch : public QFrame {
    Q_OBJECT
    Q_PROPERTY(bool IncrementalSearch READ IncrementalSearch WRITE SetIncrementalSearch)
public:
    explicit TVoDaoSearch(QWidget* parent = nullptr);

    // Search at every change of the text, not only on the button.
    bool IncrementalSearch() const { return incremental_; }
    void SetIncrementalSearch(bool on) { incremental_ = on; }
    // None when unset or after the data source was destroyed.
    TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource* source);
    bool SeekMode() const { return seekMode_; }

    // Searches with the selected field and the text (what the button does).
    void Search();

    QLabel* const FieldLabel;
    QComboBox* const FieldList;
    QLineEdit* const SearchEdit;
    QPushButton* const SearchButton;

private:
    // Enabled exactly while the dataset is an open query dataset (and, in
    // seek mode, has indexes). refill: the field list is filled anew; it
    // always is when the panel becomes enabled.
    void ApplyEnabling(bool refill);
    // False when a table-type dataset has no indexes (the list is then kept).
    bool RefillFields(TVoDaoTable& table);
    void PlaceControls();
    TVoDaoTable* Table() const;

    TFieldDataLink link_;
    bool incremental_ = false;
    bool seekMode_ = false;
};
