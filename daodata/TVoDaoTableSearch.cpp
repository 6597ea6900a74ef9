// Record search of the DAO dataset: Locate, the find operations and Lookup.
// The criteria go to the engine (FindFirst… on a copy of the cursor, Seek on
// a table-type recordset, a filtered copy for Lookup); only a recordset
// without bookmarks is walked here.
#include "daodata/TVoDaoTable.h"

#include "daodata/TVoDaoDatabase.h"
#include "daodata/VoDaoSearchValues.h"
#include "daodata/VoDaoSqlText.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"

#include <optional>

using namespace vodao;

// --- moving to a row found ---

bool TVoDaoTable::SearchRefused() const
{
    return !Active() || !recordset_ || IsEmpty() || ClientFilterActive() || !database_ || !database_->Connected();
}

bool TVoDaoTable::MoveToFoundRow(const dao::Recordset& found)
{
    CheckBrowseMode();
    if (tableType_ == 2 || tableType_ == 4 || tableType_ == 16) {
        DoBeforeScroll();
        recordset_->setBookmark(found.bookmark());
        position_ = int(recordset_->absolutePosition());
    } else {
        // A table-type recordset knows no position, and a copy ordered by
        // another index numbers its rows differently: walk the dataset's own
        // order to the row with the values found, counting the rows before it.
        auto walker = recordset_->clone();
        if (!recordset_->index().empty())
            walker->setIndex(recordset_->index());
        const int width = found.fields().count();
        auto sameRow = [&] {
            for (int i = 0; i < width; ++i)
                if (!(walker->currentValue(i) == found.currentValue(i)))
                    return false;
            return true;
        };
        int passed = 0;
        if (walker->size() > 0)
            for (walker->moveFirst(); !walker->eof() && !sameRow(); walker->moveNext())
                ++passed;
        const bool reached = !walker->eof();
        const std::string bookmark = reached ? walker->bookmark() : std::string();
        walker->close();
        if (!reached)
            return false;
        DoBeforeScroll();
        recordset_->setBookmark(bookmark);
        position_ = passed;
    }
    Resync(rmExact | rmCenter);
    DoAfterScroll();
    return true;
}

// --- Locate ---

bool TVoDaoTable::Locate(const QString& keyFields, const QVariant& keyValues, TLocateOptions options)
{
    if (SearchRefused())
        return false;
    const QStringList names = SplitNames(keyFields);
    const QVariantList values = SplitValues(keyValues);
    if (names.size() != values.size())
        DatabaseError(QString::fromLatin1(kKeyCountMismatch));
    if (!bookmarkable_)
        return LocateByWalking(names, values, options);

    searching_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{searching_};
    std::shared_ptr<dao::Recordset> clone;
    bool found = false;
    if (tableType_ == 1) {
        clone = recordset_->clone();
        found = SeekOnTable(*clone, names, values, options);
    } else {
        const QString condition = SearchCondition(keyFields, keyValues, options);
        clone = recordset_->clone();
        clone->moveFirst();
        clone->findFirst(EngineCriteria(condition));
        found = !clone->noMatch();
    }
    if (found)
        found = MoveToFoundRow(*clone);
    clone->close();
    return found;
}

bool TVoDaoTable::SeekOnTable(dao::Recordset& clone, const QStringList& names, const QVariantList& values,
                              TLocateOptions options)
{
    // Index order of the keys: order[i] is the key that goes to the index's i-th field.
    struct Choice {
        QString name;
        QList<int> order;
    };
    const TVoDaoIndexDefs defs = IndexDefs();
    auto fitting = [&](const TVoDaoIndexDef& def, bool exact) -> std::optional<Choice> {
        // The keys must be the index's leading fields (all of them when exact),
        // so that the key values given to Seek meet the fields they belong to.
        if (def.Fields.size() < names.size() || (exact && def.Fields.size() != names.size()))
            return std::nullopt;
        Choice choice{def.Name, {}};
        for (int i = 0; i < names.size(); ++i) {
            int at = -1;
            for (int k = 0; k < names.size() && at < 0; ++k)
                if (names[k].compare(def.Fields[i], Qt::CaseInsensitive) == 0)
                    at = k;
            if (at < 0)
                return std::nullopt;
            choice.order << at;
        }
        return choice;
    };
    auto search = [&]() -> std::optional<Choice> {
        for (const bool exact : {true, false})
            for (const TVoDaoIndexDef& def : defs)
                if (auto choice = fitting(def, exact))
                    return choice;
        return std::nullopt;
    };
    std::optional<Choice> choice;
    if (AutoFindIndex || indexName_.isEmpty()) {
        choice = search();
    } else {
        for (const TVoDaoIndexDef& def : defs)
            if (def.Name.compare(indexName_, Qt::CaseInsensitive) == 0)
                choice = fitting(def, false);
        if (!choice) { // the chosen index takes the keys in the order given
            choice = Choice{indexName_, {}};
            for (int i = 0; i < names.size(); ++i)
                choice->order << i;
        }
    }
    if (!choice)
        DatabaseError(QStringLiteral("Index Property is Empty!\r\nYou must set an index before using Locate with "
                                     "StandardTables"));

    const bool partial = options & loPartialKey;
    std::vector<dao::Variant> keys;
    for (int i = 0; i < choice->order.size() && i < 13; ++i) // the engine takes up to 13 key values
        keys.push_back(SeekKey(values[choice->order[i]]));
    clone.setIndex(choice->name.toUtf8().toStdString());
    if (clone.size() > 0)
        clone.moveFirst();
    // The engine takes index fields without a key as Null: "=" then finds only
    // rows that are Null there. A key shorter than the index seeks the edge of
    // the rows that start with it instead: Null comes first in an ascending
    // field, last in a descending one.
    const TVoDaoIndexDef* def = nullptr;
    for (const TVoDaoIndexDef& d : defs)
        if (d.Name.compare(choice->name, Qt::CaseInsensitive) == 0)
            def = &d;
    const bool shortKey = def && int(keys.size()) < def->Fields.size();
    if (!partial && !shortKey) {
        clone.seek("=", keys);
        return !clone.noMatch();
    }
    clone.seek(shortKey && def->Descending.value(int(keys.size())) ? "<=" : ">=", keys);
    if (clone.noMatch())
        return false;
    // A hit only when the row's key fields start with (partial text) or equal the keys.
    for (int i = 0; i < names.size(); ++i) {
        const TField* field = FieldByName(names[i]);
        const dao::Variant& have = clone.currentValue(field->FieldNo() - 1);
        const QVariant& want = values[i];
        if (IsNull(want) || have.isNull()) {
            if (IsNull(want) != have.isNull())
                return false;
            continue;
        }
        if (IsTextType(field->DataType())) {
            const QString text = QString::fromStdString(have.toText());
            if (partial ? !text.startsWith(want.toString(), Qt::CaseInsensitive)
                        : text.compare(want.toString(), Qt::CaseInsensitive) != 0)
                return false;
        } else if (have.isNumeric() || have.type() == dao::VarType::Date) {
            const dao::Variant key = SeekKey(want);
            try {
                if (have.toDouble() != key.toDouble())
                    return false;
            } catch (const std::exception&) {
                return false;
            }
        } else if (QString::fromStdString(have.toText()) != want.toString()) {
            return false;
        }
    }
    return true;
}

bool TVoDaoTable::LocateByWalking(const QStringList& names, const QVariantList& values, TLocateOptions options)
{
    const bool caseless = options & loCaseInsensitive;
    const bool partial = options & loPartialKey;
    QList<int> columns;
    QStringList keys;
    for (int i = 0; i < names.size(); ++i) {
        const TField* field = FieldByName(names[i]);
        columns << field->FieldNo() - 1;
        QString key = IsNull(values[i]) ? QString() : values[i].toString();
        if (caseless)
            key = key.toLower();
        if (partial) {
            if (key.startsWith('*'))
                key.remove(0, 1);
            if (key.endsWith('*'))
                key.chop(1);
        }
        keys << key;
    }
    CheckBrowseMode();
    dao::Recordset& rs = *recordset_;
    const int savedPosition = position_;
    const bool savedOnFirst = forwardOnFirst_;
    // Back to the first row: a forward-only recordset runs its query again.
    auto rewind = [&] {
        if (tableType_ == 8)
            rs.requery();
        else if (rs.size() > 0)
            rs.moveFirst();
    };
    rewind();
    int passed = 0;
    for (; !rs.eof(); rs.moveNext(), ++passed) {
        bool match = true;
        for (int i = 0; match && i < columns.size(); ++i) {
            QString text = columns[i] >= 0 ? ValueText(columns[i]) : QString();
            if (caseless)
                text = text.toLower();
            match = partial ? text.contains(keys[i]) : text == keys[i];
        }
        if (match) {
            DoBeforeScroll();
            position_ = passed;
            forwardOnFirst_ = false;
            Resync(rmExact);
            DoAfterScroll();
            return true;
        }
    }
    // Not found: the cursor goes back to the row it stood on.
    rewind();
    for (int i = 0; i < savedPosition && !rs.eof(); ++i)
        rs.moveNext();
    position_ = savedPosition;
    forwardOnFirst_ = savedOnFirst;
    return false;
}

// --- find first / last / next / prior ---

bool TVoDaoTable::FindFirst(const QString& keyFields, const QVariant& keyValues, TLocateOptions options)
{
    return FindByKeys(FindMode::First, keyFields, keyValues, options);
}

bool TVoDaoTable::FindLast(const QString& keyFields, const QVariant& keyValues, TLocateOptions options)
{
    return FindByKeys(FindMode::Last, keyFields, keyValues, options);
}

bool TVoDaoTable::FindNext(const QString& keyFields, const QVariant& keyValues, TLocateOptions options)
{
    return FindByKeys(FindMode::Next, keyFields, keyValues, options);
}

bool TVoDaoTable::FindPrior(const QString& keyFields, const QVariant& keyValues, TLocateOptions options)
{
    return FindByKeys(FindMode::Prior, keyFields, keyValues, options);
}

bool TVoDaoTable::FindRecord(bool restart, bool goForward)
{
    if (!lastSearch_.kept)
        return false;
    const FindMode mode = restart ? (goForward ? FindMode::First : FindMode::Last)
                                  : (goForward ? FindMode::Next : FindMode::Prior);
    const LastSearch last = lastSearch_;
    return FindByKeys(mode, last.keyFields, last.keyValues, last.options);
}

bool TVoDaoTable::FindByKeys(FindMode mode, const QString& keyFields, const QVariant& keyValues,
                             TLocateOptions options)
{
    lastSearch_ = {true, keyFields, keyValues, options};
    if (SearchRefused())
        return false;
    const QStringList names = SplitNames(keyFields);
    if (names.size() != SplitValues(keyValues).size())
        DatabaseError(QString::fromLatin1(kKeyCountMismatch));
    for (const QString& name : names)
        FieldByName(name);
    if (!bookmarkable_)
        return false;
    const std::string condition = EngineCriteria(SearchCondition(keyFields, keyValues, options));

    searching_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{searching_};
    std::shared_ptr<dao::Recordset> clone = recordset_->clone();
    const TBookmark current = GetBookmark();
    if (!current.isEmpty())
        clone->setBookmark(current.toStdString());
    else
        clone->moveFirst();
    switch (mode) {
    case FindMode::First: clone->findFirst(condition); break;
    case FindMode::Last: clone->findLast(condition); break;
    case FindMode::Next: clone->findNext(condition); break;
    case FindMode::Prior: clone->findPrevious(condition); break;
    }
    bool found = !clone->noMatch();
    if (found)
        found = MoveToFoundRow(*clone);
    clone->close();
    return found;
}

// --- Lookup ---

QVariant TVoDaoTable::Lookup(const QString& keyFields, const QVariant& keyValues, const QString& resultFields)
{
    if (SearchRefused() || searching_)
        return {};
    const QStringList names = SplitNames(keyFields);
    const QVariantList values = SplitValues(keyValues);
    const QStringList results = SplitNames(resultFields);
    if (names.size() != values.size())
        DatabaseError(QString::fromLatin1(kKeyCountMismatch));
    if (names.isEmpty() || results.isEmpty())
        DatabaseError(QStringLiteral("ResultFields are not defined"));
    std::vector<TField*> resultList;
    for (const QString& name : results) {
        TField* field = FindField(name);
        if (!field)
            DatabaseError(QStringLiteral("Invalid field name: ") + name);
        resultList.push_back(field);
    }
    const QString condition = KeyCondition(keyFields, keyValues);

    searching_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{searching_};
    std::shared_ptr<dao::Recordset> copy;
    if (tableType_ == 1) {
        // A table-type recordset takes no Filter: ask the table itself.
        copy = database_->CoreDatabase()->openRecordset(
            (QStringLiteral("SELECT * FROM [") + tableName_ + QStringLiteral("] WHERE ") + condition)
                .toUtf8()
                .toStdString(),
            4, 0, 0);
    } else {
        const std::string savedFilter = recordset_->filter();
        recordset_->setFilter(condition.toUtf8().toStdString());
        database_->CoreDBEngine()->idle(0);
        try {
            copy = recordset_->openRecordset(4, 0);
        } catch (...) {
            recordset_->setFilter(savedFilter);
            throw;
        }
        recordset_->setFilter(savedFilter);
    }
    QVariant result;
    if (!(copy->bof() && copy->eof())) {
        // The row is read like a row of the dataset (into a scratch buffer) so
        // that calculated and lookup result fields can be computed on it.
        std::unique_ptr<TRecordBuffer> buffer = AllocRecordBuffer();
        auto* row = static_cast<TVoDaoRecordBuffer*>(buffer.get());
        OnOtherCursor(copy, [&] {
            position_ = 0;
            FetchInto(row);
        });
        GetCalcFields(row);
        QVariantList list;
        for (const TField* field : resultList) {
            QVariant value;
            if (field->FieldKind() != fkData) {
                const int slot = field->CalcIndex();
                if (slot >= 0 && slot < int(row->CalcValues.size()))
                    value = row->CalcValues[size_t(slot)];
            } else if (IsBlobFieldType(field->DataType())) {
                const dao::Variant& v = copy->currentValue(field->FieldNo() - 1);
                if (!v.isNull())
                    value = (field->DataType() == ftMemo || field->DataType() == ftFmtMemo)
                                ? QVariant(QString::fromStdString(v.toText()))
                                : QVariant(QByteArray::fromStdString(v.bytes()));
            } else {
                GetFieldData(field, row, value);
            }
            list << value;
        }
        result = list.size() == 1 ? list.front() : QVariant(list);
    }
    copy->close();
    return result;
}
