// PARAMETERS, INSERT, UPDATE and DELETE.
#include "Parser.h"

#include <cctype>

namespace dao::sql {

void Parser::parseParameters(Statement&)
{
    clauseError_ = 3132;
    do {
        Parameter p;
        p.name = takeName();
        p.type = parseType(nullptr);
        p.declared = true;
        params_.push_back(std::move(p));
    } while (acceptOp(","));
    expectOp(";");
}

std::vector<std::string> Parser::parseNameList()
{
    std::vector<std::string> names;
    expectOp("(");
    do {
        std::string name = takeName();
        if (acceptOp("."))
            name = takeName(); // a qualified field: its table is the statement's own
        names.push_back(name);
    } while (acceptOp(","));
    expectOp(")");
    return names;
}

void Parser::parseInsert(Statement& st)
{
    take();
    clauseError_ = 3134;
    st.kind = StatementKind::Insert;
    expectWord("INTO");
    TableRef ref = parseTableName();
    parseExternal(ref);
    st.target = ref;
    const ResolvedTable target = resolveTable(ref);
    std::string sql = "INSERT INTO " + target.sql;
    st.conflictAt = 6;
    std::vector<std::string> columns;
    if (isOp("("))
        columns = parseNameList();
    // The type each value goes into, where the table's columns are known.
    auto typeAt = [&](size_t i) -> std::optional<JetType> {
        if (!target.columns)
            return std::nullopt;
        if (columns.empty())
            return i < target.columns->size() ? (*target.columns)[i].type : std::nullopt;
        for (const TableColumn& c : *target.columns)
            if (i < columns.size() && sameWord(c.name, columns[i]))
                return c.type;
        return std::nullopt;
    };
    if (!columns.empty()) {
        sql += " (";
        for (size_t i = 0; i < columns.size(); ++i)
            sql += (i > 0 ? ", " : "") + quoteIdentifier(columns[i]);
        sql += ")";
    }
    if (acceptWord("VALUES")) {
        expectOp("(");
        std::vector<std::string> values;
        do {
            Fragment v = topExpr(true);
            if (const auto type = typeAt(values.size()))
                v = toColumnType(*type, v);
            values.push_back(asValue(v));
        } while (acceptOp(","));
        clauseError_ = 3134;
        expectOp(")");
        if (!columns.empty() && values.size() != columns.size())
            fail(3346);
        sql += " VALUES (";
        for (size_t i = 0; i < values.size(); ++i)
            sql += (i > 0 ? ", " : "") + values[i];
        sql += ")";
    } else if (isWord("SELECT")) {
        sql += " " + renderQuery(parseQuery(nullptr));
    } else {
        fail();
    }
    st.sql = sql;
}

void Parser::flattenInner(FromNode& n, std::vector<FromNode*>& tables, std::vector<std::string>& conditions, bool& outer)
{
    if (n.kind != FromNode::Kind::Join) {
        tables.push_back(&n);
        return;
    }
    if (n.joinType != "INNER JOIN")
        outer = true;
    flattenInner(*n.left, tables, conditions, outer);
    flattenInner(*n.right, tables, conditions, outer);
    conditions.push_back(n.on);
}

void Parser::parseUpdate(Statement& st)
{
    take();
    clauseError_ = 3144;
    st.kind = StatementKind::Update;
    st.conflictAt = 6;
    std::vector<SourceTable> sources;
    const ScopeGuard scope(*this, Scope{&sources, nullptr});
    auto items = parseFrom();
    clauseError_ = 3144;
    expectWord("SET");
    struct Assignment {
        std::string table, column, value;
        size_t firstQualifier = 0;
    };
    std::vector<Assignment> sets;
    do {
        Assignment a;
        a.column = takeName();
        if (acceptOp(".") || acceptOp("!")) {
            a.table = a.column;
            a.column = takeName();
        }
        expectOp("=");
        a.firstQualifier = qualifiers_.size();
        Fragment v = topExpr(true);
        for (const SourceTable& t : sources)
            if ((a.table.empty() || sameWord(t.alias, a.table)) && t.table.columns)
                for (const TableColumn& c : *t.table.columns)
                    if (sameWord(c.name, a.column)) {
                        if (c.type)
                            v = toColumnType(*c.type, v);
                        break;
                    }
        a.value = asValue(v);
        clauseError_ = 3144;
        sets.push_back(std::move(a));
    } while (acceptOp(","));
    const size_t whereQualifiers = qualifiers_.size();
    std::string where;
    if (acceptWord("WHERE"))
        where = condition();

    std::vector<FromNode*> tables;
    std::vector<std::string> conditions;
    bool outer = false;
    for (auto& item : items)
        flattenInner(*item, tables, conditions, outer);
    FromNode* target = tables.front();
    if (!sets.front().table.empty()) {
        target = nullptr;
        for (FromNode* t : tables)
            if (sameWord(t->alias, sets.front().table))
                target = t;
        if (!target)
            fail();
    }
    if (target->kind != FromNode::Kind::Table)
        fail();
    std::string setSql;
    for (const auto& a : sets) {
        if (!a.table.empty() && !sameWord(a.table, target->alias))
            fail(); // SQLite writes one table per statement
        setSql += (setSql.empty() ? "" : ", ") + quoteIdentifier(a.column) + " = " + a.value;
    }
    std::string sql = "UPDATE " + target->sql + " SET " + setSql;
    if (tables.size() == 1) {
        if (!where.empty())
            sql += " WHERE " + where;
    } else if (!outer) {
        std::string from;
        for (FromNode* t : tables)
            if (t != target)
                from += (from.empty() ? "" : ", ") + t->sql;
        std::string cond;
        for (const auto& c : conditions)
            cond += (cond.empty() ? "" : " AND ") + c;
        if (!where.empty())
            cond += (cond.empty() ? "" : " AND ") + where;
        sql += " FROM " + from;
        if (!cond.empty())
            sql += " WHERE " + cond;
    } else {
        // Outer joins: pick the target's rows through the whole join; the new values
        // may then only use the target's own fields.
        for (size_t i = sets.front().firstQualifier; i < whereQualifiers; ++i)
            if (!sameWord(qualifiers_[i], target->alias))
                fail();
        std::string from;
        for (const auto& item : items)
            from += (from.empty() ? "" : ", ") + renderFrom(*item);
        sql += " WHERE rowid IN (SELECT " + quoteIdentifier(target->alias) + ".rowid FROM " + from
            + (where.empty() ? "" : " WHERE " + where) + ")";
    }
    st.sql = sql;
}

void Parser::parseDelete(Statement& st)
{
    take();
    clauseError_ = 3131;
    st.kind = StatementKind::Delete;
    if (isWord("TOP"))
        fail(3318);
    acceptWord("DISTINCTROW");
    std::string targetAlias;
    if (!isWord("FROM")) {
        // "*", "t.*" or a field list: only the table matters
        do {
            if (acceptOp("*"))
                continue;
            const std::string name = takeName();
            if (acceptOp(".") || acceptOp("!")) {
                if (!acceptOp("*"))
                    takeName();
                if (targetAlias.empty())
                    targetAlias = name;
            }
        } while (acceptOp(","));
    }
    expectWord("FROM");
    std::vector<SourceTable> sources;
    const ScopeGuard scope(*this, Scope{&sources, nullptr});
    auto items = parseFrom();
    clauseError_ = 3131;
    std::string where;
    if (acceptWord("WHERE"))
        where = condition();
    std::vector<FromNode*> tables;
    std::vector<std::string> conditions;
    bool outer = false;
    for (auto& item : items)
        flattenInner(*item, tables, conditions, outer);
    FromNode* target = tables.front();
    if (!targetAlias.empty()) {
        target = nullptr;
        for (FromNode* t : tables)
            if (sameWord(t->alias, targetAlias))
                target = t;
        if (!target)
            fail();
    }
    if (target->kind != FromNode::Kind::Table)
        fail();
    std::string sql = "DELETE FROM " + target->sql;
    if (tables.size() == 1) {
        if (!where.empty())
            sql += " WHERE " + where;
    } else {
        std::string from;
        for (const auto& item : items)
            from += (from.empty() ? "" : ", ") + renderFrom(*item);
        sql += " WHERE rowid IN (SELECT " + quoteIdentifier(target->alias) + ".rowid FROM " + from
            + (where.empty() ? "" : " WHERE " + where) + ")";
    }
    st.sql = sql;
}

} // namespace dao::sql
