#pragma once
// The link by which a detail dataset follows its master: watches the master
// fields (names separated by ";") and calls OnMasterChange when the master's
// row or one of those fields changes, OnMasterDisable when the link goes
// inactive or has no fields. Before the master leaves its record the detail
// is brought back to browse state.
#include "framework/data/TDataLink.h"

#include <QString>
#include <functional>
#include <vector>

class TMasterDataLink : public TDataLink {
public:
    using TNotifyEvent = std::function<void(TMasterDataLink* sender)>;

    explicit TMasterDataLink(TDataSet* detailDataSet) : m_detail(detailDataSet) {}

    // The dataset that follows the master.
    TDataSet* DetailDataSet() const { return m_detail; }
    const QString& FieldNames() const { return m_fieldNames; }
    void SetFieldNames(const QString& names);
    // The watched fields of the master (empty while inactive).
    const std::vector<TField*>& Fields() const { return m_fields; }
    // Sets the master data source, refusing circular links with
    // "Zirkuläre Datenverknüpfungen sind nicht erlaubt".
    void SetMasterSource(TDataSource* dataSource);

    TNotifyEvent OnMasterChange;
    TNotifyEvent OnMasterDisable;

protected:
    void ActiveChanged() override;
    void LayoutChanged() override { ActiveChanged(); }
    void RecordChanged(TField* field) override;
    void CheckBrowseMode() override;

private:
    TDataSet* m_detail;
    QString m_fieldNames;
    std::vector<TField*> m_fields;
};
