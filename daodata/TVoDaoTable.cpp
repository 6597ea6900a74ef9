#include "daodata/TVoDaoTable.h"

#include "daodata/TVoDaoDatabase.h"
#include "daodata/VoDaoFieldShape.h"
#include "daodata/VoDaoSqlText.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/DaoError.h"
#include "engine/Field.h"
#include "engine/JetErrors.h"
#include "engine/Parameter.h"
#include "engine/QueryDef.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"
#include "framework/data/TMasterDataLink.h"
#include "framework/data/TimeStamp.h"
#include "framework/data/ValueText.h"
#include "platform/CodePages.h"

#include <QRegularExpression>

namespace {

// A line of QueryDefParameters as the value of a parameter of that DAO type:
// numbers and booleans are converted here, as DAO converts a value put to a
// parameter, so that text that is no number is refused (DaoError).
dao::Variant ParameterValue(int daoType, const QString& line)
{
    const dao::Variant text(line.toUtf8().toStdString());
    switch (daoType) {
    case 1: return dao::Variant(text.toBool());
    case 2:
    case 3:
    case 4: return dao::Variant::longValue(text.toLong());
    case 5:
    case 6:
    case 7:
    case 16:
    case 19:
    case 20:
    case 21: return dao::Variant(text.toDouble());
    default: return text; // text and dates: the engine converts them
    }
}

} // namespace

TVoDaoTable::TVoDaoTable(const QString& name) : masterLink_(std::make_unique<TMasterDataLink>(this))
{
    SetName(name);
    masterLink_->OnMasterChange = [this](TMasterDataLink*) { MasterChanged(); };
    masterLink_->OnMasterDisable = [this](TMasterDataLink*) { MasterDisabled(); };
}

TVoDaoTable::~TVoDaoTable()
{
    try {
        Close();
    } catch (...) {
        // A failing close cannot be reported from a destructor.
    }
    if (database_)
        database_->DetachDataset(this);
}

// --- properties ---

void TVoDaoTable::SetDatabase(TVoDaoDatabase* database)
{
    if (Active())
        DatabaseError(QStringLiteral("TVoDaoTable.F_Set_Database: Cannot set Database while Table is Active!"));
    database_ = database;
}

void TVoDaoTable::SetTableName(const QString& name)
{
    if (Active())
        DatabaseError(QStringLiteral("TVoDaoTable.F_Set_TableName: Cannot set TableName while Table is active!"));
    tableName_ = name;
}

void TVoDaoTable::SetQueryDefName(const QString& name)
{
    if (Active())
        DatabaseError(QStringLiteral("TVoDaoTable.F_Set_QueryDefName: Cannot set QueryDefName while Table is Active!"));
    queryDefName_ = name;
}

void TVoDaoTable::SetTableType(int type)
{
    if (Active())
        DatabaseError(QStringLiteral("TVoDaoTable.F_Set_TableType: Cannot set TableType while Table is active!"));
    tableType_ = type;
}

void TVoDaoTable::SetLockType(int type)
{
    if (Active())
        DatabaseError(QStringLiteral("TVoDaoTable.F_Set_LockType: Cannot set LockType while Table is active!"));
    lockType_ = type;
}

void TVoDaoTable::SetReadOnly(bool readOnly)
{
    if (Active())
        DatabaseError(QStringLiteral("TVoDaoTable.F_Set_ReadOnly: Cannot set ReadOnly while table is Active!"));
    readOnly_ = readOnly;
}

void TVoDaoTable::SetQueryDefParametersText(const QString& text)
{
    QueryDefParameters = text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    if (!QueryDefParameters.isEmpty() && QueryDefParameters.back().isEmpty())
        QueryDefParameters.removeLast(); // a text ending in a line break holds no empty last line
}

bool TVoDaoTable::LockEdits() const { return recordset_ ? recordset_->lockEdits() : lockType_ == 2; }

QString TVoDaoTable::TableDate(bool created) const
{
    if (tableName_.isEmpty() || !database_ || !database_->CoreDatabase())
        return {};
    auto& tables = database_->CoreDatabase()->tableDefs();
    tables.refresh(); // the dates as they are now
    const auto table = tables.item(tableName_.toUtf8().toStdString());
    const dao::Variant date = created ? table->dateCreated() : table->lastUpdated();
    return date.isNull() ? QString() : DateTimeToText(NumberToDateTime(date.toDouble()));
}

QString TVoDaoTable::TableDateCreated() const { return TableDate(true); }
QString TVoDaoTable::TableLastUpdated() const { return TableDate(false); }

void TVoDaoTable::SetSQL(const QStringList& lines)
{
    sql_ = lines;
    if (!lines.join(QString()).trimmed().isEmpty()) {
        tableName_.clear();
        queryDefName_.clear();
        QueryDefParameters.clear();
        QueryDefSQLText.clear();
        QueryDefType.clear();
        QueryDefSQLModify = false;
        QueryDefODBCMaxRecords = 0;
        if (!Active())
            FieldDefs().Clear();
    }
    if (ParamCheck)
        Params.ParseSQL(lines.join(' '));
}

QString TVoDaoTable::SQLText() const
{
    const QString joined = sql_.join(' ');
    return ParamCheck ? vodao::SubstituteParams(joined, Params) : joined;
}

void TVoDaoTable::CheckSqlConnection() const
{
    if (!database_ || !database_->Connected() || !database_->CoreDatabase())
        DatabaseError(QStringLiteral(
            "TVoDaoTable.ExecSQL: Cannot execute SQL query while Database is not Assigned or Connected!"));
}

void TVoDaoTable::ExecSQL(const QStringList& lines)
{
    CheckSqlConnection();
    QString text = lines.join(' ');
    if (ParamCheck) {
        TParams params = Params;
        params.ParseSQL(text);
        for (int i = 0; i < params.Count(); ++i)
            if (TParam* own = Params.FindParam(params[i].Name))
                params[i] = *own;
        text = vodao::SubstituteParams(text, params);
    }
    auto db = database_->CoreDatabase();
    db->execute(text.toUtf8().toStdString(), 128);
    recordsAffected_ = db->recordsAffected();
}

void TVoDaoTable::CloseByDatabase()
{
    closedByDatabase_ = true;
    Close();
}

// --- opening ---

void TVoDaoTable::OpenDaoRecordset()
{
    opening_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{opening_};
    if (!database_)
        DatabaseError(QStringLiteral("TVoDaoTable.OpenDaoRecordset: Missing Database Property"));
    if (tableName_.isEmpty() && sql_.join(QString()).trimmed().isEmpty() && queryDefName_.isEmpty())
        DatabaseError(
            QStringLiteral("TVoDaoTable.OpenDaoRecordset: Missing TableName or QueryDefName, or SQL is empty!"));
    if (!database_->Connected()) {
        if (!DatabaseAutoActivate)
            DatabaseError(QStringLiteral("TVoDaoTable.OpenDaoRecordset: Database is NOT connected"));
        database_->SetConnected(true);
    }
    if (tableType_ == 16 && database_->DatabaseType().compare(QStringLiteral("ODBC"), Qt::CaseInsensitive) != 0)
        DatabaseError(QStringLiteral("TVoDaoTable.OpenDaoRecordset: DynamicTables are for ODBC connections only!"));
    if (database_->ReadOnly() || tableType_ == 8 || tableType_ == 4)
        readOnly_ = true;
    const int options = OpenOptionsValue();

    if (recordset_) {
        recordset_->close();
        recordset_.reset();
    }
    if (filterBackup_) {
        filterBackup_->close();
        filterBackup_.reset();
    }
    recordsAffected_ = 0;

    auto db = database_->CoreDatabase();
    TakeMasterParameters();
    sortedAtOpen_ = false;
    if (!sql_.join(QString()).trimmed().isEmpty()) {
        // Without a master the order goes into the one statement the engine opens.
        sortedAtOpen_ = !sortedBy_.isEmpty() && tableType_ != 1 && !MasterSource();
        const std::string text = SQLText().toUtf8().toStdString();
        recordset_ = sortedAtOpen_
                         ? db->openSorted(text, SortText().trimmed().toUtf8().toStdString(), tableType_, options, lockType_)
                         : db->openRecordset(text, tableType_, options, lockType_);
    } else if (!tableName_.isEmpty()) {
        recordset_ = db->openRecordset(tableName_.toUtf8().toStdString(), tableType_, options, lockType_);
    } else {
        auto query = db->queryDefs().item(queryDefName_.toUtf8().toStdString());
        int next = 0;
        for (const auto& parameter : query->parameters()) {
            const int direction = parameter->direction();
            if (direction != 1 && direction != 3)
                continue;
            if (next >= QueryDefParameters.size())
                DatabaseError(QStringLiteral("TVoDaoTable.OpenDaoRecordset: Invalid number of QueryDef parameters or "
                                             "parameter is not in valid format!"));
            const QString line = QueryDefParameters[next++];
            try {
                parameter->setValue(line.isEmpty() ? dao::Variant() : ParameterValue(parameter->type(), line));
            } catch (const dao::DaoError&) {
                DatabaseError(QStringLiteral("TVoDaoTable.OpenDaoRecordset: Invalid number of QueryDef parameters or "
                                             "parameter is not in valid format!"));
            }
        }
        QueryDefSQLText = QString::fromStdString(query->sql()).split('\n');
        query->setMaxRecords(QueryDefODBCMaxRecords);
        if (database_->QueryTimeout != 60)
            query->setOdbcTimeout(database_->QueryTimeout);
        recordset_ = query->openRecordset(tableType_, options, lockType_);
    }

    database_->CoreDBEngine()->idle(0);
    ApplySortAndMaster(options);
    if (!recordset_->updatable())
        readOnly_ = true;
    bookmarkable_ = recordset_->bookmarkable();
    recordsAffected_ = db->recordsAffected();

    fieldObjects_.clear();
    for (int i = 0; i < recordset_->fields().count(); ++i)
        fieldObjects_.push_back(recordset_->field(i));
    position_ = -1;
    cachedCount_ = -1;
    countStale_ = true;
}

void TVoDaoTable::InternalOpen()
{
    closedByDatabase_ = false;
    OpenDaoRecordset();
    if (Name().isEmpty())
        SetName(QStringLiteral("VoDaoTable_%1").arg(database_->AttachedDatasetCount() + 1));
    database_->AttachDataset(this);
}

namespace {

bool containsWord(const std::string& text, const char* word)
{
    return QString::fromStdString(text).contains(QLatin1String(word), Qt::CaseInsensitive);
}

} // namespace

void TVoDaoTable::InternalInitFieldDefs()
{
    writable_.clear();
    engineFilled_.clear();
    defaults_.clear();
    const bool jetWorkspace = database_->EngineType() == dao::dbUseJet;
    for (const auto& f : fieldObjects_) {
        const dao::FieldInfo& info = f->info();
        const auto format = info.properties.find("Format");
        const vodao::FieldShape shape = vodao::FieldShapeFor(
            {info.type, info.size, info.attributes,
             format == info.properties.end() ? QString() : QString::fromStdString(format->second)});
        const bool required = UseDaoProperties && !readOnly_ && info.required;
        TFieldDef* def = FieldDefs().Add(QString::fromStdString(info.name), shape.type, shape.size, required);
        const bool writable = !readOnly_ && (!UseDaoProperties || ((info.attributes & 32) && !(info.attributes & 16) &&
                                                                   !(info.attributes & 8192)));
        if (!writable)
            def->SetAttributes(def->Attributes() | TFieldDef::faReadonly);
        writable_.push_back(writable);
        // Random numbers and GUIDs that a Jet engine makes for a new row.
        const bool engineFilled = jetWorkspace && ((info.type == dao::dbLong && containsWord(info.defaultValue, "genuniqueid"))
                                                   || (info.type == dao::dbGUID && containsWord(info.defaultValue, "genguid")));
        engineFilled_.push_back(engineFilled);

        // DAO's default value is the initial text of new records.
        QString initial;
        if (writable && !engineFilled && !info.defaultValue.empty()) {
            initial = QString::fromStdString(f->jetDefaultValue());
            if ((info.type == 10 || info.type == 12) && initial.size() >= 2 && initial.startsWith('"') &&
                initial.endsWith('"'))
                initial = initial.mid(1, initial.size() - 2);
            else if (info.type == 8)
                initial.clear(); // date defaults other than #…# literals are dropped
        }
        defaults_.push_back(initial);
    }
}

void TVoDaoTable::FieldsBound()
{
    for (int i = 0; i < Fields().Count(); ++i) {
        TField* field = Fields()[i];
        if (field->Lookup() && CacheLookups)
            field->SetLookupCache(true);
        if (field->FieldKind() != fkData)
            continue;
        const int index = field->FieldNo() - 1;
        if (index >= 0 && index < int(writable_.size()) && !writable_[index])
            field->SetReadOnly(true);
        if (index >= 0 && index < int(engineFilled_.size()) && engineFilled_[index])
            field->SetAutoGenerateValue(arAutoInc);
        SetUpFieldDisplay(field);
        if (UseCaptions && index >= 0 && index < int(fieldObjects_.size())) {
            const auto& props = fieldObjects_[index]->info().properties;
            if (auto caption = props.find("Caption"); caption != props.end())
                field->SetDisplayLabel(QString::fromStdString(caption->second));
        }
    }
    LookUpEncrypter();
}

void TVoDaoTable::InternalClose()
{
    if (recordset_) {
        try {
            recordset_->close();
        } catch (const dao::DaoError&) {
            // The connection may be closing under it.
        }
        recordset_.reset();
    }
    if (filterBackup_) {
        filterBackup_->close();
        filterBackup_.reset();
    }
    fieldObjects_.clear();
    position_ = -1;
    countStale_ = true;
    if (database_ && !closedByDatabase_)
        database_->DetachDataset(this);
}

bool TVoDaoTable::IsCursorOpen() const { return recordset_ != nullptr; }

void TVoDaoTable::CheckFieldWritable(TField* field)
{
    // Writes to read-only fields are ignored, not refused.
    (void)field;
}
