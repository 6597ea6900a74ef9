#pragma once
// A DAO TableDef: a table's name, attributes, dates, fields and indexes as
// Jet describes them.
#include "engine/Collection.h"
#include "engine/Field.h"
#include "engine/Index.h"
#include "engine/TableSchema.h"

#include <memory>

namespace dao {

class Storage;

class TableDef {
public:
    TableDef(std::shared_ptr<Storage> storage, TableSchema schema);
    const std::string& name() const { return schema_.name; }
    long attributes() const { return schema_.attributes; }
    Variant dateCreated() const { return Variant::date(schema_.dateCreated); }
    Variant lastUpdated() const { return Variant::date(schema_.lastUpdated); }
    std::string connect() const { return {}; }
    std::string sourceTableName() const { return {}; }
    bool updatable() const;
    long recordCount() const;
    const Collection<Field>& fields() const { return fields_; }
    const Collection<Index>& indexes() const { return indexes_; }
    const TableSchema& schema() const { return schema_; }

private:
    std::shared_ptr<Storage> storage_;
    TableSchema schema_;
    Collection<Field> fields_;
    Collection<Index> indexes_;
};

} // namespace dao
