#include "engine/TableSchema.h"

#include "engine/DaoConstants.h"

#include <strings.h>

namespace dao {

const ColumnSchema* TableSchema::column(const std::string& n) const
{
    for (const auto& c : columns)
        if (strcasecmp(c.name.c_str(), n.c_str()) == 0)
            return &c;
    return nullptr;
}

int fixedSizeOf(int type)
{
    switch (type) {
    case dbBoolean: case dbByte: return 1;
    case dbInteger: return 2;
    case dbLong: case dbSingle: return 4;
    case dbCurrency: case dbDouble: case dbDate: case dbBigInt: return 8;
    case dbGUID: return 16;
    default: return 0;
    }
}

bool isTextType(int type) { return type == dbText || type == dbMemo || type == dbChar; }

} // namespace dao
