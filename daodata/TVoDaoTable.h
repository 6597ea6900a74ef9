#pragma once
// The query dataset: a dataset whose rows come from one DAO recordset over a
// table, a saved query or SQL text of its connection.
#include "daodata/TParams.h"
#include "daodata/TVoDaoDatasetLink.h"
#include "framework/data/TDataSet.h"

#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TVoDaoDatabase;
class TDataSource;
class TMasterDataLink;

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
    QString IndexName;
    // The condition the current master row puts on this dataset.
    QString DetailCondition() const;
    // Reopens the recordset with the current settings; the dataset stays open.
    void ReopenInPlace();
    TDataSource* GetDataSource() const override { return MasterSource(); }

    // --- dataset ---
    int RecordCount() const override;
    int RecNo() const override;
    void SetRecNo(int recNo) override;
    bool IsUniDirectional() const override { return tableType_ == 8; }

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

private:
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
    long recordsAffected_ = 0;
    std::shared_ptr<dao::Recordset> recordset_;
    std::vector<std::shared_ptr<dao::Field>> fieldObjects_;
    std::vector<bool> writable_;
    std::vector<QString> defaults_;
    TVoDaoRecordBuffer oldRecord_;
    std::unique_ptr<TMasterDataLink> masterLink_;
    QStringList masterFields_, detailList_, masterList_, sortedBy_;
    bool linkInactive_ = true;
    bool opening_ = false; // inside OpenDaoRecordset: master notifications wait
    std::shared_ptr<dao::Recordset> filterBackup_;
    int position_ = -1;
    bool forwardOnFirst_ = false;
    mutable int cachedCount_ = -1;
    mutable bool countStale_ = true;
};
