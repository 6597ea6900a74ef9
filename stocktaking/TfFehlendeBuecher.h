#pragma once
#include <QWidget>

// The report window: shows the result of the missing-books query or of a
// catalogue check, counted in its caption, and exports it.
class TfFehlendeBuecher : public QWidget {
    Q_OBJECT
public:
    explicit TfFehlendeBuecher(QWidget* parent = nullptr);
};

extern TfFehlendeBuecher* fFehlendeBuecher;
