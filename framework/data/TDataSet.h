#pragma once
// The abstract dataset: states, the window of record buffers shared with the
// attached data links, navigation, editing, bookmarks, calculated and lookup
// fields, the per-record filter event and the before/after events.
//
// A concrete dataset implements the protected record engine (the pure
// virtuals below); everything public works through it.
#include "framework/data/DbTypes.h"
#include "framework/data/TFieldDefs.h"
#include "framework/data/TFields.h"
#include "framework/data/TRecordBuffer.h"
#include "framework/data/TRowReader.h"

#include <QIODevice>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

class TDataSource;
class TDataLink;

class TDataSet {
public:
    using TDataSetNotifyEvent = std::function<void(TDataSet* dataSet)>;
    // The error is the exception the operation raised (EDatabaseError or an
    // engine error); the handler sets the action (daFail by default).
    using TDataSetErrorEvent =
        std::function<void(TDataSet* dataSet, const std::exception& error, TDataAction& action)>;
    using TFilterRecordEvent = std::function<void(TDataSet* dataSet, bool& accept)>;

    TDataSet();
    // A concrete dataset must call Close() in its own destructor: the record
    // engine is gone once this destructor runs.
    virtual ~TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    // Component name; errors raised "with the dataset" start with "Name: ".
    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }

    // --- opening and state ---
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    bool Active() const { return m_state != dsInactive && m_state != dsOpening; }
    void SetActive(bool active);
    TDataSetState State() const { return m_state; }
    bool Modified() const { return m_modified; }
    bool CanModify() const { return GetCanModify(); }

    // --- fields ---
    TFields& Fields() { return m_fields; }
    const TFields& Fields() const { return m_fields; }
    TFieldDefs& FieldDefs() { return m_fieldDefs; }
    const TFieldDefs& FieldDefs() const { return m_fieldDefs; }
    int FieldCount() const { return m_fields.Count(); }
    TField* FindField(const QString& name) const { return m_fields.FindField(name); }
    // Raises "Feld '<name>' nicht gefunden" (prefixed with the dataset's name).
    TField* FieldByName(const QString& name) const;
    TField* FieldByNumber(int fieldNo) const { return m_fields.FieldByNumber(fieldNo); }
    // The fields named in a ";"-separated list, in list order; raises for an unknown name.
    std::vector<TField*> GetFieldList(const QString& fieldNames) const;
    QStringList GetFieldNames() const;
    // True while the data fields were made by the dataset from its field definitions.
    bool DefaultFields() const { return m_defaultFields; }
    // Creates a declared field of type T owned by this dataset (closed datasets only).
    template <class T>
    T* AddField(const QString& name, TFieldKind kind = fkData)
    {
        auto field = std::make_unique<T>();
        field->SetFieldName(name);
        field->SetFieldKind(kind);
        field->SetDataSet(this); // the dataset owns it from here
        return field.release();
    }
    // Value of one field, or a QVariantList for several ";"-separated names.
    QVariant FieldValues(const QString& fieldNames) const;
    void SetFieldValues(const QString& fieldNames, const QVariant& values);
    bool AutoCalcFields() const { return m_autoCalcFields; }
    void SetAutoCalcFields(bool on) { m_autoCalcFields = on; }

    // --- navigation ---
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Moves by up to distance records; returns the distance actually moved.
    int MoveBy(int distance);
    bool Bof() const { return m_bof; }
    bool Eof() const { return m_eof; }
    bool IsEmpty() const { return m_activeRecord >= m_recordCount; }
    // -1 when the dataset cannot tell.
    virtual int RecordCount() const { return -1; }
    // 1-based number of the current record; -1 when the dataset cannot tell.
    virtual int RecNo() const { return -1; }
    // Moves to the recNo-th record (by default: from the first record on).
    virtual void SetRecNo(int recNo);
    virtual bool IsSequenced() const { return true; }
    virtual bool IsUniDirectional() const { return false; }
    // Re-reads the records from the cursor, keeping the current record.
    void Refresh();
    void Resync(TResyncMode mode);

    // --- editing ---
    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void AppendRecord(const QVariantList& values);
    void InsertRecord(const QVariantList& values);
    // Posts or cancels a pending edit (after the data links wrote their changes).
    void CheckBrowseMode();
    // Asks the data links to write their pending changes into the fields.
    void UpdateRecord();
    void ClearFields();

    // --- bookmarks ---
    // The current record's bookmark; empty when there is none.
    TBookmark GetBookmark() const;
    TBookmark Bookmark() const { return GetBookmark(); }
    void SetBookmark(const TBookmark& bookmark) { GotoBookmark(bookmark); }
    void GotoBookmark(const TBookmark& bookmark);
    virtual bool BookmarkValid(const TBookmark& bookmark);
    // <0, 0, >0; an empty bookmark sorts first.
    virtual int CompareBookmarks(const TBookmark& a, const TBookmark& b) const;
    void FreeBookmark(TBookmark& bookmark) { bookmark.clear(); }

    // --- reading rows by position (grids) ---
    // A reader over the records by position that leaves the cursor where it
    // is; null when the dataset cannot read without moving its cursor (a
    // forward-only one), whose grids then show only its buffered records.
    // A reader sees the records as they were when it was made: make a new
    // one after the dataset changed as a whole (reopen, post, delete).
    virtual std::unique_ptr<TRowReader> CreateRowReader() { return nullptr; }
    // Reads records through reader (see TRowReader::ReadRows). While visit
    // runs, the fields read the record just read (calculated and lookup
    // fields computed) and bookmark is its bookmark; the dataset's state,
    // cursor and buffers are as before, and no notification goes out.
    int ReadRows(TRowReader& reader, int first, int count,
                 const std::function<void(int position, const TBookmark& bookmark)>& visit);

    // --- blobs ---
    // A stream over the field's value in the current record; a write stream
    // stores its bytes into the field when it is closed or destroyed.
    virtual std::unique_ptr<QIODevice> CreateBlobStream(TField* field, TBlobStreamMode mode);

    // --- attached controls ---
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return m_disableCount > 0; }

    // --- searching ---
    // Generic versions walk the cursor; concrete datasets may hand the search to their engine.
    virtual bool Locate(const QString& keyFields, const QVariant& keyValues, TLocateOptions options);
    virtual QVariant Lookup(const QString& keyFields, const QVariant& keyValues,
                            const QString& resultFields);
    bool FindFirst() { return FindRecord(true, true); }
    bool FindLast() { return FindRecord(true, false); }
    bool FindNext() { return FindRecord(false, true); }
    bool FindPrior() { return FindRecord(false, false); }

    // --- filtering ---
    // The filter text is evaluated by the concrete dataset; the framework
    // evaluates OnFilterRecord while Filtered is on.
    const QString& Filter() const { return m_filterText; }
    virtual void SetFilter(const QString& text) { m_filterText = text; }
    bool Filtered() const { return m_filtered; }
    virtual void SetFiltered(bool on);
    TFilterOptions FilterOptions() const { return m_filterOptions; }
    virtual void SetFilterOptions(TFilterOptions options) { m_filterOptions = options; }
    const TFilterRecordEvent& OnFilterRecord() const { return m_onFilterRecord; }
    virtual void SetOnFilterRecord(const TFilterRecordEvent& handler);

    // --- master link ---
    // The data source this dataset follows (its master); none by default.
    virtual TDataSource* GetDataSource() const { return nullptr; }
    // True when this dataset is reached from dataSource through the chain of
    // data sources and their datasets' masters (linking it would be circular).
    bool IsLinkedTo(const TDataSource* dataSource) const;
    // Raises "Zirkuläre Datenverknüpfungen sind nicht erlaubt" for such a source.
    void CheckCircularLink(const TDataSource* dataSource) const;

    // --- events ---
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent BeforeRefresh, AfterRefresh;
    TDataSetNotifyEvent OnNewRecord, OnCalcFields;
    TDataSetErrorEvent OnEditError, OnPostError, OnDeleteError;

    // --- used by TField ---
    // Reads a field of the record the current state points at; false for null.
    bool GetFieldValue(const TField* field, QVariant& value) const;
    void SetFieldValue(TField* field, const QVariant& value);
    QVariant GetOldFieldValue(const TField* field) const;

protected:
    // ===== The record engine a concrete dataset implements =====
    // A new, empty record buffer of the dataset's own buffer type.
    virtual std::unique_ptr<TRecordBuffer> AllocRecordBuffer() = 0;
    // Fills a buffer for a new record (empty values or defaults).
    virtual void InternalInitRecord(TRecordBuffer* buffer) = 0;
    // Reads the record at the cursor (gmCurrent) or moves the cursor one record
    // forward/back and reads that one. Results: grOK with the buffer filled
    // (record data and Bookmark), grBOF/grEOF when the cursor went past an end
    // (it then stands on that crack), grError when gmCurrent has no record.
    // doCheck: raise instead of returning grError. Filtering by OnFilterRecord
    // and calculated fields are done by the framework around this call.
    virtual TGetResult GetRecord(TRecordBuffer* buffer, TGetMode mode, bool doCheck) = 0;
    // Cursor to the crack before the first / after the last record.
    virtual void InternalFirst() = 0;
    virtual void InternalLast() = 0;
    // Opens the cursor; the framework then calls InternalInitFieldDefs, makes
    // and binds the fields, calls FieldsBound, fills the buffers from the first record.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual bool IsCursorOpen() const = 0;
    // Fills FieldDefs() from the open cursor (called with FieldDefs cleared).
    virtual void InternalInitFieldDefs() = 0;
    // Writes ActiveBuffer() (State() tells edit or insert). The cursor stands
    // on the record of the active buffer (for an insert: on the record it was
    // inserted before, or on the end crack for an append). Afterwards the
    // cursor must stand on the written record: the framework re-reads it.
    virtual void InternalPost() = 0;
    // Deletes the record at the cursor and leaves the cursor on the record
    // that takes its place (or the last one).
    virtual void InternalDelete() = 0;
    // Cursor onto the bookmarked record; raise when it does not exist.
    virtual void InternalGotoBookmark(const TBookmark& bookmark) = 0;
    // Value of a data field in a buffer (native type, see TField::GetData);
    // false and an invalid value for null. Blob fields give their whole value.
    virtual bool GetFieldData(const TField* field, const TRecordBuffer* buffer,
                              QVariant& value) const = 0;
    // Stores a data field's value (native type or null) into a buffer.
    virtual void SetFieldData(TField* field, TRecordBuffer* buffer, const QVariant& value) = 0;

    // ===== Optional parts of the record engine =====
    // Cursor onto the record of a buffer; by default its bookmark.
    virtual void InternalSetToRecord(TRecordBuffer* buffer);
    virtual void InternalEdit() {}
    virtual void InternalInsert() {}
    virtual void InternalCancel() {}
    virtual void InternalRefresh() {}
    // Called during open after the fields are made and bound, before the first record is read.
    virtual void FieldsBound() {}
    virtual bool GetCanModify() const { return true; }
    // The buffer fields read and write in the current state.
    virtual TRecordBuffer* GetActiveRecordBuffer() const;
    // The record as it was before the pending edit; none by default.
    virtual const TRecordBuffer* GetOldRecordBuffer() const { return nullptr; }
    // Raises "Feld '<name>' kann nicht geändert werden" for a read-only data field.
    virtual void CheckFieldWritable(TField* field);
    virtual bool FindRecord(bool restart, bool goForward);
    // The write steps of Edit, Post and Delete: each runs its Internal*
    // operation through CheckOperation with OnEditError / OnPostError /
    // OnDeleteError (daRetry reruns it, daAbort raises EAbort, daFail
    // re-raises). Override to give the error events other rules; the state
    // changes and events around them stay with the framework.
    virtual void RunEdit();
    virtual void RunPost(); // CheckRequiredFields, then InternalPost
    virtual void RunDelete();
    // Sends a notification to the data sources (unless controls are disabled).
    virtual void DataEvent(TDataEvent event, std::intptr_t info);
    // Calculates the lookup fields, then calls OnCalcFields, in state dsCalcFields.
    virtual void CalculateFields(TRecordBuffer* buffer);
    virtual void DoOnNewRecord();
    virtual void DoBeforeScroll();
    virtual void DoAfterScroll();

    // ===== Helpers for concrete datasets =====
    TRecordBuffer* ActiveBuffer() const;
    int ActiveRecord() const { return m_activeRecord; }
    int BufferCount() const { return m_bufferCount; }
    int BufferedRecords() const { return m_recordCount; }
    TRecordBuffer* Buffer(int index) const { return m_buffers[static_cast<size_t>(index)].get(); }
    void SetState(TDataSetState state);
    TDataSetState SetTempState(TDataSetState state);
    void RestoreState(TDataSetState state);
    void SetModified(bool modified) { m_modified = modified; }
    // The cursor no longer stands on the record of any buffer.
    void CursorPosChanged() { m_currentRecord = -1; }
    // Puts the cursor on the active buffer's record.
    void UpdateCursorPos();
    void ClearBuffers();
    // True while Filtered is on and OnFilterRecord is assigned.
    bool ClientFilterActive() const { return m_filtered && m_onFilterRecord != nullptr; }
    // Store the filter switch or handler without moving: for datasets that
    // reopen their cursor on a filter change instead.
    void StoreFiltered(bool on) { m_filtered = on; }
    void StoreOnFilterRecord(const TFilterRecordEvent& handler) { m_onFilterRecord = handler; }
    // Runs OnFilterRecord on a buffer (state dsFilter, calculated fields computed).
    bool RecordPassesFilter(TRecordBuffer* buffer);
    // Runs body with the fields reading buffer (a temporary state, no notifications).
    void ReadingBuffer(TRecordBuffer* buffer, const std::function<void()>& body);
    // Computes the calculated and lookup fields of a buffer.
    void GetCalcFields(TRecordBuffer* buffer);
    void CheckActive() const;
    void CheckInactive() const;
    void CheckCanModify() const;
    void CheckRequiredFields();
    // Runs an operation, asking the error event what to do when it raises.
    void CheckOperation(const std::function<void()>& operation, const TDataSetErrorEvent& errorEvent);
    // Raises EDatabaseError with "Name: " before the text when the dataset has a name.
    [[noreturn]] void Error(const QString& message) const;
    void DoNotify(const TDataSetNotifyEvent& event) { if (event) event(this); }

private:
    friend class TField;
    friend class TFields;
    friend class TDataSource;
    friend class TDataLink;

    void OpenCursor();
    void CloseCursor();
    void CreateDefaultFields();
    void BindFields(bool binding);
    void DestroyDefaultFields();
    void SetBufferCount(int count);
    void UpdateBufferCount();
    void MoveBuffer(int from, int to);
    void SetCurrentRecord(int index);
    void ActivateBuffers();
    bool GetNextRecord();
    bool GetPriorRecord();
    int GetNextRecords();
    int GetPriorRecords();
    TGetResult FetchRecord(TRecordBuffer* buffer, TGetMode mode, bool doCheck);
    void InitRecord(TRecordBuffer* buffer);
    void ClearCalcFields(TRecordBuffer* buffer);
    void BeginInsertAppend();
    void EndInsertAppend();
    void UpdateCalcFields();
    void CalcLookupValue(TField* field);
    void AddDataSource(TDataSource* source);
    void RemoveDataSource(TDataSource* source);
    TRecordBuffer* WalkBuffer();
    std::unique_ptr<TRecordBuffer> NewBuffer();
    // Walks the cursor from the first record; calls match with the walk
    // buffer current (state dsCalcFields) until it returns true.
    bool WalkRecords(const std::function<bool()>& match);
    bool KeysMatch(const std::vector<TField*>& fields, const QVariantList& values,
                   TLocateOptions options) const;

    QString m_name;
    TDataSetState m_state = dsInactive;
    bool m_modified = false;
    TFields m_fields;
    TFieldDefs m_fieldDefs;
    bool m_defaultFields = false;
    int m_calcFieldCount = 0;
    bool m_autoCalcFields = true;

    // Window of record buffers: m_buffers[0 .. m_bufferCount-1] hold the
    // buffered records (m_recordCount of them), m_buffers[m_bufferCount] is
    // scratch for reading the next record.
    std::vector<std::unique_ptr<TRecordBuffer>> m_buffers;
    int m_bufferCount = 0;
    int m_recordCount = 0;
    int m_activeRecord = 0;
    int m_currentRecord = -1; // buffer whose record the cursor stands on
    bool m_bof = true;
    bool m_eof = true;
    TRecordBuffer* m_calcBuffer = nullptr;
    TRecordBuffer* m_filterBuffer = nullptr;
    std::unique_ptr<TRecordBuffer> m_walkBuffer;

    int m_disableCount = 0;
    int m_tempStateDepth = 0; // temporary states send no notifications
    TDataSetState m_disableState = dsInactive;
    TDataEvent m_enableEvent = deDataSetChange;

    QString m_filterText;
    bool m_filtered = false;
    TFilterOptions m_filterOptions = 0;
    TFilterRecordEvent m_onFilterRecord;

    std::vector<TDataSource*> m_dataSources;
    std::vector<TField*> m_lookupClients; // fields of other datasets that look values up here
};
