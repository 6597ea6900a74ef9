// The master–detail link and the sort order of the DAO dataset: both are
// handed to the engine as a condition or an order and the recordset is
// reopened, so the engine's indexes do the work.
#include "daodata/TVoDaoTable.h"

#include "daodata/TVoDaoDatabase.h"
#include "daodata/VoDaoSqlText.h"
#include "engine/Database.h"
#include "engine/DaoError.h"
#include "engine/Recordset.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"
#include "framework/data/TMasterDataLink.h"

#include <QUuid>

TDataSource* TVoDaoTable::MasterSource() const { return masterLink_->DataSource(); }

void TVoDaoTable::SetMasterSource(TDataSource* source)
{
    if (source && (IsLinkedTo(source) || source->DataSet() == this))
        DatabaseError(QStringLiteral("Circular links not allowed!"));
    masterLink_->SetMasterSource(source);
    if (!source)
        SetMasterFields(QStringList());
    else if (Active())
        ReopenInPlace();
}

void TVoDaoTable::SetMasterFields(const QStringList& lines)
{
    masterFields_ = lines;
    detailList_.clear();
    masterList_.clear();
    if (lines.size() == 1 && lines[0].contains(';')) {
        for (const QString& part : lines[0].split(';', Qt::SkipEmptyParts)) {
            detailList_ << part.trimmed();
            masterList_ << part.trimmed();
        }
    } else {
        const QString arrow = QStringLiteral(" -> ");
        for (const QString& line : lines) {
            const qsizetype at = line.indexOf(arrow);
            if (at < 0)
                continue;
            detailList_ << line.left(at).trimmed();
            masterList_ << line.mid(at + arrow.size()).trimmed();
        }
    }
    masterLink_->SetFieldNames(masterList_.join(';'));
    if (Active())
        ReopenInPlace();
}

void TVoDaoTable::SetSortedBy(const QStringList& lines)
{
    sortedBy_ = lines;
    indexName_.clear();
    if (Active())
        ReopenInPlace();
}

QString TVoDaoTable::SortText() const
{
    QString text;
    for (int i = 0; i < sortedBy_.size(); ++i)
        text += sortedBy_[i] + (i + 1 < sortedBy_.size() ? QStringLiteral(", ") : QStringLiteral(" "));
    return text;
}

QString TVoDaoTable::DetailCondition() const
{
    if (detailList_.size() != masterList_.size())
        DatabaseError(QStringLiteral("The number of Master and Detail fields must be equal!"));
    TDataSet* master = MasterSource() ? MasterSource()->DataSet() : nullptr;
    QStringList terms;
    for (int i = 0; i < detailList_.size(); ++i) {
        const TField* field = master->FieldByName(masterList_[i]);
        QString comparison;
        if (field->IsNull()) {
            comparison = QStringLiteral("IS NULL");
        } else {
            const QString text = field->AsString();
            switch (field->DataType()) {
            case ftString:
            case ftFixedChar:
            case ftWideString:
            case ftBlob:
            case ftMemo:
            case ftFmtMemo:
            case ftGuid: comparison = QStringLiteral(" = ") + vodao::QuotedText(text); break;
            case ftSmallint:
            case ftInteger:
            case ftWord:
            case ftAutoInc:
            case ftLargeint: comparison = QStringLiteral(" = ") + text; break;
            case ftFloat:
            case ftCurrency:
            case ftBCD: comparison = QStringLiteral(" = ") + vodao::NumberLiteral(field->AsFloat()); break;
            case ftBoolean: comparison = field->AsBoolean() ? QStringLiteral(" = True") : QStringLiteral(" = False"); break;
            case ftDate:
            case ftTime:
            case ftDateTime:
                comparison = QStringLiteral(" = ") + vodao::DateLiteral(field->AsFloat(), field->DataType());
                break;
            case ftBytes:
            case ftVarBytes: {
                QVariant bytes;
                field->GetData(bytes);
                const QByteArray raw = bytes.toByteArray();
                comparison = raw.size() == 16 ? QStringLiteral(" = {guid ") +
                                                    QUuid::fromRfc4122(raw).toString(QUuid::WithBraces).toUpper() + '}'
                                              : QStringLiteral(" = ") + vodao::QuotedText(QString::fromLatin1(raw));
                break;
            }
            default: DatabaseError(QStringLiteral("Unable to build Master/Detail SQL Relationship!"));
            }
        }
        terms << '(' + vodao::Bracketed(detailList_[i], UseBrackets) + ' ' + comparison + ')';
    }
    return terms.join(QStringLiteral(" AND "));
}

void TVoDaoTable::TakeMasterParameters()
{
    TDataSet* master = MasterSource() ? MasterSource()->DataSet() : nullptr;
    if (!ParamCheck || sql_.join(QString()).trimmed().isEmpty() || !master || !master->Active() ||
        master->State() == dsInsert)
        return;
    for (int i = 0; i < Params.Count(); ++i) {
        TField* field = master->FindField(Params[i].Name);
        if (!field)
            continue;
        if (Params[i].DataType == ftUnknown)
            Params[i].DataType = field->DataType();
        QVariant value;
        Params[i].Value = field->GetData(value) ? value : QVariant();
    }
}

void TVoDaoTable::ApplySort(int options)
{
    if (sortedBy_.isEmpty() || tableType_ == 1 || sortedAtOpen_)
        return;
    recordset_->setSort(SortText().trimmed().toUtf8().toStdString());
    auto sorted = recordset_->openRecordset(tableType_, options);
    recordset_->close();
    recordset_ = sorted;
}

std::optional<QString> TVoDaoTable::MasterRestriction()
{
    TDataSource* source = MasterSource();
    TDataSet* master = source ? source->DataSet() : nullptr;
    if (!master) {
        linkInactive_ = true;
        return std::nullopt;
    }
    if (!master->Active()) {
        linkInactive_ = true;
        if (!MasterAutoActivate)
            return std::nullopt;
        master->Open(); // the link now stands on the master's first row
    }
    if (!masterLink_->Active() || !source->Enabled() || detailList_.isEmpty())
        return std::nullopt;
    QString condition = DetailCondition();
    if (Filtered() && !Filter().isEmpty())
        condition = '(' + condition + QStringLiteral(") AND (") + Filter() + ')';
    return condition;
}

void TVoDaoTable::ApplySortAndMaster(int options)
{
    ApplyIndex();
    engineRestriction_.clear();
    const std::optional<QString> condition = MasterRestriction();
    if (!condition) {
        ApplySort(options);
        ApplyFilter(options);
        return;
    }
    if (!tableName_.isEmpty()) {
        QString sql = QStringLiteral("Select * From [") + tableName_ + QStringLiteral("] Where ") + *condition;
        if (!sortedBy_.isEmpty())
            sql += QStringLiteral(" Order By ") + SortText();
        recordset_->close();
        recordset_ = database_->CoreDatabase()->openRecordset(sql.toUtf8().toStdString(), tableType_, options,
                                                              lockType_);
    } else {
        // Order and restriction go to the engine as one query over the source.
        filterBackup_ = recordset_;
        if (!sortedBy_.isEmpty() && tableType_ != 1)
            filterBackup_->setSort(SortText().trimmed().toUtf8().toStdString());
        filterBackup_->setFilter(condition->toUtf8().toStdString());
        recordset_ = filterBackup_->openRecordset(tableType_, options);
    }
    linkInactive_ = false;
    engineRestriction_ = *condition;
}

void TVoDaoTable::ReopenInPlace()
{
    if (!Active())
        return;
    CheckBrowseMode();
    OpenDaoRecordset();
    First();
}

void TVoDaoTable::MasterChanged()
{
    if (!Active() || State() == dsOpening || opening_)
        return;
    TDataSet* master = MasterSource() ? MasterSource()->DataSet() : nullptr;
    if (!master || master->State() == dsEdit)
        return;
    ReopenInPlace();
}

void TVoDaoTable::MasterDisabled()
{
    if (Active())
        CheckBrowseMode();
    linkInactive_ = true;
}

void TVoDaoTable::DoOnNewRecord()
{
    TDataSet* master = MasterSource() ? MasterSource()->DataSet() : nullptr;
    if (master && masterLink_->Active() && !detailList_.isEmpty()) {
        for (int i = 0; i < detailList_.size() && i < masterList_.size(); ++i) {
            TField* from = master->FindField(masterList_[i]);
            TField* to = FindField(detailList_[i]);
            if (!from || !to)
                continue;
            QVariant value;
            to->SetData(from->GetData(value) ? value : QVariant());
        }
    }
    TDataSet::DoOnNewRecord();
}
