#pragma once
// The query dataset: a dataset whose rows come from one DAO recordset over a
// table, a saved query or SQL text of its connection.
#include "daodata/TParams.h"
#include "daodata/TVoDaoDatasetLink.h"
#include "daodata/TVoDaoIndexDefs.h"
#include "framework/data/TDataSet.h"

#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TVoDaoDatabase;
class TDataSource;
class TMasterDataLink;

namespace vodao {
class ReplacedFiles;
}
namespace dao {
class Recordset;
class Field;
class Variant;
} // namespace dao

// OpenOptions elements, in the order of their DAO values 1, 2, 4 … 2048.
enum TOpenOption : unsigned {
    dbDenyWriteOpt = 1u << 0, dbDenyReadOpt = 1u << 1, dbReadOnlyOpt = 1u << 2, dbAppendOnlyOpt = 1u << 3,
    dbInconsistentOpt = 1u << 4, dbConsistentOpt = 1u << 5, dbSQLPassThroughOpt = 1u << 6,
    dbFailOnErrorOpt = 1u << 7, dbForwardOnlyOpt = 1u << 8, dbSeeChangesOpt = 1u << 9, dbRunAsyncOpt = 1u << 10,
    dbExecDirectOpt = 1u << 11
};
using TOOSet = unsigned;

enum TExportMethod { VisibleFields = 0, AllFields = 1 };

// One record: its position when read and one value text per field (an
// empty text is null), each with a changed mark.
struct TVoDaoRecordBuffer : TRecordBuffer {
    int RecordNumber = -1;
    std::vector<QString> Texts;
    std::vector<bool> Changed;
};

class TVoDaoTable : public TDataSet, public TVoDaoDatasetLink {
public:
    explicit TVoDaoTable(const QString& name = {});
    ~TVoDaoTable() override;

    // --- source ---
    TVoDaoDatabase* Database() const { return database_; }
    void SetDatabase(TVoDaoDatabase* database);
    const QString& TableName() const { return tableName_; }
    void SetTableName(const QString& name);
    const QString& QueryDefName() const { return queryDefName_; }
    void SetQueryDefName(const QString& name);
    QStringList QueryDefParameters;
    // The same values as one text, a line each.
    QString QueryDefParametersText() const { return QueryDefParameters.join('\n'); }
    void SetQueryDefParametersText(const QString& text);
    QStringList QueryDefSQLText;
    QString QueryDefType;
    bool QueryDefSQLModify = false;
    int QueryDefODBCMaxRecords = 0;
    const QStringList& SQL() const { return sql_; }
    // A non-empty text clears TableName, QueryDefName, the saved-query
    // settings and the field definitions; Params are re-read.
    void SetSQL(const QStringList& lines);
    void SetSQL(const QString& text) { SetSQL(QStringList{text}); }
    TParams Params;
    bool ParamCheck = true;

    // --- recordset ---
    int TableType() const { return tableType_; }
    void SetTableType(int type);
    int LockType() const { return lockType_; }
    void SetLockType(int type);
    TOOSet OpenOptions = 0;
    // The DAO options value of OpenOptions.
    int OpenOptionsValue() const { return int(OpenOptions); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    bool DatabaseAutoActivate = false;
    // Whether the open recordset locks a row from Edit to Update (LockType 2).
    bool LockEdits() const;
    // DateCreated and LastUpdated of the table definition of TableName, as
    // date text; empty without a table name or a connected database.
    QString TableDateCreated() const;
    QString TableLastUpdated() const;

    // --- behaviour ---
    bool UseBrackets = true;
    bool UseCaptions = false;
    bool UseDaoProperties = true;
    bool UseGetRecNo = true;
    bool UseRecordCount = true;
    bool CacheMemos = false;
    bool CacheBlobs = false;
    bool CacheLookups = false;
    bool ShowGUID = false;
    bool Translation = false;
    bool WarnOnBadDatabase = false;
    bool ProcessMessages = false;
    TExportMethod ExportMethod = VisibleFields;
    QString ComponentVersion = QStringLiteral("7.70");

    // Rows touched by the last SQL execution.
    long RecordsAffected() const { return recordsAffected_; }
    // Joins the lines with blanks, puts the parameter values in and runs the text.
    void ExecSQL(const QStringList& lines);
    // The SQL text as the engine gets it: lines joined, parameters put in.
    QString SQLText() const;

    std::shared_ptr<dao::Recordset> CoreRecordset() const { return recordset_; }
    bool ClosedByDatabase() const { return closedByDatabase_; }

    // --- master–detail link and sorting ---
    TDataSource* MasterSource() const;
    // Refuses "Circular links not allowed!"; none clears MasterFields. Reopens an open dataset in place.
    void SetMasterSource(TDataSource* source);
    const QStringList& MasterFields() const { return masterFields_; }
    void SetMasterFields(const QStringList& lines);
    void SetMasterFields(const QString& text) { SetMasterFields(QStringList{text}); }
    const QStringList& DetailFieldList() const { return detailList_; }
    const QStringList& MasterFieldList() const { return masterList_; }
    bool MasterAutoActivate = true;
    bool MasterLinkInactive() const { return linkInactive_; }
    const QStringList& SortedBy() const { return sortedBy_; }
    void SetSortedBy(const QStringList& lines);
    void SetSortedBy(const QString& text) { SetSortedBy(QStringList{text}); }
    const QStringList& SortedByText() const { return sortedBy_; }
    void SetSortedByText(const QStringList& lines) { SetSortedBy(lines); }
    // The sort lines joined with ", ", followed by one blank.
    QString SortText() const;
    bool RefreshSorted = false;
    // The condition the current master row puts on this dataset.
    QString DetailCondition() const;
    // Reopens the recordset with the current settings; the dataset stays open.
    void ReopenInPlace();
    TDataSource* GetDataSource() const override { return MasterSource(); }

    // --- filtering and record search ---
    // Filter, Filtered and OnFilterRecord reopen an open dataset in place. A
    // filter the engine refuses raises its error; the dataset is then reopened
    // without the filter text so that it goes on working.
    void SetFilter(const QString& text) override;
    void SetFiltered(bool on) override;
    void SetOnFilterRecord(const TFilterRecordEvent& handler) override;
    const QString& IndexName() const { return indexName_; }
    // Table-type only (an empty name is always allowed); clears SortedBy. On an
    // open table the rows follow the index at once, from the first row.
    void SetIndexName(const QString& name);
    bool AutoFindIndex = true;
    // The indexes of the table, read from its table definition when asked
    // (none for SQL and saved-query sources).
    TVoDaoIndexDefs IndexDefs() const;
    int IndexFieldCount() const;
    // A field of the current index, in index order; refuses on a closed dataset.
    TField* IndexFields(int index) const;
    // Key field names separated by ";", one value or a list of values, options
    // loCaseInsensitive and loPartialKey. The engine finds the row (Seek on a
    // table with a fitting index, FindFirst otherwise); not found leaves the
    // current row where it was.
    bool Locate(const QString& keyFields, const QVariant& keyValues, TLocateOptions options) override;
    // The value of the result field (a list for several) in the first row with
    // the keys, or null; the current row does not move.
    QVariant Lookup(const QString& keyFields, const QVariant& keyValues, const QString& resultFields) override;
    // Searches from the current row; each call is kept as the last search that
    // the argument-less forms repeat.
    using TDataSet::FindFirst;
    using TDataSet::FindLast;
    using TDataSet::FindNext;
    using TDataSet::FindPrior;
    bool FindFirst(const QString& keyFields, const QVariant& keyValues, TLocateOptions options);
    bool FindLast(const QString& keyFields, const QVariant& keyValues, TLocateOptions options);
    bool FindNext(const QString& keyFields, const QVariant& keyValues, TLocateOptions options);
    bool FindPrior(const QString& keyFields, const QVariant& keyValues, TLocateOptions options);
    // The condition a search hands to the engine for these keys.
    QString SearchCondition(const QString& keyFields, const QVariant& keyValues, TLocateOptions options) const;
    // The same with plain equality, as Lookup uses it.
    QString KeyCondition(const QString& keyFields, const QVariant& keyValues) const;

    // --- export ---
    // Each hands one SELECT … INTO … IN … statement to the engine, whose
    // installable formats write the target. DeleteOld removes an existing
    // target first; ExportBlobs also exports binary large-object fields.
    void ExportToText(const QString& FileName, bool ExportBlobs, bool DeleteOld);
    void ExportToHTML(const QString& FileName, bool ExportBlobs, bool DeleteOld);
    void ExportToExcel(const QString& FileName, const QString& SheetName, int Version, bool ExportBlobs,
                       bool DeleteOld);
    void ExportToParadox(const QString& FileName, int Version, bool ExportBlobs, bool DeleteOld);
    void ExportToDBase(const QString& FileName, int Version, bool ExportBlobs, bool DeleteOld);
    void ExportToFoxPro(const QString& FileName, int Version, bool ExportBlobs, bool DeleteOld);
    void ExportToDatabase(const QString& DatabaseFile, const QString& TargetTable, bool ExportBlobs,
                          bool DeleteOld);
    // The field list of an export: " [A], [B]" (or "*" for AllFields).
    QString ExportFieldList(bool exportBlobs) const;

    // --- blobs, display and encryption ---
    // Optional component that encodes stored text: a QObject publishing the
    // QString properties "DecodedString" and "EncodedString" (looked up at
    // open). Text and blob values are decoded on read and encoded on post.
    QObject* Encrypter() const { return encrypter_; }
    // On an open dataset the new one is looked up at once.
    void SetEncrypter(QObject* encrypter);
    // Memo and blob values that are not cached are read from their row here;
    // writing refuses "Cannot write to ReadOnly table!" on a read-only dataset.
    std::unique_ptr<QIODevice> CreateBlobStream(TField* field, TBlobStreamMode mode) override;

    // --- dataset ---
    int RecordCount() const override;
    int RecNo() const override;
    void SetRecNo(int recNo) override;
    bool IsUniDirectional() const override { return tableType_ == 8; }
    // Reads rows on a clone of the recordset (placed by AbsolutePosition, or
    // by moves on a table-type recordset), so that the dataset's own cursor
    // stays put; none for a forward-only recordset. While OnFilterRecord
    // filters, positions count the accepted rows.
    std::unique_ptr<TRowReader> CreateRowReader() override;
    // Bulk append: the records appended and posted until EndBulkAppend are
    // written in one transaction of the database (one write to the disk
    // rather than one per record) while the attached controls are disabled.
    // Each post still succeeds or fails alone; EndBulkAppend keeps every
    // posted record (a commit that fails undoes them all and raises).
    void BeginBulkAppend();
    void EndBulkAppend();

    // --- connection link ---
    QString DatasetName() const override { return Name(); }
    void CloseByDatabase() override;
    void SetReadOnlyByDatabase(bool readOnly) override { readOnly_ = readOnly; }

protected:
    std::unique_ptr<TRecordBuffer> AllocRecordBuffer() override;
    void InternalInitRecord(TRecordBuffer* buffer) override;
    TGetResult GetRecord(TRecordBuffer* buffer, TGetMode mode, bool doCheck) override;
    void InternalFirst() override;
    void InternalLast() override;
    void InternalOpen() override;
    void InternalClose() override;
    bool IsCursorOpen() const override;
    void InternalInitFieldDefs() override;
    void InternalPost() override;
    void InternalDelete() override;
    void InternalGotoBookmark(const TBookmark& bookmark) override;
    void InternalSetToRecord(TRecordBuffer* buffer) override;
    bool GetFieldData(const TField* field, const TRecordBuffer* buffer, QVariant& value) const override;
    void SetFieldData(TField* field, TRecordBuffer* buffer, const QVariant& value) override;
    bool GetCanModify() const override { return !readOnly_; }
    void InternalEdit() override;
    void InternalCancel() override;
    const TRecordBuffer* GetOldRecordBuffer() const override;
    void RunPost() override;
    void RunDelete() override;
    void FieldsBound() override;
    void CheckFieldWritable(TField* field) override;
    void DoOnNewRecord() override;
    // --- filtering and record search ---
    bool FindRecord(bool restart, bool goForward) override;

private:
    class RowReader;
    enum class ExportKind { Text, Html, Excel, Paradox, DBase, FoxPro };
    void ExportToFile(ExportKind kind, const QString& fileName, const QString& sheetName, const QString& connect,
                      bool exportBlobs, bool deleteOld);
    // DeleteOld of a Paradox, dBase or FoxPro table: its files in folder,
    // whatever the case of their names.
    static void SetAsideTableFiles(vodao::ReplacedFiles& replaced, ExportKind kind, const QString& folder,
                                   const QString& base);
    // Runs body with the export's source: the table, the saved query or a
    // temporary saved query made from the SQL text for this one call (inside
    // a transaction that is rolled back when withTransaction).
    void WithExportSource(const std::function<void(const QString& source)>& body, bool withTransaction);
    // Refuses SQL work without a connected database (ExecSQL's message).
    void CheckSqlConnection() const;
    // The field list after the open check; refuses an empty one.
    QString CheckedExportFields(bool exportBlobs) const;
    // The statement, the filter line when filtered, the sort line when
    // sorted, and ";".
    QStringList ExportStatementLines(const QString& statement) const;
    void OpenDaoRecordset();
    void ApplySort(int options);
    // The condition the master puts on this dataset now (opening the master when it may); none when unlinked.
    std::optional<QString> MasterRestriction();
    void ApplySortAndMaster(int options);
    void TakeMasterParameters();
    void MasterChanged();
    void MasterDisabled();
    void FetchInto(TVoDaoRecordBuffer* buffer);
    QString ValueText(int column) const;
    QString TableDate(bool created) const;
    void MoveToRecordNumber(int recordNumber);
    int CursorPosition() const;
    dao::Variant PostValue(int index, const QString& text) const;
    void WriteValues();
    void PostToRecordset(bool again);
    void AfterPostPosition(bool inserted);
    void LeaveDeletedRow();

    TVoDaoDatabase* database_ = nullptr;
    QString tableName_, queryDefName_;
    QStringList sql_;
    int tableType_ = 2, lockType_ = 3;
    bool readOnly_ = false;
    bool bookmarkable_ = false;
    bool closedByDatabase_ = false;
    bool bulkAppend_ = false;
    bool bulkTransaction_ = false; // the database took the bulk append's transaction
    long recordsAffected_ = 0;
    std::shared_ptr<dao::Recordset> recordset_;
    std::vector<std::shared_ptr<dao::Field>> fieldObjects_;
    std::vector<bool> writable_;
    std::vector<bool> engineFilled_; // GenUniqueID()/GenGUID() defaults of a Jet workspace
    std::vector<QString> defaults_;
    TVoDaoRecordBuffer oldRecord_;
    std::unique_ptr<TMasterDataLink> masterLink_;
    QStringList masterFields_, detailList_, masterList_, sortedBy_;
    bool linkInactive_ = true;
    bool opening_ = false; // inside OpenDaoRecordset: master notifications wait
    bool sortedAtOpen_ = false; // the recordset was opened in SortedBy's order
    std::shared_ptr<dao::Recordset> filterBackup_;
    int position_ = -1;
    bool forwardOnFirst_ = false;
    mutable int cachedCount_ = -1;
    mutable bool countStale_ = true;

    // --- filtering and record search ---
    enum class FindMode { First, Last, Next, Prior };
    struct LastSearch {
        bool kept = false;
        QString keyFields;
        QVariant keyValues;
        TLocateOptions options = 0;
    };
    void ApplyIndex();
    void ApplyFilter(int options);
    void ReopenForFilter();
    // Rows that pass OnFilterRecord, walked on a copy of the cursor; with a
    // bookmark: the number of the row that has it (-1 when none has).
    int WalkAcceptedRows(const TBookmark& until) const;
    QString ConditionFor(const QString& keyFields, const QVariant& keyValues, TLocateOptions options,
                         bool equalityOnly) const;
    bool FindByKeys(FindMode mode, const QString& keyFields, const QVariant& keyValues, TLocateOptions options);
    bool LocateByWalking(const QStringList& names, const QVariantList& values, TLocateOptions options);
    bool SeekOnTable(dao::Recordset& clone, const QStringList& names, const QVariantList& values,
                     TLocateOptions options);
    // Runs body with another recordset of the same rows standing in for the
    // dataset's own one (rows are then read from it); everything is put back after.
    void OnOtherCursor(const std::shared_ptr<dao::Recordset>& cursor, const std::function<void()>& body);
    // Makes the row a search found on a copy of the cursor the current row;
    // false when it cannot be reached there.
    bool MoveToFoundRow(const dao::Recordset& found);
    bool SearchRefused() const;
    // The search criteria with the restriction the recordset was opened with:
    // the rows all meet it, and the engine can use its indexes on it.
    std::string EngineCriteria(const QString& condition) const;
    QString indexName_;
    QString engineRestriction_; // the master condition or filter put on the source at open
    LastSearch lastSearch_;
    bool searching_ = false;

    // --- blobs, display and encryption ---
    // Display width and GUID/memo text handlers of a field made at open.
    void SetUpFieldDisplay(TField* field);
    void LookUpEncrypter();
    // Stored text of a column to the dataset's text (decoded, then OEM to
    // ANSI) and back (ANSI to OEM, then encoded); blobs only pass the Encrypter.
    QString FromEngineText(int column, const QString& stored) const;
    QString ToEngineText(int column, const QString& text) const;
    bool IsGuidColumn(int column) const;
    // True when the buffer holds a memo or blob of its row by its size only.
    bool HoldsBlobSize(const TVoDaoRecordBuffer* buffer, int column) const;
    // Reads such a value from the buffer's row; false for null.
    bool ReadBlobValue(const TVoDaoRecordBuffer* buffer, int column, QVariant& value) const;
    // The value of a Bytes column's text: GUID text back to its 16 bytes.
    QByteArray BytesOfText(int column, const QString& text) const;
    // The table-type count checked against a copy moved to its last row.
    int CheckedTableCount(long engineCount) const;
    QPointer<QObject> encrypter_;
    int decodedProperty_ = -1, encodedProperty_ = -1; // -1: no usable Encrypter
};
