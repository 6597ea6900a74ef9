#pragma once
// A follower of a data source: sees a window of BufferCount records of the
// dataset and is told of activation, data, scroll, record, editing and
// layout changes through its virtual notifications.
#include "framework/data/DbTypes.h"

#include <cstdint>

class TDataSet;
class TDataSource;
class TField;

class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink(); // leaves its data source
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return m_dataSource; }
    void SetDataSource(TDataSource* dataSource);
    TDataSet* DataSet() const;
    // True while the data source is enabled and its dataset open.
    bool Active() const { return m_active; }
    // Index of the dataset's current record inside this link's window; setting
    // it makes another buffered record the current one for reading (restore it afterwards).
    int ActiveRecord() const;
    void SetActiveRecord(int value);
    // Size of this link's window (the dataset keeps as many buffers as its largest link).
    int BufferCount() const { return m_bufferCount; }
    void SetBufferCount(int count);
    // Records in this link's window.
    int RecordCount() const;
    bool Editing() const { return m_editing; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    // Puts the dataset into edit state through the data source (AutoEdit); true when editing.
    bool Edit();
    // Asks this link to write its pending change (UpdateData) into the field.
    void UpdateRecord();

protected:
    virtual void ActiveChanged() {}
    // The records changed as a whole (reopen, first, last, resync); by default RecordChanged(nullptr).
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    // The window scrolled by distance rows (positive: towards the end); by default DataSetChanged.
    virtual void DataSetScrolled(int distance) { (void)distance; DataSetChanged(); }
    // A field (or the whole record when nullptr) of the current record changed.
    virtual void RecordChanged(TField* field) { (void)field; }
    virtual void EditingChanged() {}
    virtual void LayoutChanged() { DataSetChanged(); }
    // The dataset asks the control showing field to take the focus; set field
    // to nullptr when this link did so.
    virtual void FocusControl(TField** field) { (void)field; }
    // The dataset is about to leave the current record.
    virtual void CheckBrowseMode() {}
    // Write a pending change of the control into the field.
    virtual void UpdateData() {}

private:
    friend class TDataSource;
    friend class TDataSet;
    void DataEvent(TDataEvent event, std::intptr_t info);
    void UpdateState();
    void SetActive(bool active);
    void SetEditing(bool editing);
    void UpdateRange();

    TDataSource* m_dataSource = nullptr;
    bool m_active = false;
    bool m_editing = false;
    bool m_readOnly = false;
    bool m_updating = false;
    int m_bufferCount = 1;
    int m_firstRecord = 0; // dataset buffer index of this link's first row
};
