#pragma once
#include <QWidget>
#include <memory>

namespace Ui {
class TfFehlendeBuecher;
}

// The report window: shows the result of the missing-books query or of a
// catalogue check, counted in its caption, and exports it. Its grid stays
// hidden; the result is read in the exported file.
class TfFehlendeBuecher : public QWidget {
    Q_OBJECT
public:
    explicit TfFehlendeBuecher(QWidget* parent = nullptr);
    ~TfFehlendeBuecher() override;

    std::unique_ptr<Ui::TfFehlendeBuecher> ui;
};

extern TfFehlendeBuecher* fFehlendeBuecher;
