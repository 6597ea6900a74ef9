#pragma once
#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "framework/data/TDataSource.h"
#include "framework/ui/TFileDialog.h"
#include "framework/ui/TTabChanging.h"
#include "stocktaking/Capture.h"
#include "stocktaking/CaptureProgress.h"
#include "stocktaking/Location.h"
#include "stocktaking/RecentScans.h"

#include <QWidget>
#include <memory>
#include <optional>

namespace platform {
class ProfileFile;
}
namespace Ui {
class TfMain;
}
namespace capture {
class CatalogueLookup;
}

// The main window: four tabs (settings and inventory lists, capture, checks,
// about). It owns the settings file and, once the working databases are
// open, every database component of the program.
class TfMain : public QWidget {
    Q_OBJECT
public:
    static inline const QString DefaultCataloguePath = QStringLiteral("c:\\Programme\\Veltrano\\veltrano.mdb");
    static inline const QString BackupFileName = QStringLiteral("db_Vel.mdb");
    static inline const QString InventoryFileName = QStringLiteral("db_inv.mdb");
    static inline const QString SettingsFileName = QStringLiteral("Quillstock.ini");

    // programFolder: where the settings file, the backup copy and the
    // inventory database lie (the executable's folder in the running program).
    explicit TfMain(const QString& programFolder, QWidget* parent = nullptr);
    ~TfMain() override;

    std::unique_ptr<Ui::TfMain> ui;
    TOpenDialog OpenDialog1;
    TVoDaoDatabase DB_Veltrano{QStringLiteral("DB_Veltrano")};
    TVoDaoDatabase DB_INV{QStringLiteral("DB_INV")};
    TVoDaoTable TB_Veltrano{QStringLiteral("TB_Veltrano")};
    TVoDaoTable TB_Master{QStringLiteral("TB_Master")};
    TVoDaoTable TB_INV{QStringLiteral("TB_INV")};
    TVoDaoTable TB_INV_COUNT{QStringLiteral("TB_INV_COUNT")};
    TDataSource DS_Veltrano;
    TDataSource DS_Master;
    TDataSource DS_INV;
    // The "changing" event of PageControl1: runs PageControl1Changing before a tab change by the user.
    TTabChanging* PageControl1Events = nullptr;

    const QString& ProgramFolder() const { return programFolder_; }
    const QString& CataloguePath() const { return cataloguePath_; }

    void FormCreate(QObject* Sender);
    void FormShow(QObject* Sender);
    void FormClose(QObject* Sender);
    void PageControl1Changing(QObject* Sender, bool& AllowChange);
    void btn_VeltranoDBPathClick(QObject* Sender);
    void Button1Click(QObject* Sender);
    void Button2Click(QObject* Sender);
    void TB_MasterBeforeDelete(TDataSet* DataSet);
    // Returns false when the key is swallowed (the field then ignores it).
    bool ed_BuchNrKeyPress(QObject* Sender, QChar Key);
    void btn_Del_invClick(QObject* Sender);
    void Button3Click(QObject* Sender);
    void btn_FehlendeBuecherClick(QObject* Sender);
    void btn_AlleDatenClick(QObject* Sender);
    void btn_OhneTitelClick(QObject* Sender);
    void btn_OhneAutorClick(QObject* Sender);
    void btn_GleicherAutTitClick(QObject* Sender);
    void btn_SonderzeichenClick(QObject* Sender);
    // The location the active list counts, chosen in "Standort:", and the
    // list of its recorded copies that stand elsewhere.
    void cb_StandortChange(QObject* Sender);
    void btn_FalscherStandortClick(QObject* Sender);

    // The capture caption: "vorhandene Buch-Nummern (<count of the active list>)".
    void ShowCaptureCount();

    // Entries of the active list, when the inventory is open.
    std::optional<int> InventoryCount() const;

    // The location the active list counts, as stored with it; every copy
    // without a list or where the inventory database cannot store one.
    lists::Location ActiveLocation();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void StartWorkingDatabases();
    void OpenWorkingDatabases(const QString& backupPath);
    void SelectSettingsTab();
    void SetUpLook();
    void SetUpDatabases();
    void SetUpGrids();
    void ConnectHandlers();
    void ConnectReportHandlers();
    // Runs a catalogue check and shows its result in the report window.
    void ShowCheck(int check);

    // The tab "Inventur" as the scanner meets it (TfMainScan.cpp): the focus
    // in the number field, what each scan found, the last captured numbers.
    void SetUpScanFeedback();
    // Reads the catalogue's copies once; false while that is not possible.
    bool StartScanFeedback();
    // The progress line for the active list, counted afresh when the list is
    // another than the one counted.
    void ShowScanProgress();
    void ShowScan(capture::Outcome outcome, const QString& numberText);
    void ShowScanResult(const capture::ScanResult& scan);
    // Puts the scan just stored first in the list of the last numbers.
    void ShowNewRecentScan();
    // The row of the entry TB_INV stands on, when it is among the last ones.
    void MarkCurrentRecentScan();
    void RecentScanChosen();
    void MoveRecentSelection(int step);
    void ReadyForScanner();
    void EntryPosted();
    void EntryDeleted();
    void ScanProgressChanged();
    // IDX of the active list; 0 when there is none.
    int ActiveListIdx() const;

    // The choice "Standort:" (TfMainLocation.cpp).
    void SetUpLocationChoice();
    // Carries an older inventory database forward, so that lists can keep a location.
    void CarryInventoryForward();
    // "(alle)", the catalogue's locations, "(ohne Standort)".
    void FillLocationChoice(const QStringList& locations);
    // Reads the location of list when it is not the one shown, and shows it.
    void FollowListLocation(int list);
    void ShowLocationChoice();
    lists::Location LocationAt(int index) const;
    // What the progress and the scan feedback count: the location's copies.
    void CountLocation();

    QString programFolder_;
    QString cataloguePath_;
    std::unique_ptr<platform::ProfileFile> settings_;
    bool shown_ = false;

    std::unique_ptr<capture::CatalogueLookup> catalogue_;
    QString catalogueError_;
    capture::CaptureProgress progress_;
    capture::RecentScans recent_;
    int recentList_ = 0;
    bool entryEdited_ = false;
    struct EntryKey {
        int idx = 0;
        qint32 number = 0;
        int list = 0;
    };
    std::optional<EntryKey> deleting_;
    bool markingRecent_ = false;

    bool locationTable_ = false;  // the inventory database keeps the lists' locations
    bool catalogueLocations_ = false; // the catalogue keeps its copies' locations
    int locationList_ = -1;       // the list whose location is shown
    lists::Location location_;    // its location
    std::optional<lists::Location> countedLocation_; // whose copies progress_ counts
    int deletingList_ = 0;
};

extern TfMain* fMain;
