#pragma once
#include "framework/data/TFieldDataLink.h"

#include <QLabel>

class TDataSource;

// A label that shows one field of the current record of a data source.
class TDBText : public QLabel {
    Q_OBJECT
public:
    explicit TDBText(QWidget* parent = nullptr);

    void SetDataSource(TDataSource* source) { link_.SetDataSource(source); }
    void SetDataField(const QString& name) { link_.SetFieldName(name); }

private:
    void Show();
    TFieldDataLink link_;
};
