// The tab "Inventur" as a librarian with a scanner meets it: the focus waits
// in the number field, each scan shows what it found (title and author, or a
// warning), the last captured numbers are listed newest first, and a line
// tells how many copies of the catalogue the active list has recorded.
#include "app/TfMain.h"
#include "ui_TfMain.h"
#include "framework/data/TField.h"
#include "framework/ui/TApplication.h"
#include "stocktaking/CatalogueLocations.h"
#include "stocktaking/CatalogueLookup.h"
#include "stocktaking/NumberText.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

namespace {

const QColor kFoundColour(0, 0, 128);      // navy, as the captions
const QColor kUnknownColour(204, 0, 0);    // red: look at this copy
const QColor kAlreadyColour(179, 89, 0);   // dark orange: scanned before
const QColor kMisplacedColour(128, 0, 160); // violet: found, but it belongs elsewhere

QString orNone(const QString& text, const QString& none) { return text.isEmpty() ? none : text; }

// "falscher Standort: <where the catalogue puts the copy>"
QString MisplacedText(const capture::ScanResult& scan)
{
    return QStringLiteral("falscher Standort: ") + orNone(scan.location, lists::Location::Without().Text());
}

// How the tab shows a finding: two lines, their colour and the sound.
struct FindingLook {
    QString first;
    QString second;
    QColor colour;
    std::optional<BeepKind> sound;
};

FindingLook lookOf(const capture::ScanResult& scan)
{
    const QString title = orNone(scan.title, QStringLiteral("(ohne Titel)"));
    const QString author = orNone(scan.author, QStringLiteral("(ohne Autor)"));
    switch (scan.finding) {
    case capture::Finding::Found: return {title, author, kFoundColour, std::nullopt};
    case capture::Finding::Unknown:
        return {QStringLiteral("Nummer %1 nicht im Katalog!").arg(scan.number),
                QStringLiteral("Die Nummer ist trotzdem gespeichert."), kUnknownColour, BeepKind::Attention};
    case capture::Finding::AlreadyThere:
        // The refusal itself beeps and shows its message box.
        return {QStringLiteral("Nummer %1 schon vorhanden!").arg(scan.number),
                scan.title.isEmpty() && scan.author.isEmpty() ? QString() : title + QStringLiteral(" – ") + author,
                kAlreadyColour, std::nullopt};
    case capture::Finding::Misplaced:
        return {MisplacedText(scan), title + QStringLiteral(" – ") + author, kMisplacedColour, BeepKind::Notice};
    }
    return {};
}

void setColour(QWidget* widget, const QColor& colour)
{
    if (widget->palette().color(QPalette::WindowText) == colour)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// A text cut with "…" so that it fits into lines of a label's width.
QString fitted(const QLabel* label, const QString& text, int lines)
{
    const QFontMetrics metrics(label->font());
    return metrics.elidedText(text, Qt::ElideRight, label->width() * lines - metrics.averageCharWidth() * 4 * (lines - 1));
}

} // namespace

void TfMain::SetUpScanFeedback()
{
    QFont title(QStringLiteral("Tahoma"));
    title.setPixelSize(16);
    title.setBold(true);
    ui->lbl_FundTitel->setFont(title);
    QFont author(QStringLiteral("Tahoma"));
    author.setPixelSize(14);
    ui->lbl_FundAutor->setFont(author);
    QFont progress(QStringLiteral("Tahoma"));
    progress.setPixelSize(15);
    progress.setBold(true);
    ui->lbl_Fortschritt->setFont(progress);
    setColour(ui->lbl_Fortschritt, kFoundColour);

    QTreeWidget* recent = ui->lst_Zuletzt;
    QFont rows(QStringLiteral("Tahoma"));
    rows.setPixelSize(12);
    recent->setFont(rows);
    recent->setColumnCount(2);
    recent->setHeaderLabels({QStringLiteral("Buch-NR"), QStringLiteral("Titel")});
    recent->setColumnWidth(0, 84);
    recent->setSelectionMode(QAbstractItemView::SingleSelection);
    recent->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    recent->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(recent, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!markingRecent_)
            Application->Run([this] { RecentScanChosen(); });
        ReadyForScanner();
    });

    // A click on these buttons leaves the focus in the number field, so that
    // the next scan's Enter does not press them again.
    ui->btn_Del_inv->setFocusPolicy(Qt::TabFocus);
    ui->btn_FehlendeBuecher->setFocusPolicy(Qt::TabFocus);
    connect(ui->btn_Del_inv, &QPushButton::clicked, this, [this] { ReadyForScanner(); });
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (ui->PageControl1->currentWidget() != ui->TabSheet2)
            return;
        Application->Run([this] { ShowScanProgress(); });
        ReadyForScanner();
    });

    TB_INV.BeforePost = [this](TDataSet* ds) { entryEdited_ = ds->State() == dsEdit; };
    TB_INV.AfterPost = [this](TDataSet*) { EntryPosted(); };
    TB_INV.BeforeDelete = [this](TDataSet* ds) {
        deleting_.reset();
        if (!ds->IsEmpty())
            deleting_ = EntryKey{ds->FieldByName(QStringLiteral("IDX"))->AsInteger(),
                                 ds->FieldByName(QStringLiteral("NR"))->AsInteger(),
                                 ds->FieldByName(QStringLiteral("Inventurliste"))->AsInteger()};
    };
    TB_INV.AfterDelete = [this](TDataSet*) { EntryDeleted(); };
    TB_INV.AfterScroll = [this](TDataSet*) { MarkCurrentRecentScan(); };
}

void TfMain::ReadyForScanner()
{
    if (ui->PageControl1->currentWidget() == ui->TabSheet2)
        ui->ed_BuchNr->setFocus();
}

int TfMain::ActiveListIdx() const
{
    if (!TB_Master.Active() || TB_Master.IsEmpty())
        return 0;
    const TField* idx = TB_Master.FieldByName(QStringLiteral("IDX"));
    return idx->IsNull() ? 0 : idx->AsInteger();
}

bool TfMain::StartScanFeedback()
{
    if (catalogue_)
        return true;
    if (!catalogueError_.isEmpty() || !DB_Veltrano.Connected() || !TB_INV.Active())
        return false;
    try {
        auto lookup = std::make_unique<capture::CatalogueLookup>(DB_Veltrano.CoreDatabase());
        catalogueLocations_ = lookup->HasLocations();
        FillLocationChoice(catalogueLocations_ ? lists::CatalogueLocations(*DB_Veltrano.CoreDatabase()) : QStringList());
        catalogue_ = std::move(lookup);
        return true;
    } catch (const std::exception& e) {
        // Capture goes on without titles; the tab says why it shows none.
        catalogueError_ = QStringLiteral("Der Katalog kann nicht gelesen werden, Titel werden nicht angezeigt: ") +
                          QString::fromUtf8(e.what());
        setColour(ui->lbl_Fortschritt, kUnknownColour);
        ui->lbl_Fortschritt->setText(fitted(ui->lbl_Fortschritt, catalogueError_, 1));
        ui->lbl_Fortschritt->setToolTip(catalogueError_);
        return false;
    }
}

void TfMain::ShowScanProgress()
{
    if (!StartScanFeedback())
        return;
    const int list = ActiveListIdx();
    FollowListLocation(list);
    CountLocation();
    if (progress_.CountedList() != list)
        progress_.SetList(list, list ? capture::ListNumbers(*DB_INV.CoreDatabase(), list) : std::vector<qint32>{});
    if (recentList_ != list) {
        recentList_ = list;
        recent_.Clear();
        ui->lst_Zuletzt->clear();
        ui->lbl_FundTitel->clear();
        ui->lbl_FundAutor->clear();
    }
    ui->lbl_Fortschritt->setText(progress_.Text());
}

void TfMain::ScanProgressChanged()
{
    // Shown at once where the user sees it; otherwise when the tab is entered.
    if (ui->lbl_Fortschritt->isVisible())
        ShowScanProgress();
}

void TfMain::EntryPosted()
{
    const bool edited = std::exchange(entryEdited_, false);
    if (!progress_.CountedList())
        return;
    if (edited) {
        progress_.ForgetList(); // counted again from the database when shown
    } else {
        const TField* number = TB_INV.FieldByName(QStringLiteral("NR"));
        if (number->IsNull() || TB_INV.FieldByName(QStringLiteral("Inventurliste"))->AsInteger() != *progress_.CountedList())
            return;
        progress_.EntryAdded(number->AsInteger());
    }
    ScanProgressChanged();
}

void TfMain::EntryDeleted()
{
    const std::optional<EntryKey> entry = std::exchange(deleting_, std::nullopt);
    if (!entry)
        return;
    if (const auto row = recent_.Remove(entry->idx)) {
        const QSignalBlocker block(ui->lst_Zuletzt);
        delete ui->lst_Zuletzt->takeTopLevelItem(int(*row));
    }
    if (progress_.CountedList() == entry->list) {
        progress_.EntryRemoved(entry->number);
        ScanProgressChanged();
    }
}

void TfMain::ShowScan(capture::Outcome outcome, const QString& numberText)
{
    const std::optional<qint32> number = numbers::ParseBookNumber(numberText);
    if (!number || !StartScanFeedback())
        return;
    ShowScanProgress();
    std::function<bool(qint32)> standsHere;
    if (!location_.IsAll())
        standsHere = [this](qint32 copy) { return progress_.HasCopy(copy); };
    const capture::ScanResult scan = capture::DescribeScan(*catalogue_, *number, outcome, standsHere);
    if (outcome == capture::Outcome::Stored) {
        recent_.Add(TB_INV.FieldByName(QStringLiteral("IDX"))->AsInteger(), scan);
        ShowNewRecentScan();
    }
    ShowScanResult(scan);
}

void TfMain::ShowScanResult(const capture::ScanResult& scan)
{
    const FindingLook look = lookOf(scan);
    setColour(ui->lbl_FundTitel, look.colour);
    setColour(ui->lbl_FundAutor, look.colour);
    ui->lbl_FundTitel->setText(fitted(ui->lbl_FundTitel, look.first, 2));
    ui->lbl_FundAutor->setText(fitted(ui->lbl_FundAutor, look.second, 1));
    if (look.sound)
        Application->Beep(*look.sound);
}

void TfMain::ShowNewRecentScan()
{
    QTreeWidget* list = ui->lst_Zuletzt;
    {
        const QSignalBlocker block(list);
        const capture::ScanResult& scan = recent_.Items().front().scan;
        auto* item = new QTreeWidgetItem;
        item->setText(0, QString::number(scan.number));
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        if (scan.finding == capture::Finding::Unknown) {
            item->setText(1, QStringLiteral("nicht im Katalog"));
            item->setForeground(0, kUnknownColour);
            item->setForeground(1, kUnknownColour);
        } else {
            item->setText(1, orNone(scan.title, QStringLiteral("(ohne Titel)")));
        }
        item->setToolTip(1, scan.author);
        if (scan.finding == capture::Finding::Misplaced) {
            item->setForeground(0, kMisplacedColour);
            item->setForeground(1, kMisplacedColour);
            item->setToolTip(1, scan.author + '\n' + MisplacedText(scan));
        }
        list->insertTopLevelItem(0, item);
        while (list->topLevelItemCount() > int(recent_.Items().size()))
            delete list->takeTopLevelItem(list->topLevelItemCount() - 1);
    }
    MarkCurrentRecentScan();
}

void TfMain::MarkCurrentRecentScan()
{
    // A new entry is marked once it is stored.
    if (recent_.Items().empty() || TB_INV.State() != dsBrowse)
        return;
    const TField* idx = TB_INV.IsEmpty() ? nullptr : TB_INV.FindField(QStringLiteral("IDX"));
    const int current = idx && !idx->IsNull() ? idx->AsInteger() : 0;
    const auto& items = recent_.Items();
    QTreeWidget* list = ui->lst_Zuletzt;
    QTreeWidgetItem* marked = nullptr;
    for (size_t row = 0; row < items.size(); ++row)
        if (items[row].entryIdx == current)
            marked = list->topLevelItem(int(row));
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    if (selected.size() == (marked ? 1 : 0) && (!marked || selected.front() == marked))
        return;
    markingRecent_ = true;
    list->clearSelection();
    if (marked)
        marked->setSelected(true);
    markingRecent_ = false;
}

void TfMain::RecentScanChosen()
{
    const QList<QTreeWidgetItem*> chosen = ui->lst_Zuletzt->selectedItems();
    if (chosen.isEmpty())
        return;
    const size_t row = size_t(ui->lst_Zuletzt->indexOfTopLevelItem(chosen.front()));
    if (row < recent_.Items().size())
        TB_INV.Locate(QStringLiteral("IDX"), recent_.Items()[row].entryIdx, 0);
    MarkCurrentRecentScan(); // shows what "lösche aktive Zeile" will delete
}

void TfMain::MoveRecentSelection(int step)
{
    QTreeWidget* list = ui->lst_Zuletzt;
    const int rows = list->topLevelItemCount();
    if (rows == 0)
        return;
    const QList<QTreeWidgetItem*> chosen = list->selectedItems();
    const int row = chosen.isEmpty() ? 0 : std::clamp(list->indexOfTopLevelItem(chosen.front()) + step, 0, rows - 1);
    list->clearSelection(); // a new selection, also of the same row, makes its entry current again
    list->topLevelItem(row)->setSelected(true);
}
