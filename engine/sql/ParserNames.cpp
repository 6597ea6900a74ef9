// Names: columns of the tables in reach, columns of the result, parameters;
// tables as the database describes them.
#include "Parser.h"

#include "JetDate.h"
#include "engine/JetErrors.h"

namespace dao::sql {

namespace {

bool isDateType(JetType t) { return t == JetType::Date || t == JetType::Time || t == JetType::TimeStamp; }

bool hasColumn(const std::vector<TableColumn>& columns, const std::string& name)
{
    for (const TableColumn& c : columns)
        if (sameWord(c.name, name))
            return true;
    return false;
}

} // namespace

Fragment Parser::parseColumnOrParameter()
{
    std::vector<std::string> parts;
    parts.push_back(takeName());
    while (isOp(".") || isOp("!")) {
        if (isOp("*", 1))
            exprFail("Syntax error (missing operator)");
        take();
        const Token& n = peek();
        if (n.kind != Tok::Name && n.kind != Tok::Word)
            badToken(n);
        if (n.kind == Tok::Name && n.text.empty())
            exprFail("Syntax error (missing operator)");
        parts.push_back(take().text);
    }
    if (parts.size() > 2)
        exprFail("Syntax error (missing operator)");
    if (parts.size() == 1) {
        for (size_t i = 0; i < params_.size(); ++i)
            if (params_[i].declared && sameWord(params_[i].name, parts[0]))
                return parameter(params_[i].name);
    }
    if (parts.size() == 2)
        qualifiers_.push_back(parts[0]);
    Fragment f = fragment(parts.size() == 1 ? quoteIdentifier(parts[0])
                                            : quoteIdentifier(parts[0]) + "." + quoteIdentifier(parts[1]),
                          Shape::Column);
    f.text = parts.back();
    if (parts.size() == 2)
        f.qualifier = parts[0];
    if (inDefinition_ || resolveColumn(f.qualifier, f.text, f))
        return f;
    // Jet asks for the value of a name no table in reach has.
    return parameter(parts.size() == 1 ? parts[0] : parts[0] + "." + parts[1]);
}

Fragment Parser::parameter(const std::string& name)
{
    size_t i = 0;
    while (i < params_.size() && !sameWord(params_[i].name, name))
        ++i;
    if (i == params_.size())
        params_.push_back(Parameter{name, JetType::Text, false});
    Fragment f = fragment("?" + std::to_string(i + 1), Shape::Other);
    if (params_[i].declared)
        f.jetType = static_cast<int>(params_[i].type);
    return f;
}

// Looks for the column in the scopes from the innermost out (a subquery sees the tables
// of the statements around it). A table whose columns are not known may have any column.
bool Parser::resolveColumn(const std::string& qualifier, const std::string& name, Fragment& f)
{
    for (auto scope = scopes_.rbegin(); scope != scopes_.rend(); ++scope) {
        if (!scope->tables)
            continue;
        const std::vector<SourceTable>& tables = *scope->tables;
        if (!qualifier.empty()) {
            for (const SourceTable& t : tables) {
                if (!sameWord(t.alias, qualifier))
                    continue;
                f.table = t.alias;
                if (!t.table.columns)
                    return true;
                for (const TableColumn& c : *t.table.columns)
                    if (sameWord(c.name, name)) {
                        f.jetType = c.type ? static_cast<int>(*c.type) : kUnknownType;
                        return true;
                    }
                return false; // the table lacks it: Jet asks for "t.name"
            }
            continue;
        }
        // A name of the result that is not the same-named column of its table means the
        // result's column; where a table in reach has a column of that name too, a WHERE
        // of the same SELECT would take the table's instead.
        if (scope->results)
            for (const ResultColumn& r : *scope->results)
                if (sameWord(r.name, name) && !(sameWord(r.column, name) && !r.table.empty())) {
                    if (r.type)
                        f.jetType = static_cast<int>(*r.type);
                    if (scope->core)
                        scope->core->namesResults = true;
                    for (const SourceTable& t : tables)
                        usedResultName_ = usedResultName_ || !t.table.columns || hasColumn(*t.table.columns, name);
                    return true;
                }
        const SourceTable* open = nullptr;
        for (const SourceTable& t : tables) {
            if (!t.table.columns) {
                open = open ? open : &t;
                continue;
            }
            for (const TableColumn& c : *t.table.columns)
                if (sameWord(c.name, name)) {
                    f.jetType = c.type ? static_cast<int>(*c.type) : kUnknownType;
                    f.table = t.alias;
                    return true;
                }
        }
        if (scope->results)
            for (const ResultColumn& r : *scope->results)
                if (sameWord(r.name, name)) {
                    if (r.type)
                        f.jetType = static_cast<int>(*r.type);
                    if (scope->core)
                        scope->core->namesResults = true;
                    return true;
                }
        if (open) {
            if (tables.size() == 1)
                f.table = open->alias;
            return true;
        }
    }
    return false;
}

ResolvedTable Parser::resolveTable(const TableRef& ref)
{
    const std::string key = upperWord(ref.name) + '\x1f' + ref.externalPath + '\x1f' + ref.connect;
    if (auto at = resolved_.find(key); at != resolved_.end())
        return at->second;
    ResolvedTable table = resolve_(ref);
    resolved_.emplace(key, table);
    return table;
}

Fragment Parser::dateFromText(const Fragment& text)
{
    const auto days = parseDateText(text.text);
    if (!days)
        throw jet::typeMismatch();
    Fragment f = fragment(realLiteral(*days), Shape::Number);
    f.number = *days;
    f.jetType = static_cast<int>(JetType::Date);
    return f;
}

// A value stored into a column of the given type takes Jet's conversion of text into a
// date: a text literal is read now, anything else that may be text when it runs by
// jet_todate. Text that reads as no date is left for the column's rule to refuse.
Fragment Parser::toColumnType(JetType type, const Fragment& value)
{
    if (!isDateType(type) || value.shape == Shape::Number || value.shape == Shape::Null
        || value.shape == Shape::Numeric || value.shape == Shape::Bool)
        return value;
    if (value.jetType > 0 && static_cast<JetType>(value.jetType) != JetType::Text
        && static_cast<JetType>(value.jetType) != JetType::Memo)
        return value;
    if (value.shape == Shape::Text) {
        if (parseDateText(value.text))
            return dateFromText(value);
        return value;
    }
    Fragment f = fragment("jet_todate(" + asValue(value) + ")", Shape::Other);
    f.jetType = static_cast<int>(JetType::Date);
    return f;
}

} // namespace dao::sql
