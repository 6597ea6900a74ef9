#pragma once
// The link between a dataset and the data links (grids, controls, detail
// datasets) that follow it. Passes the dataset's notifications on to its
// links and reports state and data changes through its own events.
#include "framework/data/DbTypes.h"

#include <cstdint>
#include <functional>
#include <vector>

class TDataSet;
class TDataLink;
class TField;

class TDataSource {
public:
    using TNotifyEvent = std::function<void(TDataSource* sender)>;
    using TDataChangeEvent = std::function<void(TDataSource* sender, TField* field)>;

    TDataSource() = default;
    ~TDataSource(); // detaches its links and leaves its dataset
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;

    TDataSet* DataSet() const { return m_dataSet; }
    // Raises "Zirkuläre Datenverknüpfungen sind nicht erlaubt" when the
    // dataset follows this source (directly or through its masters).
    void SetDataSet(TDataSet* dataSet);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    // Data-aware controls put the dataset into edit state when the user types.
    bool AutoEdit() const { return m_autoEdit; }
    void SetAutoEdit(bool on) { m_autoEdit = on; }
    // The dataset's state as the links see it (inactive when disabled).
    TDataSetState State() const { return m_state; }
    // Edit on behalf of a control: with AutoEdit and in browse state.
    void Edit();
    // True when dataSet follows this source through the chain of masters.
    bool IsLinkedTo(const TDataSet* dataSet) const;
    int DataLinkCount() const { return static_cast<int>(m_links.size()); }
    TDataLink* DataLinks(int index) const { return m_links[static_cast<size_t>(index)]; }

    TNotifyEvent OnStateChange;
    // Field change (field set) or record, dataset, scroll or layout change (field nullptr).
    TDataChangeEvent OnDataChange;
    TNotifyEvent OnUpdateData;

private:
    friend class TDataSet;
    friend class TDataLink;
    void DataEvent(TDataEvent event, std::intptr_t info);
    void NotifyDataLinks(TDataEvent event, std::intptr_t info);
    void UpdateState();
    void SetState(TDataSetState state);
    void AddDataLink(TDataLink* link);
    void RemoveDataLink(TDataLink* link);

    TDataSet* m_dataSet = nullptr;
    bool m_enabled = true;
    bool m_autoEdit = true;
    TDataSetState m_state = dsInactive;
    std::vector<TDataLink*> m_links;
};
