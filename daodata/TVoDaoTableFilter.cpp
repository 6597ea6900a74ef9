// Filtering of the DAO dataset and the index of a table-type recordset. The
// filter text goes to the engine as the recordset's Filter, so the engine's
// indexes do the work; OnFilterRecord is run per row by the framework.
#include "daodata/TVoDaoTable.h"

#include "daodata/TVoDaoDatabase.h"
#include "engine/Database.h"
#include "engine/Index.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"

#include <exception>

// --- filter settings ---

void TVoDaoTable::SetFilter(const QString& text)
{
    TDataSet::SetFilter(text);
    if (Active() && Filtered())
        ReopenForFilter();
}

void TVoDaoTable::SetFiltered(bool on)
{
    if (Filtered() == on)
        return;
    StoreFiltered(on);
    if (Active())
        ReopenForFilter();
}

void TVoDaoTable::SetOnFilterRecord(const TFilterRecordEvent& handler)
{
    StoreOnFilterRecord(handler);
    if (Active() && Filtered())
        ReopenForFilter();
}

void TVoDaoTable::ReopenForFilter()
{
    try {
        ReopenInPlace();
    } catch (...) {
        // The engine refused the filter (or the row event failed): reopen
        // without the filter text so that the dataset stays usable, then
        // report the first error.
        const std::exception_ptr error = std::current_exception();
        const QString text = Filter();
        TDataSet::SetFilter(QString());
        try {
            ReopenInPlace();
        } catch (...) {
            // The reopen fails without the filter too: the first error says more.
        }
        TDataSet::SetFilter(text);
        std::rethrow_exception(error);
    }
}

void TVoDaoTable::ApplyFilter(int options)
{
    if (!Filtered() || Filter().isEmpty())
        return;
    recordset_->setFilter(Filter().toUtf8().toStdString());
    std::shared_ptr<dao::Recordset> filtered;
    try {
        filtered = recordset_->openRecordset(tableType_, options);
    } catch (...) {
        recordset_->setFilter(std::string());
        throw;
    }
    recordset_->close();
    recordset_ = filtered;
    engineRestriction_ = Filter();
}

void TVoDaoTable::OnOtherCursor(const std::shared_ptr<dao::Recordset>& cursor, const std::function<void()>& body)
{
    std::vector<std::shared_ptr<dao::Field>> fields;
    for (int i = 0; i < cursor->fields().count(); ++i)
        fields.push_back(cursor->field(i));
    std::shared_ptr<dao::Recordset> own = recordset_;
    const int savedPosition = position_;
    const bool savedOnFirst = forwardOnFirst_;
    recordset_ = cursor;
    std::swap(fieldObjects_, fields);
    struct Restore {
        TVoDaoTable* table;
        std::shared_ptr<dao::Recordset>& own;
        std::vector<std::shared_ptr<dao::Field>>& fields;
        int position;
        bool onFirst;
        ~Restore()
        {
            table->recordset_ = own;
            std::swap(table->fieldObjects_, fields);
            table->position_ = position;
            table->forwardOnFirst_ = onFirst;
        }
    } restore{this, own, fields, savedPosition, savedOnFirst};
    body();
}

int TVoDaoTable::WalkAcceptedRows(const TBookmark& until) const
{
    // The walk runs on a copy of the cursor so that the dataset's own row
    // (and an edit pending on it) stays untouched; bookmarks are shared.
    auto* self = const_cast<TVoDaoTable*>(this);
    std::shared_ptr<dao::Recordset> walker = recordset_->clone();
    if (tableType_ == 1 && !recordset_->index().empty())
        walker->setIndex(recordset_->index());
    int result = until.isEmpty() ? 0 : -1;
    self->OnOtherCursor(walker, [&] {
        std::unique_ptr<TRecordBuffer> buffer = self->AllocRecordBuffer();
        auto* row = static_cast<TVoDaoRecordBuffer*>(buffer.get());
        dao::Recordset& rs = *walker;
        if (rs.size() == 0)
            return;
        int accepted = 0;
        self->position_ = -1;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            ++self->position_;
            self->FetchInto(row);
            if (!self->RecordPassesFilter(row))
                continue;
            ++accepted;
            if (!until.isEmpty() && row->Bookmark == until) {
                result = accepted;
                return;
            }
        }
        if (until.isEmpty())
            result = accepted;
    });
    walker->close();
    return result;
}

// --- index of a table-type recordset ---

void TVoDaoTable::SetIndexName(const QString& name)
{
    if (!name.isEmpty() && tableType_ != 1)
        DatabaseError(QStringLiteral("TVoDaoTable.F_Set_IndexName: Indexes can be set only on Standard Tables!"));
    sortedBy_.clear();
    if (!Active() || tableType_ != 1) {
        indexName_ = name;
        return;
    }
    CheckBrowseMode();
    if (name.isEmpty()) {
        // Back to the table's own order.
        indexName_.clear();
        ReopenInPlace();
        return;
    }
    recordset_->setIndex(name.toUtf8().toStdString());
    indexName_ = name;
    countStale_ = true;
    First();
}

void TVoDaoTable::ApplyIndex()
{
    if (tableType_ == 1 && !indexName_.isEmpty())
        recordset_->setIndex(indexName_.toUtf8().toStdString());
}

TVoDaoIndexDefs TVoDaoTable::IndexDefs() const
{
    TVoDaoIndexDefs defs;
    if (!database_ || !database_->Connected() || !database_->CoreDatabase() || tableName_.isEmpty())
        return defs;
    const auto table = database_->CoreDatabase()->tableDefs().find(tableName_.toUtf8().toStdString());
    if (!table)
        return defs;
    for (const auto& index : table->indexes()) {
        TVoDaoIndexDef def;
        def.Name = QString::fromStdString(index->name());
        def.Primary = index->primary();
        def.Unique = index->unique();
        for (const auto& field : index->fields()) {
            def.Fields << QString::fromStdString(field->name());
            def.Descending << ((field->attributes() & 1) != 0);
        }
        defs << def;
    }
    return defs;
}

int TVoDaoTable::IndexFieldCount() const
{
    if (indexName_.isEmpty())
        return 0;
    for (const TVoDaoIndexDef& def : IndexDefs())
        if (def.Name.compare(indexName_, Qt::CaseInsensitive) == 0)
            return int(def.Fields.size());
    return 0;
}

TField* TVoDaoTable::IndexFields(int index) const
{
    if (!Active())
        DatabaseError(QStringLiteral("TVoDaoTable.F_Get_IndexField: Cannot get IndexField while Table is NOT active!"));
    if (indexName_.isEmpty())
        return nullptr;
    for (const TVoDaoIndexDef& def : IndexDefs())
        if (def.Name.compare(indexName_, Qt::CaseInsensitive) == 0)
            return index >= 0 && index < def.Fields.size() ? FieldByName(def.Fields[index]) : nullptr;
    return nullptr;
}
