#pragma once
#include "framework/ui/TFileDialog.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TfFehlendeBuecher;
}
class TDataSource;
class TProgressWindow;
class TVoDaoTable;

// The report window: shows the result of the missing-books query or of a
// catalogue check, counted in its caption, and exports it. Its grid is
// hidden unless "Ergebnis anzeigen" is checked; it then shows the result
// read-only, with its menu. The check box is remembered in the settings file.
class TfFehlendeBuecher : public QDialog {
    Q_OBJECT
public:
    explicit TfFehlendeBuecher(QWidget* parent = nullptr);
    ~TfFehlendeBuecher() override;

    std::unique_ptr<Ui::TfFehlendeBuecher> ui;
    TSaveDialog SaveDialog1;

    // The result shown (the main window's catalogue dataset; the sort button
    // and the search panel follow it), the folder holding REPORTS, the
    // progress window shown around the export, and the settings file that
    // remembers "Ergebnis anzeigen".
    void Bind(TDataSource* source, const QString& programFolder, TProgressWindow* progress,
              const QString& settingsFile);
    TVoDaoTable* DataSet() const;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    // Runs the window modally; refuses when it is already visible.
    int ShowModal();
    // Shows the window without blocking, or brings it to the front.
    void Show();

    void FormShow(QObject* Sender);
    void Button1Click(QObject* Sender);
    void btn_AutosizeClick(QObject* Sender);
    void cb_ErgebnisAnzeigenClick(QObject* Sender);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString ReportsFolder() const;

    TDataSource* source_ = nullptr;
    QString programFolder_;
    QString settingsFile_;
    TProgressWindow* progress_ = nullptr;
};

extern TfFehlendeBuecher* fFehlendeBuecher;
