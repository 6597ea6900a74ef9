#include "JetTranslator.h"

#include "Cp1252.h"
#include "JetCollation.h"
#include "JetFunctions.h"
#include "JetLike.h"
#include "Parser.h"

namespace dao::sql {

Statement translate(std::string_view jetSql, const TableResolver& resolve)
{
    // The engine reads the text as a C string: it ends at a NUL character.
    jetSql = jetSql.substr(0, jetSql.find('\0'));
    Parser parser(statementToUtf8(jetSql), resolve);
    return parser.parse();
}

void registerJetFunctions(sqlite3* db)
{
    registerJetCollation(db);
    registerJetLike(db);
    registerScalarFunctions(db);
    registerDateFunctions(db);
    registerAggregateFunctions(db);
}

} // namespace dao::sql
