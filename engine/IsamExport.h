#pragma once
// SELECT … INTO <table> IN '<folder>' [<format>;]: the rows of the SELECT
// written by the installable format the connect part names.
#include "engine/Storage.h"

namespace dao {

long exportToIsam(Storage& storage, const sql::Statement& st, const ParameterValues& values);

} // namespace dao
