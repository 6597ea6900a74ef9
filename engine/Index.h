#pragma once
// A DAO Index of a table definition.
#include "engine/Collection.h"
#include "engine/Field.h"
#include "engine/TableSchema.h"

namespace dao {

class Index {
public:
    explicit Index(IndexSchema schema);
    const std::string& name() const { return schema_.name; }
    bool primary() const { return schema_.primary; }
    bool unique() const { return schema_.unique; }
    bool required() const { return schema_.required; }
    bool ignoreNulls() const { return schema_.ignoreNulls; }
    bool foreign() const { return schema_.foreign; }
    // Fields of the index, Attributes 1 (dbDescending) for a descending one.
    const Collection<Field>& fields() const { return fields_; }

private:
    IndexSchema schema_;
    Collection<Field> fields_;
};

} // namespace dao
