#include "app/TfMain.h"
#include "ui_TfMain.h"
#include "app/InventoryDatabase.h"
#include "app/ProgramIcon.h"
#include "app/TfCopyDlg.h"
#include "daoui/TVoDaoDBGrid.h"
#include "engine/Database.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"
#include "stocktaking/Capture.h"
#include "stocktaking/CatalogueLookup.h"
#include "stocktaking/InventoryLink.h"
#include "stocktaking/InventoryLists.h"
#include "stocktaking/ListEntryWriter.h"
#include "stocktaking/NumberImport.h"
#include "stocktaking/TfFehlendeBuecher.h"
#include "framework/ui/TApplication.h"
#include "platform/FileCopy.h"
#include "platform/ProfileFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Version.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>
#include <QToolButton>
#include <stdexcept>

TfMain* fMain = nullptr;

namespace {

const QString kCaptureCaption = QStringLiteral("vorhandene Buch-Nummern ");

} // namespace

TfMain::TfMain(const QString& programFolder, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TfMain>()), programFolder_(platform::withTrailingSlash(programFolder))
{
    ui->setupUi(this);
    setObjectName("fMain");
    setFixedSize(753, 533);
    OpenDialog1.Filter =
        QStringLiteral("Access-Datenbanken|*.mdb|Alle Dateien|*.*|Text-Dateien|*.txt|CSV-Dateien|*.csv");
    OpenDialog1.FilterIndex = 1;
    SetUpLook();
    SetUpDatabases();
    ConnectHandlers();
    SetUpScanFeedback();
    SetUpLocationChoice();
    FormCreate(this);
}

TfMain::~TfMain() = default;

void TfMain::SetUpLook()
{
    // Framed group boxes: bold navy caption on an inset frame.
    setStyleSheet(QStringLiteral(
        "QGroupBox { font: bold 19px \"Tahoma\"; color: navy; border: 2px groove #b8b8b8;"
        " margin-top: 12px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 10px;"
        " padding: 0 4px; }"));
    QFont tabs(QStringLiteral("Tahoma"));
    tabs.setPixelSize(16);
    ui->PageControl1->tabBar()->setFont(tabs);

    QFont number(QStringLiteral("Tahoma"));
    number.setPixelSize(32);
    number.setBold(true);
    ui->ed_BuchNr->setFont(number);

    // The grids are bound (SetUpGrids) but never shown.
    ui->VoDaoDBGrid1->setVisible(false);
    ui->VoDaoDBGrid2->setVisible(false);

    // The navigator offers only its first and last buttons.
    auto* first = new QToolButton(ui->DBNavigator1);
    first->setObjectName("nbFirst");
    first->setText(QStringLiteral("|◀"));
    first->setGeometry(0, 0, 50, 30);
    auto* last = new QToolButton(ui->DBNavigator1);
    last->setObjectName("nbLast");
    last->setText(QStringLiteral("▶|"));
    last->setGeometry(50, 0, 50, 30);

    const QIcon icon = programIcon();
    setWindowIcon(icon);
    ui->Image1->setPixmap(icon.pixmap(32, 32));
    ui->Label2->setText(QStringLiteral(
        "Quillstock – Inventur für Bibliotheken mit Veltrano\n\n"
        "Erfasst die Buch-Nummern der Bücher im Regal, importiert Nummern-Dateien,\n"
        "zeigt fehlende Bücher und prüft den Katalog.\n\n%1")
                            .arg(platform::versionText()));
}

void TfMain::SetUpDatabases()
{
    // Both connections: Jet engine of DAO 3.6 in Access 2000 mode.
    for (TVoDaoDatabase* db : {&DB_Veltrano, &DB_INV}) {
        db->BeginLoad();
        db->SetDatabaseType(QStringLiteral("Access"));
        db->SetExclusive(false);
        db->SetReadOnly(false);
        db->SetLoginPrompt(false);
        db->SetUserName(QStringLiteral("Admin"));
        db->SetSystemDatabase(QStringLiteral("system.mdb"));
        db->SetWorkspace(QStringLiteral("DaoWorkspace"));
        db->QueryTimeout = 60;
        db->SetVersion(QStringLiteral("3.6"));
        db->ProgramFolder = programFolder_;
        db->EndLoad();
    }

    // The datasets: dynasets with optimistic locking, none opens by itself.
    TB_Veltrano.SetDatabase(&DB_Veltrano);
    TB_Veltrano.SetReadOnly(true);
    inventory::LinkInventoryDatasets(DB_INV, TB_Master, DS_Master, TB_INV);
    TB_Master.BeforeDelete = [this](TDataSet* ds) { TB_MasterBeforeDelete(ds); };
    TB_INV_COUNT.SetDatabase(&DB_INV);
    TB_INV_COUNT.SetReadOnly(true);
    TB_INV_COUNT.SetSortedBy(QStringLiteral("[NR] ASC"));
    DS_Veltrano.SetDataSet(&TB_Veltrano);
    DS_INV.SetDataSet(&TB_INV);
    ui->DBText1->SetDataSource(&DS_Master);
    ui->DBText1->SetDataField(QStringLiteral("Bezeichnung"));
    ui->DBText2->SetDataSource(&DS_Master);
    ui->DBText2->SetDataField(QStringLiteral("Bezeichnung"));
    SetUpGrids();
}

void TfMain::SetUpGrids()
{
    // The lists: their name only, the title centred and bold.
    TColumn& name = ui->VoDaoDBGrid2->Columns().Add(QStringLiteral("Bezeichnung"));
    name.Width = 190;
    name.Title.Alignment = Qt::AlignHCenter;
    QFont bold = ui->VoDaoDBGrid2->TitleFont();
    bold.setBold(true);
    name.Title.Font = bold;
    ui->VoDaoDBGrid2->SetDataSource(&DS_Master);
    ui->VoDaoDBGrid2->EndLoad();
    // The entries of the active list: their number.
    TColumn& number = ui->VoDaoDBGrid1->Columns().Add(QStringLiteral("NR"));
    number.Title.Caption = QStringLiteral("Buch-NR");
    number.Width = 84;
    number.Title.Alignment = Qt::AlignHCenter;
    ui->VoDaoDBGrid1->SetDataSource(&DS_INV);
    ui->VoDaoDBGrid1->EndLoad();
}

void TfMain::ConnectHandlers()
{
    PageControl1Events = new TTabChanging(ui->PageControl1);
    PageControl1Events->OnChanging = [this](QObject* sender, bool& allow) {
        Application->Run([&] { PageControl1Changing(sender, allow); });
    };
    connect(ui->btn_VeltranoDBPath, &QPushButton::clicked, this,
            [this] { Application->Run([this] { btn_VeltranoDBPathClick(ui->btn_VeltranoDBPath); }); });
    connect(ui->Button1, &QPushButton::clicked, this, [this] { Application->Run([this] { Button1Click(ui->Button1); }); });
    connect(ui->Button2, &QPushButton::clicked, this, [this] { Application->Run([this] { Button2Click(ui->Button2); }); });
    connect(ui->Button3, &QPushButton::clicked, this, [this] { Application->Run([this] { Button3Click(ui->Button3); }); });
    connect(ui->btn_Del_inv, &QPushButton::clicked, this,
            [this] { Application->Run([this] { btn_Del_invClick(ui->btn_Del_inv); }); });
    ui->ed_BuchNr->installEventFilter(this);
    ConnectReportHandlers();
    if (auto* first = ui->DBNavigator1->findChild<QToolButton*>("nbFirst"))
        connect(first, &QToolButton::clicked, this, [this] { Application->Run([this] { TB_INV.First(); }); });
    if (auto* last = ui->DBNavigator1->findChild<QToolButton*>("nbLast"))
        connect(last, &QToolButton::clicked, this, [this] { Application->Run([this] { TB_INV.Last(); }); });
}

void TfMain::FormCreate(QObject*)
{
    settings_ = std::make_unique<platform::ProfileFile>(programFolder_ + SettingsFileName);
    cataloguePath_ = settings_->readString(QStringLiteral("GLOBAL"), QStringLiteral("PATH"), DefaultCataloguePath);
    ui->Label1->setText(cataloguePath_);
}

void TfMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Application->Run([this] { FormShow(this); });
}

void TfMain::closeEvent(QCloseEvent* event)
{
    Application->Run([this] { FormClose(this); });
    // Closing the main window ends the program: a report window left open
    // from a check must not keep it running.
    if (fFehlendeBuecher)
        fFehlendeBuecher->close();
    QWidget::closeEvent(event);
}

void TfMain::SelectSettingsTab()
{
    // Selecting a tab from code is no tab change by the user.
    const QSignalBlocker block(ui->PageControl1);
    ui->PageControl1->setCurrentWidget(ui->TabSheet1);
}

void TfMain::FormShow(QObject*)
{
    setWindowTitle(QStringLiteral("::: ") + windowTitle() + QStringLiteral(" [") + platform::versionText() +
                   QStringLiteral("] :::"));
    SelectSettingsTab();
    StartWorkingDatabases();
    SelectSettingsTab();
}

void TfMain::FormClose(QObject*)
{
    DB_Veltrano.SetConnected(false);
    DB_INV.SetConnected(false);
    settings_.reset();
}

std::optional<int> TfMain::InventoryCount() const
{
    if (!TB_INV.Active())
        return std::nullopt;
    return TB_INV.RecordCount();
}

void TfMain::ShowCaptureCount()
{
    const std::optional<int> count = InventoryCount();
    ui->gb_Erfassung->setTitle(count ? QStringLiteral("vorhandene Buch-Nummern (%1)").arg(*count)
                                     : QStringLiteral("vorhandene Buch-Nummern (keine Datenbank)"));
}

void TfMain::Button1Click(QObject*) { lists::CreateList(TB_Master, ui->ed_NeueInventur->text()); }

void TfMain::Button2Click(QObject*)
{
    const QString name =
        TB_Master.Active() && !TB_Master.IsEmpty() ? TB_Master.FieldByName(QStringLiteral("Bezeichnung"))->AsString()
                                                   : QString();
    if (Application->Confirm(lists::DeleteQuestion(name)))
        TB_Master.Delete();
}

void TfMain::TB_MasterBeforeDelete(TDataSet*)
{
    // The entries go in one statement (deleted one by one through TB_INV a list of
    // 100,000 took five minutes); TB_INV is read again and shows none of them.
    TB_INV.CheckBrowseMode();
    lists::DeleteListEntries(*DB_INV.CoreDatabase(), ActiveListIdx());
    progress_.ForgetList();
    TB_INV.ReopenInPlace();
}

bool TfMain::ed_BuchNrKeyPress(QObject* Sender, QChar Key)
{
    if (Key != QChar(8) && Key != QChar(13) && (Key < '0' || Key > '9')) {
        Application->Beep();
        return false;
    }
    if (Key != QChar(13))
        return true;
    const QString listIdx = TB_Master.Active() && !TB_Master.IsEmpty()
                                ? TB_Master.FieldByName(QStringLiteral("IDX"))->AsString()
                                : QString();
    const QString text = ui->ed_BuchNr->text();
    if (capture::CaptureNumber(TB_INV_COUNT, TB_INV, text, listIdx) == capture::Outcome::AlreadyThere) {
        Application->Beep();
        // A failing lookup is shown on its own; the refusal goes on as ever.
        Application->Run([&] { ShowScan(capture::Outcome::AlreadyThere, text); });
        // A book scanned while the box is up closes it and is captured in turn,
        // rather than lost in the box.
        const QString scannedMeanwhile = Application->MessageBoxTakingScan(QStringLiteral("Nummer schon vorhanden!"));
        // The refused number stays visible but selected: the next scan replaces it.
        ui->ed_BuchNr->selectAll();
        if (!scannedMeanwhile.isEmpty()) {
            ui->ed_BuchNr->setText(scannedMeanwhile);
            return ed_BuchNrKeyPress(Sender, QChar(13));
        }
        return true;
    }
    ui->ed_BuchNr->clear();
    ShowCaptureCount();
    ShowScan(capture::Outcome::Stored, text);
    return true;
}

void TfMain::btn_Del_invClick(QObject*) { TB_INV.Delete(); }

void TfMain::Button3Click(QObject*)
{
    ui->Label5->setText(QString());
    if (OpenDialog1.Execute()) {
        // Entries need a list to belong to.
        if (!TB_Master.Active() || TB_Master.IsEmpty())
            throw EDatabaseError(QStringLiteral("Es gibt keine Inventurliste, in die importiert werden kann"));
        TB_INV.CheckBrowseMode();
        dao::Database& inventory = *DB_INV.CoreDatabase();
        capture::ListEntryWriter writer(inventory, ActiveListIdx());
        import::ImportView view;
        view.progress = [this](const QString& text) { ui->Label5->setText(text); };
        view.warn = [](const QString& text) {
            Application->Beep();
            Application->MessageBox(text);
        };
        view.processEvents = [] { QCoreApplication::processEvents(); };
        view.store = [&writer](qint32 number) { writer.Store(number); };
        view.beginBatch = [&inventory] { inventory.beginTrans(); };
        view.commitBatch = [&inventory] { inventory.commitTrans(); };
        view.rollbackBatch = [&inventory] { inventory.rollback(); };
        // The entries were stored past TB_INV: it is read again and stands on
        // the newest entry, as if each had been posted through it.
        auto showStored = [&] {
            progress_.ForgetList();
            TB_INV.ReopenInPlace();
            if (const int newest = writer.NewestIdx())
                TB_INV.Locate(QStringLiteral("IDX"), newest, 0);
        };
        try {
            import::ImportNumbers(OpenDialog1.FileName, view);
        } catch (...) {
            try {
                showStored();
            } catch (...) {
                // The import's own error is the one to show.
            }
            throw;
        }
        showStored();
    }
    ui->Label5->setText(QStringLiteral("fertig."));
}

bool TfMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->ed_BuchNr && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        QChar c;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            c = QChar(13);
        else if (key->key() == Qt::Key_Backspace)
            c = QChar(8);
        else if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false; // moves the focus on, as from any field
        else if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            // Up and down choose among the last captured numbers, the focus stays here.
            MoveRecentSelection(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        } else if (!key->text().isEmpty())
            c = key->text().front();
        else
            return false; // cursor keys and the like
        bool pass = true;
        if (c != QChar(13)) {
            Application->Run([&] { pass = ed_BuchNrKeyPress(ui->ed_BuchNr, c); });
        } else {
            // A book scanned while an error of the capture is shown closes the box and is captured in turn.
            const auto capture = [&] { pass = ed_BuchNrKeyPress(ui->ed_BuchNr, c); };
            for (QString scanned = Application->RunTakingScan(capture); !scanned.isEmpty();
                 scanned = Application->RunTakingScan(capture))
                ui->ed_BuchNr->setText(scanned);
        }
        ReadyForScanner(); // also after a message box or an error shown
        return !pass || c == QChar(13);
    }
    return QWidget::eventFilter(watched, event);
}

void TfMain::PageControl1Changing(QObject*, bool& AllowChange)
{
    ShowCaptureCount();
    AllowChange = true;
}

void TfMain::btn_VeltranoDBPathClick(QObject*)
{
    if (!OpenDialog1.Execute())
        return;
    const QString previous = ui->Label1->text();
    ui->Label1->setText(OpenDialog1.FileName);
    try {
        if (!settings_)
            settings_ = std::make_unique<platform::ProfileFile>(programFolder_ + SettingsFileName);
        settings_->writeString(QStringLiteral("GLOBAL"), QStringLiteral("PATH"), ui->Label1->text());
    } catch (const platform::ProfileError&) {
        ui->Label1->setText(previous);
        throw std::runtime_error(
            QStringLiteral("Die Einstellungsdatei \"%1\" kann nicht geschrieben werden, der Pfad bleibt unverändert")
                .arg(programFolder_ + SettingsFileName)
                .toStdString());
    }
    Application->MessageBox(QStringLiteral("Programm neu starten!"));
}

void TfMain::StartWorkingDatabases()
{
    const QString backup = programFolder_ + BackupFileName;
    // A catalogue in the engine's format leaves journal files beside its copy
    // when the program was stopped hard; they belong to the old copy and would
    // be played into the new one.
    for (const QString& journal : {backup + QStringLiteral("-wal"), backup + QStringLiteral("-shm")})
        QFile::remove(journal);

    if (!QFileInfo(cataloguePath_).isFile()) {
        QFile::remove(backup);
        Application->MessageBox(QStringLiteral("Veltrano.mdb wurde nicht gefunden, stellen Sie die korrekte Datei "
                                               "ein\r\nund starten Sie das Programm neu!"));
        return;
    }

    fCopyDlg->SetCaption(QStringLiteral("Erstelle eine Sicherheitskopie der Veltrano-Datenbank..."));
    fCopyDlg->Show();
    // The new copy takes the old one's place only when it is complete, so a
    // stop at any moment leaves the old copy or the new one. Repaint the
    // progress window between chunks; the user's input waits.
    QString reason;
    const bool copied = platform::copyFile(
        cataloguePath_, backup, [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); },
        &reason);
    fCopyDlg->Hide();
    fCopyDlg->Close();
    if (!copied) {
        // No catalogue of an earlier start is read in its place. The error
        // takes the place of the one opening the missing copy would raise,
        // and like that one it ends the start-up.
        QFile::remove(backup);
        throw std::runtime_error(QStringLiteral("Die Sicherheitskopie \"%1\" der Veltrano-Datenbank kann nicht "
                                                "angelegt werden: %2\r\nSchaffen Sie Platz oder Schreibrechte und "
                                                "starten Sie das Programm neu!")
                                     .arg(backup, reason)
                                     .toStdString());
    }

    OpenWorkingDatabases(backup);
}

void TfMain::OpenWorkingDatabases(const QString& backupPath)
{
    DB_Veltrano.SetDatabase(backupPath);
    DB_Veltrano.SetConnected(true);

    // An inventory database in Access format from an earlier installation is
    // carried over into the engine's format once, its original kept beside it.
    const QString inventoryPath = programFolder_ + InventoryFileName;
    const inventory::CarryOverResult carried = inventory::CarryOverAccessInventory(inventoryPath);
    if (carried.carriedOver)
        Application->MessageBox(inventory::CarryOverMessage(carried));
    DB_INV.SetDatabase(inventoryPath);
    DB_INV.SetConnected(true);
    CarryInventoryForward();
    TB_INV.Open();
    TB_Master.Open();
}
