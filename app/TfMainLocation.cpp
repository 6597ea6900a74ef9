// The choice "Standort:" on the tab "Inventur": the location the active list
// counts, kept with the list in the inventory database. "(alle)" counts
// every copy of the catalogue, exactly as without the choice; a location
// narrows the report, the progress line and the scan feedback to its copies.
#include "app/TfMain.h"
#include "ui_TfMain.h"
#include "app/InventoryDatabase.h"
#include "framework/ui/TApplication.h"
#include "stocktaking/CatalogueLookup.h"
#include "stocktaking/ListLocations.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <functional>

namespace {

// Sends the focus back to the number field once a location is chosen: on
// Enter in the choice and when its list closes.
class BackToScanner : public QObject {
public:
    BackToScanner(QObject* parent, std::function<void()> ready) : QObject(parent), ready_(std::move(ready)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                ready_();
                return true;
            }
        } else if (event->type() == QEvent::Hide) {
            // After the list has closed, so that the choice keeps no focus.
            QTimer::singleShot(0, this, ready_);
        }
        return false;
    }

private:
    std::function<void()> ready_;
};

} // namespace

void TfMain::SetUpLocationChoice()
{
    QComboBox* choice = ui->cb_Standort;
    FillLocationChoice({});
    auto* back = new BackToScanner(this, [this] { ReadyForScanner(); });
    choice->installEventFilter(back);
    choice->view()->window()->installEventFilter(back);
    connect(choice, &QComboBox::activated, this,
            [this] { Application->Run([this] { cb_StandortChange(ui->cb_Standort); }); });
    ui->btn_FalscherStandort->setFocusPolicy(Qt::TabFocus);
    connect(ui->btn_FalscherStandort, &QPushButton::clicked, this,
            [this] { Application->Run([this] { btn_FalscherStandortClick(ui->btn_FalscherStandort); }); });

    // A deleted list takes its location with it.
    const TDataSet::TDataSetNotifyEvent entriesFirst = TB_Master.BeforeDelete;
    TB_Master.BeforeDelete = [this, entriesFirst](TDataSet* ds) {
        deletingList_ = ActiveListIdx();
        entriesFirst(ds);
    };
    TB_Master.AfterDelete = [this](TDataSet*) {
        const int list = std::exchange(deletingList_, 0);
        if (list && locationTable_)
            lists::StoreLocation(*DB_INV.CoreDatabase(), list, {});
    };
}

void TfMain::CarryInventoryForward()
{
    locationTable_ = false;
    Application->Run([this] {
        inventory::CarryForward(*DB_INV.CoreDatabase());
        locationTable_ = lists::HasLocationTable(*DB_INV.CoreDatabase());
    });
}

lists::Location TfMain::ActiveLocation()
{
    const int list = ActiveListIdx();
    if (!list || !locationTable_)
        return {};
    return lists::StoredLocation(*DB_INV.CoreDatabase(), list);
}

void TfMain::FillLocationChoice(const QStringList& locations)
{
    QComboBox* choice = ui->cb_Standort;
    const QSignalBlocker block(choice);
    choice->clear();
    choice->addItem(lists::Location().Text());
    for (const QString& name : locations)
        choice->addItem(name);
    choice->addItem(lists::Location::Without().Text());
    ShowLocationChoice();
}

lists::Location TfMain::LocationAt(int index) const
{
    if (index <= 0)
        return {};
    if (index == ui->cb_Standort->count() - 1)
        return lists::Location::Without();
    return lists::Location::Named(ui->cb_Standort->itemText(index));
}

void TfMain::ShowLocationChoice()
{
    QComboBox* choice = ui->cb_Standort;
    const QSignalBlocker block(choice);
    int index = 0;
    switch (location_.kind()) {
    case lists::Location::Kind::All: break;
    case lists::Location::Kind::Without: index = choice->count() - 1; break;
    case lists::Location::Kind::Named:
        // Jet compares locations without regard to case.
        index = choice->findText(location_.Name(), Qt::MatchFixedString);
        if (index <= 0 || index == choice->count() - 1) {
            // No copy of this start's catalogue stands there (any more); the
            // list keeps it all the same.
            index = choice->count() - 1;
            choice->insertItem(index, location_.Name());
        }
        break;
    }
    choice->setCurrentIndex(index);
    const bool choosable = locationTable_ && catalogueLocations_ && locationList_ > 0;
    choice->setEnabled(choosable);
    ui->btn_FalscherStandort->setEnabled(choosable && !location_.IsAll());
}

void TfMain::FollowListLocation(int list)
{
    if (locationList_ == list)
        return;
    location_ = list && locationTable_ ? lists::StoredLocation(*DB_INV.CoreDatabase(), list) : lists::Location();
    locationList_ = list;
    ShowLocationChoice();
}

void TfMain::CountLocation()
{
    if (countedLocation_ == location_)
        return;
    progress_.SetCatalogue(catalogue_->CopyNumbers(location_.Condition()));
    countedLocation_ = location_;
}

void TfMain::cb_StandortChange(QObject*)
{
    const int list = ActiveListIdx();
    const lists::Location chosen = LocationAt(ui->cb_Standort->currentIndex());
    if (!list || !locationTable_ || !catalogueLocations_ || list != locationList_ || chosen == location_) {
        ShowLocationChoice();
        return;
    }
    try {
        lists::StoreLocation(*DB_INV.CoreDatabase(), list, chosen);
    } catch (...) {
        ShowLocationChoice(); // the choice shows what is stored
        throw;
    }
    location_ = chosen;
    ShowLocationChoice();
    ShowScanProgress();
}
