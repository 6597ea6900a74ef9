// SELECT statements: select list, FROM with joins and external databases,
// WHERE, GROUP BY, HAVING, ORDER BY, TOP, UNION.
#include "Parser.h"

#include "engine/DaoError.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace dao::sql {

namespace {

std::string trim(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return std::string(s.substr(b, e - b));
}

// "dBASE IV; DATABASE=C:\x;" gives the path C:\x and the connect part "dBASE IV;".
void applyConnect(TableRef& ref, std::string_view connect)
{
    std::string rest;
    size_t start = 0;
    while (start <= connect.size()) {
        size_t semi = connect.find(';', start);
        if (semi == std::string_view::npos)
            semi = connect.size();
        const std::string item = trim(connect.substr(start, semi - start));
        start = semi + 1;
        if (item.empty())
            continue;
        if (upperWord(item.substr(0, 9)) == "DATABASE=") {
            if (ref.externalPath.empty())
                ref.externalPath = trim(item.substr(9));
            continue;
        }
        rest += item + ";";
    }
    ref.connect = rest;
}

// The columns a '*' stands for: all of every table, or of the one named; nullopt when
// one of them is not known.
std::optional<std::vector<ResultColumn>> starColumns(const std::vector<SourceTable>& tables,
                                                     const std::string& only = {})
{
    std::vector<ResultColumn> out;
    bool found = only.empty();
    for (const SourceTable& t : tables) {
        if (!only.empty() && !sameWord(t.alias, only))
            continue;
        found = true;
        if (!t.table.columns)
            return std::nullopt;
        for (const TableColumn& c : *t.table.columns)
            out.push_back({c.name, c.type, t.alias, c.name});
    }
    if (!found)
        return std::nullopt;
    return out;
}

} // namespace

std::vector<ResultColumn> resultColumns(const Query& q)
{
    if (q.cores.empty())
        return {};
    std::vector<ResultColumn> out = q.cores.front().columns;
    if (q.cores.size() == 1)
        return out;
    for (size_t i = 1; i < q.cores.size(); ++i)
        if (q.cores[i].columns.size() != out.size())
            return {};
    for (size_t k = 0; k < out.size(); ++k) {
        out[k].table.clear(); // a column of a UNION is no one table's
        out[k].column.clear();
        for (size_t i = 1; i < q.cores.size(); ++i)
            if (q.cores[i].columns[k].type != out[k].type)
                out[k].type.reset();
    }
    return out;
}

Query Parser::parseQuery(Statement* top)
{
    const Nesting nest(*this);
    Query q;
    q.cores.push_back(parseSelectCore(top));
    // Later SELECTs and the ORDER BY of the whole see the first one's tables and names.
    std::vector<SourceTable> firstTables = q.cores.front().tables;
    const std::vector<ResultColumn> firstColumns = q.cores.front().columns;
    std::optional<ScopeGuard> compound;
    while (isWord("UNION")) {
        take();
        const bool all = acceptWord("ALL");
        if (!isWord("SELECT"))
            fail();
        if (!compound)
            compound.emplace(*this, Scope{&firstTables, &firstColumns});
        q.cores.push_back(parseSelectCore(nullptr));
        q.unionAll.push_back(all);
    }
    return q;
}

SelectCore Parser::parseSelectCore(Statement* top)
{
    expectWord("SELECT");
    clauseError_ = 3141;
    SelectCore c;
    // Each SELECT names its computed columns Expr1000, Expr1001, ...
    const int outerCounter = exprCounter_;
    const bool outerAggregate = aggregateSeen_;
    exprCounter_ = 1000;
    aggregateSeen_ = false;
    while (true) {
        if (acceptWord("DISTINCT")) {
            c.distinct = true;
        } else if (acceptWord("DISTINCTROW")) {
            c.distinctRow = true;
        } else if (acceptWord("ALL")) {
        } else if (acceptWord("TOP")) {
            if (peek().kind != Tok::Number)
                fail();
            c.top = true;
            c.topCount = take().text;
            if (c.topCount.size() > 18 && c.topCount.find_first_of(".eE") == std::string::npos)
                c.topCount = "9223372036854775807"; // more rows than any table holds
            c.percent = acceptWord("PERCENT");
            if (!c.percent && c.topCount.find_first_of(".eE") != std::string::npos)
                fail();
        } else {
            break;
        }
    }
    Scope scope{&c.tables, nullptr, &c};
    const ScopeGuard guard(*this, scope);
    // The FROM clause is read first, so that the select list knows its tables. An error
    // in it waits until the select list has been read, where Jet would meet it.
    std::vector<std::unique_ptr<FromNode>> from;
    std::optional<DaoError> fromError;
    const size_t fromAt = findFrom();
    size_t afterFrom = 0;
    if (fromAt) {
        const size_t itemsAt = pos_;
        const int depth = exprDepth_;
        const size_t start = exprStart_;
        const bool listItem = exprListItem_;
        pos_ = fromAt + 1;
        clauseError_ = 3131;
        try {
            from = parseFrom();
        } catch (const DaoError& e) {
            fromError = e;
        }
        afterFrom = pos_;
        pos_ = itemsAt;
        exprDepth_ = depth;
        exprStart_ = start;
        exprListItem_ = listItem;
        clauseError_ = 3141;
    }
    std::vector<std::string> itemTables;
    parseSelectItems(c, itemTables);
    if (isWord("INTO")) {
        if (!top)
            fail();
        take();
        top->kind = StatementKind::SelectInto;
        top->target = parseTableName();
        parseExternal(top->target);
    }
    if (acceptWord("FROM")) {
        clauseError_ = 3131;
        if (fromAt && pos_ == fromAt + 1) {
            if (fromError)
                throw *fromError;
            pos_ = afterFrom;
        } else {
            from = parseFrom();
        }
        std::vector<std::string> parts;
        std::vector<const FromNode*> tables;
        for (const auto& n : from) {
            parts.push_back(renderFrom(*n));
            collectTables(*n, tables);
        }
        c.from = joinList(parts);
        if (c.distinctRow && !c.distinct && tables.size() > 1)
            distinctRecords(c, itemTables, tables);
        clauseError_ = 3141;
    }
    scopes_.back().results = &c.columns; // the clauses below know the result's names
    if (acceptWord("WHERE"))
        c.where = condition();
    if (isWord("GROUP")) {
        take();
        expectWord("BY");
        std::vector<std::string> terms;
        do
            terms.push_back(groupOrOrderTerm(topExpr(true)));
        while (acceptOp(","));
        c.groupBy = joinList(terms);
    }
    if (acceptWord("HAVING"))
        c.having = condition();
    if (isWord("ORDER"))
        parseOrderBy(c);
    c.aggregate = aggregateSeen_;
    exprCounter_ = outerCounter;
    aggregateSeen_ = outerAggregate;
    return c;
}

void Parser::collectTables(const FromNode& n, std::vector<const FromNode*>& tables)
{
    if (n.kind == FromNode::Kind::Join) {
        collectTables(*n.left, tables);
        collectTables(*n.right, tables);
    } else {
        tables.push_back(&n);
    }
}

// DISTINCTROW over a join: one row per combination of the source records whose
// fields are shown, done by grouping on their row ids. Left as it is when a shown
// value is not plainly one table's field (Jet then keeps every row as well).
void Parser::distinctRecords(SelectCore& c, const std::vector<std::string>& itemTables,
                             const std::vector<const FromNode*>& tables)
{
    std::vector<std::string> keys;
    for (const std::string& table : itemTables) {
        const FromNode* found = nullptr;
        for (const FromNode* t : tables)
            if (t->kind == FromNode::Kind::Table && !table.empty() && sameWord(t->alias, table))
                found = t;
        if (!found)
            return;
        const std::string key = quoteIdentifier(found->alias) + ".rowid";
        if (std::find(keys.begin(), keys.end(), key) == keys.end())
            keys.push_back(key);
    }
    if (keys.size() < tables.size())
        c.distinctRowKeys = joinList(keys);
}

std::string Parser::groupOrOrderTerm(const Fragment& f) const
{
    if (f.shape == Shape::Number) // Jet sorts by the constant; SQLite would read a column number
        return "(" + f.sql + "+0)";
    if (isColumn(f) || isNumber(f))
        return asValue(f);
    return asValue(f) + kCollate;
}

void Parser::parseOrderBy(SelectCore& c)
{
    take();
    expectWord("BY");
    parseOrderTerms(c);
}

void Parser::parseOrderTerms(SelectCore& c)
{
    do {
        if (peek().kind == Tok::End || isOp(";") || isOp(","))
            fail(3138);
        Fragment f = topExpr(true);
        std::string term = groupOrOrderTerm(f);
        std::string bare = isColumn(f) ? quoteIdentifier(f.text) : term;
        if (acceptWord("DESC")) {
            term += " DESC";
            bare += " DESC";
        } else {
            acceptWord("ASC");
        }
        c.order.push_back(term);
        c.orderBare.push_back(bare);
    } while (acceptOp(","));
}

void Parser::parseSelectItems(SelectCore& c, std::vector<std::string>& itemTables)
{
    struct Item {
        std::string sql;
        std::string column;    // output name of an unaliased column
        std::string qualified; // "table.column" as Jet names it when two columns share a name
        size_t result = 0;     // its first column in c.columns
    };
    std::vector<Item> items;
    bool known = true; // every '*' stands for columns that are known
    auto addStar = [&](const std::string& table) {
        if (auto columns = starColumns(c.tables, table))
            c.columns.insert(c.columns.end(), columns->begin(), columns->end());
        else
            known = false;
    };
    do {
        if (acceptOp("*")) {
            items.push_back({"*", "", "", c.columns.size()});
            itemTables.emplace_back();
            addStar({});
            continue;
        }
        if (isNameToken() && (isOp(".", 1) || isOp("!", 1)) && isOp("*", 2)) {
            const std::string table = takeName();
            take();
            take();
            items.push_back({quoteIdentifier(table) + ".*", "", "", c.columns.size()});
            itemTables.push_back(table);
            addStar(table);
            continue;
        }
        if (peek().kind == Tok::End || isWord("FROM"))
            fail();
        Fragment f = topExpr(true);
        itemTables.push_back(isColumn(f) ? f.qualifier : std::string());
        // Computed text keeps Jet's comparison rules in DISTINCT, in ORDER BY by alias
        // and in outer queries.
        Item item{asValue(f), "", "", c.columns.size()};
        ResultColumn result{"", typeOf(f), "", ""};
        const bool plain = isColumn(f) && !f.table.empty()
            && std::any_of(c.tables.begin(), c.tables.end(),
                           [&](const SourceTable& t) { return sameWord(t.alias, f.table); });
        if (plain) {
            result.table = f.table;
            result.column = f.text;
        } else {
            c.plainColumns = false;
        }
        if (!isColumn(f) && !isNumber(f))
            item.sql += kCollate;
        if (acceptWord("AS")) {
            const Token& a = peek();
            if (a.kind == Tok::Word || a.kind == Tok::Name || a.kind == Tok::String)
                result.name = take().text;
            else
                fail();
            item.sql += " AS " + quoteIdentifier(result.name);
        } else if (!isColumn(f)) {
            result.name = "Expr" + std::to_string(exprCounter_++);
            item.sql += " AS " + quoteIdentifier(result.name);
        } else {
            item.column = f.text;
            item.qualified = f.qualifier.empty() ? f.text : f.qualifier + "." + f.text;
            result.name = f.text;
        }
        items.push_back(std::move(item));
        c.columns.push_back(std::move(result));
    } while (acceptOp(","));
    std::string out;
    for (const Item& item : items) {
        std::string sql = item.sql;
        if (!item.column.empty()) {
            const auto same = std::count_if(items.begin(), items.end(), [&](const Item& other) {
                return sameWord(other.column, item.column);
            });
            if (same > 1) {
                sql += " AS " + quoteIdentifier(item.qualified);
                if (known)
                    c.columns[item.result].name = item.qualified;
            }
        }
        out += (out.empty() ? "" : ", ") + sql;
    }
    c.items = out;
    if (!known)
        c.columns.clear();
}

std::vector<std::unique_ptr<FromNode>> Parser::parseFrom()
{
    std::vector<std::unique_ptr<FromNode>> items;
    do
        items.push_back(parseJoin());
    while (acceptOp(","));
    return items;
}

std::unique_ptr<FromNode> Parser::parseJoin()
{
    auto left = parseFromPrimary();
    for (int joins = 0;; ++joins) {
        if (joins > 200)
            fail(3360);
        std::string type;
        if (isWord("INNER") && isWord("JOIN", 1)) {
            take();
            type = "INNER JOIN";
        } else if ((isWord("LEFT") || isWord("RIGHT")) && (isWord("JOIN", 1) || (isWord("OUTER", 1) && isWord("JOIN", 2)))) {
            type = isWord("LEFT") ? "LEFT JOIN" : "RIGHT JOIN";
            take();
            acceptWord("OUTER");
        } else if (isWord("JOIN") || isWord("OUTER") || isWord("INNER") || isWord("LEFT") || isWord("RIGHT")) {
            fail(3135);
        } else {
            break;
        }
        take(); // JOIN
        auto right = parseFromPrimary();
        if (!acceptWord("ON"))
            fail(3135);
        const long saved = clauseError_;
        std::string on = condition();
        clauseError_ = saved;
        auto node = std::make_unique<FromNode>();
        node->kind = FromNode::Kind::Join;
        node->joinType = type;
        node->left = std::move(left);
        node->right = std::move(right);
        node->on = std::move(on);
        left = std::move(node);
    }
    return left;
}

std::unique_ptr<FromNode> Parser::parseFromPrimary()
{
    const Nesting nest(*this);
    auto node = std::make_unique<FromNode>();
    std::vector<SourceTable>* tables = scopes_.empty() ? nullptr : scopes_.back().tables;
    if (acceptOp("(")) {
        if (isWord("SELECT")) {
            const long saved = clauseError_;
            const Query sub = parseQuery(nullptr);
            clauseError_ = saved;
            expectOp(")");
            node->kind = FromNode::Kind::Derived;
            node->sql = "(" + renderQuery(sub) + ")";
            if (acceptWord("AS") || isNameToken()) {
                node->alias = takeName();
                node->sql += " AS " + quoteIdentifier(node->alias);
            }
            if (tables) {
                SourceTable t;
                t.alias = node->alias;
                t.derived = true;
                const std::vector<ResultColumn> columns = resultColumns(sub);
                if (!columns.empty()) { // else its columns are not known
                    t.table.columns.emplace();
                    for (const ResultColumn& r : columns)
                        t.table.columns->push_back({r.name, r.type.value_or(JetType::Text)});
                }
                tables->push_back(std::move(t));
            }
            return node;
        }
        auto inner = parseJoin();
        expectOp(")");
        inner->parenthesised = inner->kind == FromNode::Kind::Join;
        return inner;
    }
    TableRef ref = parseTableName();
    parseExternal(ref);
    std::string alias = ref.name;
    if (acceptWord("AS"))
        alias = takeName();
    else if (isNameToken() && !(peek().kind == Tok::Name && peek().text.find(';') != std::string::npos))
        alias = takeName();
    const ResolvedTable resolved = resolveTable(ref);
    node->kind = FromNode::Kind::Table;
    node->alias = alias;
    node->sql = resolved.sql + " AS " + quoteIdentifier(alias);
    if (tables)
        tables->push_back(SourceTable{alias, resolved, false});
    return node;
}

TableRef Parser::parseTableName()
{
    TableRef ref;
    const std::string first = takeName();
    if ((isOp(".") || isOp("!")) && (peek(1).kind == Tok::Name || peek(1).kind == Tok::Word)) {
        take();
        ref.name = take().text;
        if (ref.name.empty())
            fail();
        if (first.find(';') != std::string::npos)
            applyConnect(ref, first);
        else
            ref.externalPath = first;
    } else {
        ref.name = first;
    }
    return ref;
}

void Parser::parseExternal(TableRef& ref)
{
    if (!(isWord("IN") && peek(1).kind == Tok::String))
        return;
    take();
    ref.externalPath = take().text;
    const Token& c = peek();
    if (c.kind == Tok::String || (c.kind == Tok::Name && c.text.find(';') != std::string::npos))
        applyConnect(ref, take().text);
    if (ref.externalPath.empty() && ref.connect.empty())
        fail();
}

std::string Parser::renderFrom(const FromNode& n)
{
    if (n.kind != FromNode::Kind::Join)
        return n.sql;
    std::string s = renderFrom(*n.left) + " " + n.joinType + " " + renderFrom(*n.right) + " ON " + n.on;
    return n.parenthesised ? "(" + s + ")" : s;
}

} // namespace dao::sql
