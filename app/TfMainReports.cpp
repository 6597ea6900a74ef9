// The main window's report buttons: the missing-books query and the five
// catalogue checks, each shown in the report window.
#include "app/TfCopyDlg.h"
#include "app/TfMain.h"
#include "ui_TfMain.h"
#include "checks/CheckQueries.h"
#include "framework/data/TField.h"
#include "framework/ui/TApplication.h"
#include "framework/ui/TProgressWindow.h"
#include "framework/ui/TWaitCursor.h"
#include "stocktaking/MissingBooksQuery.h"
#include "stocktaking/TfFehlendeBuecher.h"

#include <QCoreApplication>
#include <QPushButton>
#include <optional>

namespace {

const QString kMissingBooksCaption = QStringLiteral("fehlende Bücher anzeigen und exportieren");

// Shows a text on a button for its lifetime, then the button's usual text.
class TemporaryCaption {
public:
    TemporaryCaption(QPushButton* button, const QString& text, QString usual)
        : button_(button), usual_(std::move(usual))
    {
        button_->setText(text);
    }
    ~TemporaryCaption() { button_->setText(usual_); }
    TemporaryCaption(const TemporaryCaption&) = delete;
    TemporaryCaption& operator=(const TemporaryCaption&) = delete;

private:
    QPushButton* button_;
    QString usual_;
};

} // namespace

void TfMain::ConnectReportHandlers()
{
    const auto bind = [this](QPushButton* button, void (TfMain::*handler)(QObject*)) {
        connect(button, &QPushButton::clicked, this,
                [this, button, handler] { Application->Run([this, button, handler] { (this->*handler)(button); }); });
    };
    bind(ui->btn_FehlendeBuecher, &TfMain::btn_FehlendeBuecherClick);
    bind(ui->btn_AlleDaten, &TfMain::btn_AlleDatenClick);
    bind(ui->btn_OhneTitel, &TfMain::btn_OhneTitelClick);
    bind(ui->btn_OhneAutor, &TfMain::btn_OhneAutorClick);
    bind(ui->btn_GleicherAutTit, &TfMain::btn_GleicherAutTitClick);
    bind(ui->btn_Sonderzeichen, &TfMain::btn_SonderzeichenClick);
}

void TfMain::btn_FehlendeBuecherClick(QObject*)
{
    // Cursor, button caption and progress window are put back also when the
    // query fails, so that a failed run leaves no "please wait" behind.
    std::optional<TWaitCursor> cursor(std::in_place);
    std::optional<TProgressShown> progress(std::in_place, fCopyDlg,
                                           QStringLiteral("Fehlende Bücher werden ermittelt..."));
    std::optional<TemporaryCaption> caption(std::in_place, ui->btn_FehlendeBuecher,
                                            QStringLiteral("Bitte warten, das kann dauern :-)"), kMissingBooksCaption);
    QCoreApplication::processEvents();
    repaint();

    TB_Veltrano.Close();
    const QString listIdx = TB_Master.Active() && !TB_Master.IsEmpty()
                                ? TB_Master.FieldByName(QStringLiteral("IDX"))->AsString()
                                : QString();
    // Every copy, or only those of the location the list counts.
    const lists::Location location = ActiveLocation();
    TB_Veltrano.SetSQL(MissingBooksQuery(DB_INV.Database(), listIdx, location));
    TB_Veltrano.Open();
    fFehlendeBuecher->SetCaption(location.Caption(QStringLiteral("fehlende Bücher")));
    cursor.reset();
    caption.reset();
    Application->Beep();
    progress.reset();
    fFehlendeBuecher->ShowModal();
}

void TfMain::ShowCheck(int check)
{
    const auto which = static_cast<CatalogueCheck>(check);
    TB_Veltrano.Close();
    TB_Veltrano.SetSQL(CheckQuery(which));
    TB_Veltrano.Open();
    fFehlendeBuecher->SetCaption(CheckTitle(which));
    fFehlendeBuecher->Show();
}

void TfMain::btn_FalscherStandortClick(QObject*)
{
    // With every location counted no copy stands in the wrong one.
    const lists::Location location = ActiveLocation();
    if (location.IsAll())
        return;
    TB_Veltrano.Close();
    TB_Veltrano.SetSQL(MisplacedCopiesQuery(DB_INV.Database(), QString::number(ActiveListIdx()), location));
    TB_Veltrano.Open();
    // Shown as the checks are: the tab stays usable beside it.
    fFehlendeBuecher->SetCaption(location.Caption(QStringLiteral("Bücher mit falschem Standort")));
    fFehlendeBuecher->Show();
}

void TfMain::btn_AlleDatenClick(QObject*) { ShowCheck(int(CatalogueCheck::AlleDaten)); }
void TfMain::btn_OhneTitelClick(QObject*) { ShowCheck(int(CatalogueCheck::OhneTitel)); }
void TfMain::btn_OhneAutorClick(QObject*) { ShowCheck(int(CatalogueCheck::OhneAutor)); }
void TfMain::btn_GleicherAutTitClick(QObject*) { ShowCheck(int(CatalogueCheck::GleicherAutTit)); }
void TfMain::btn_SonderzeichenClick(QObject*) { ShowCheck(int(CatalogueCheck::Sonderzeichen)); }
