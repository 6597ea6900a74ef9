#pragma once
// The field type a DAO field becomes in the DAO dataset.
#include "framework/data/DbTypes.h"

#include <QString>

namespace vodao {

struct DaoFieldShape {
    int daoType = 10;
    int daoSize = 0;
    int attributes = 0;
    QString format; // the field's "Format" property, empty when it has none
};

struct FieldShape {
    TFieldType type = ftUnknown;
    int size = 0;
};

// The field definition of a DAO field: Long with the auto-increment
// attribute becomes AutoInc, a Text of size 0 gets 255, Date fields follow
// their "Format" property.
FieldShape FieldShapeFor(const DaoFieldShape& dao);

} // namespace vodao
