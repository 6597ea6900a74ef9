#include "stocktaking/NumberColumn.h"

#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"

namespace capture {

std::vector<qint32> NumberColumn(dao::Database& database, const std::string& sql)
{
    const auto rows = database.openRecordset(sql, dao::dbOpenForwardOnly);
    std::vector<qint32> numbers;
    for (; !rows->eof(); rows->moveNext())
        if (const dao::Variant& number = rows->value(0); !number.isNull())
            numbers.push_back(number.toLong());
    return numbers;
}

} // namespace capture
