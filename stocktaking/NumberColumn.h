#pragma once
// Book numbers read in bulk: the first column of a query as 32-bit integers.
#include <QtGlobal>
#include <string>
#include <vector>

namespace dao {
class Database;
}

namespace capture {

// The values of the first column of sql, in the order the query gives them; nulls are left out.
std::vector<qint32> NumberColumn(dao::Database& database, const std::string& sql);

} // namespace capture
