#include "stocktaking/TfFehlendeBuecher.h"
#include "ui_TfFehlendeBuecher.h"

#include "daodata/TVoDaoTable.h"
#include "daoui/TVoDaoDBGrid.h"
#include "daoui/TVoDaoExportButton.h"
#include "daoui/TVoDaoSearch.h"
#include "daoui/TVoDaoSortByButton.h"
#include "framework/data/TDataSource.h"
#include "framework/ui/EInvalidOperation.h"
#include "framework/ui/TApplication.h"
#include "framework/ui/TProgressWindow.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>
#include <QShowEvent>

TfFehlendeBuecher* fFehlendeBuecher = nullptr;

namespace {
// Where the settings file keeps "Ergebnis anzeigen" ("1" checked, "0" not).
const QString kSettingsSection = QStringLiteral("GLOBAL");
const QString kShowResultKey = QStringLiteral("ERGEBNIS_ANZEIGEN");
} // namespace

TfFehlendeBuecher::TfFehlendeBuecher(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfFehlendeBuecher>())
{
    ui->setupUi(this);
    setObjectName("fFehlendeBuecher");
    setFixedSize(529, 456);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    setFont(font);
    // The result's grid: bound to the result, shown only with "Ergebnis
    // anzeigen"; the result is looked at there, never changed.
    ui->VoDaoDBGrid1->setVisible(false);
    ui->VoDaoDBGrid1->SetOptions(dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs
                                 | dgConfirmDelete | dgCancelOnExit);
    ui->VoDaoDBGrid1->SetReadOnly(true);
    ui->VoDaoDBGrid1->EndLoad();
    SaveDialog1.Filter = QStringLiteral("HTML-Datei|*.HTML");

    connect(ui->Button1, &QPushButton::clicked, this,
            [this] { Application->Run([this] { Button1Click(ui->Button1); }); });
    connect(ui->btn_Autosize, &QPushButton::clicked, this,
            [this] { Application->Run([this] { btn_AutosizeClick(ui->btn_Autosize); }); });
    connect(ui->cb_ErgebnisAnzeigen, &QCheckBox::toggled, this,
            [this] { Application->Run([this] { cb_ErgebnisAnzeigenClick(ui->cb_ErgebnisAnzeigen); }); });
}

TfFehlendeBuecher::~TfFehlendeBuecher() = default;

void TfFehlendeBuecher::Bind(TDataSource* source, const QString& programFolder, TProgressWindow* progress,
                             const QString& settingsFile)
{
    source_ = source;
    programFolder_ = programFolder;
    progress_ = progress;
    settingsFile_ = settingsFile;
    const bool showResult = platform::ProfileFile(settingsFile_).readString(kSettingsSection, kShowResultKey,
                                                                            QStringLiteral("0"))
                            == QLatin1String("1");
    {
        const QSignalBlocker block(ui->cb_ErgebnisAnzeigen);
        ui->cb_ErgebnisAnzeigen->setChecked(showResult);
    }
    ui->VoDaoDBGrid1->setVisible(showResult);
    ui->VoDaoDBGrid1->SetDataSource(source);
    ui->VoDaoSortByButton1->SetDataSource(source);
    ui->VoDaoExportButton1->SetDataSource(source);
    ui->VoDaoSearch1->SetDataSource(source);
}

TVoDaoTable* TfFehlendeBuecher::DataSet() const
{
    return source_ ? dynamic_cast<TVoDaoTable*>(source_->DataSet()) : nullptr;
}

QString TfFehlendeBuecher::ReportsFolder() const { return programFolder_ + QStringLiteral("REPORTS"); }

int TfFehlendeBuecher::ShowModal()
{
    if (isVisible())
        throw EInvalidOperation(QStringLiteral("Aus einem sichtbaren Fenster kann kein modales gemacht werden"));
    setWindowModality(Qt::ApplicationModal);
    const int result = Application->interaction().execDialog(*this);
    setWindowModality(Qt::NonModal);
    return result;
}

void TfFehlendeBuecher::Show()
{
    setWindowModality(Qt::NonModal);
    show();
    raise();
    activateWindow();
}

void TfFehlendeBuecher::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Application->Run([this] { FormShow(this); });
}

void TfFehlendeBuecher::FormShow(QObject*)
{
    ui->VoDaoExportButton1->DefaultExportDir = ReportsFolder();
    ui->VoDaoDBGrid1->SetDefaultExportDir(ReportsFolder());
    const TVoDaoTable* data = DataSet();
    const int count = data && data->Active() ? data->RecordCount() : 0;
    SetCaption(Caption() + QStringLiteral(" --=[") + QString::number(count) +
               QStringLiteral(" angezeigte Datensätze.]=--"));
}

void TfFehlendeBuecher::Button1Click(QObject*)
{
    // A missing REPORTS folder is not created; the dialog then starts in the program folder.
    SaveDialog1.InitialDir = QDir(ReportsFolder()).exists() ? ReportsFolder() : programFolder_;
    SaveDialog1.FileName = QStringLiteral("Inventur vom ");
    SaveDialog1.DefaultExt = QStringLiteral("html");
    if (!SaveDialog1.Execute())
        return;
    TVoDaoTable* data = DataSet();
    if (!data)
        return;
    // The progress window goes away also when the export fails; the
    // document is handed on only when it was written.
    // "html" goes on a name typed without an extension. A date at the end of
    // the name ("Inventur vom 06.12.2026") looks like one to the dialog, yet
    // nobody means ".2026" as a file type: digits alone count as none.
    const QString suffix = QFileInfo(SaveDialog1.FileName).suffix();
    static const QRegularExpression digitsOnly(QStringLiteral("^[0-9]*$"));
    // A name ended with a dot ("Ende.") gets the extension after that dot.
    if (digitsOnly.match(suffix).hasMatch())
        SaveDialog1.FileName += SaveDialog1.FileName.endsWith(u'.') ? QStringLiteral("html") : QStringLiteral(".html");
    TProgressShown shown(progress_, QStringLiteral("Bücher werden gespeichert..."));
    data->ExportToHTML(SaveDialog1.FileName, false, true);
    Application->interaction().openDocument(SaveDialog1.FileName);
}

void TfFehlendeBuecher::btn_AutosizeClick(QObject*) { ui->VoDaoDBGrid1->SetAutoSizeColumns(true); }

void TfFehlendeBuecher::cb_ErgebnisAnzeigenClick(QObject*)
{
    const bool show = ui->cb_ErgebnisAnzeigen->isChecked();
    ui->VoDaoDBGrid1->setVisible(show);
    if (!settingsFile_.isEmpty())
        platform::ProfileFile(settingsFile_).writeString(kSettingsSection, kShowResultKey,
                                                     show ? QStringLiteral("1") : QStringLiteral("0"));
}
