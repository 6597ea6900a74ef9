#pragma once
// A benchmark's dataset connection to a database, made as the program makes its own.
#include "daodata/TVoDaoDatabase.h"

#include <QString>

namespace bench {

inline void connectDatabase(TVoDaoDatabase& database, const QString& file)
{
    database.SetVersion("3.6");
    database.SetDatabase(file);
    database.SetConnected(true);
}

} // namespace bench
