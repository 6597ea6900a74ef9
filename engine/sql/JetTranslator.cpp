#include "JetTranslator.h"

#include "JetCollation.h"
#include "JetFunctions.h"
#include "JetLike.h"
#include "Parser.h"
#include "platform/CodePages.h"

namespace dao::sql {

namespace {

// The engine reads statement text as a C string: it ends at a NUL character.
std::string statementText(std::string_view text)
{
    return platform::utf8OrCp1252ToUtf8(text.substr(0, text.find('\0')));
}

} // namespace

Statement translate(std::string_view jetSql, const TableResolver& resolve)
{
    Parser parser(statementText(jetSql), resolve);
    return parser.parse();
}

Statement refine(const Statement& base, std::string_view filter, std::string_view sort, const TableResolver& resolve)
{
    Parser parser(statementText(filter), resolve);
    return parser.refine(base, statementText(sort));
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
