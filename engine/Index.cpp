#include "engine/Index.h"

#include "engine/DaoConstants.h"

namespace dao {

Index::Index(IndexSchema schema) : schema_(std::move(schema))
{
    int ordinal = 0;
    for (const auto& [name, descending] : schema_.fields) {
        FieldInfo f;
        f.name = name;
        f.attributes = descending ? dbDescending : 0;
        fields_.append(std::make_shared<Field>(std::move(f), ordinal++));
    }
}

} // namespace dao
