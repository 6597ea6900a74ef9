// SELECT statements: select list, FROM with joins and external databases,
// WHERE, GROUP BY, HAVING, ORDER BY, TOP, UNION.
#include "Parser.h"

#include <algorithm>
#include <cctype>

namespace dao::sql {

namespace {

std::string join(const std::vector<std::string>& parts, const char* sep = ", ")
{
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += sep;
        out += parts[i];
    }
    return out;
}

std::string trim(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return std::string(s.substr(b, e - b));
}

// Smallest integer not below x (x >= 0), in SQL.
std::string ceilSql(const std::string& x)
{
    return "(CAST(" + x + " AS INTEGER) + (" + x + " > CAST(" + x + " AS INTEGER)))";
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
        std::string key = item.substr(0, 9);
        for (auto& c : key)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (key == "DATABASE=") {
            if (ref.externalPath.empty())
                ref.externalPath = trim(item.substr(9));
            continue;
        }
        rest += item + ";";
    }
    ref.connect = rest;
}

} // namespace

std::string Parser::parseQuery(Statement* top)
{
    const Nesting nest(*this);
    std::vector<SelectCore> cores;
    std::vector<std::string> ops;
    cores.push_back(parseSelectCore(top));
    while (isWord("UNION")) {
        take();
        const bool all = acceptWord("ALL");
        if (!isWord("SELECT"))
            fail();
        cores.push_back(parseSelectCore(nullptr));
        ops.push_back(all ? " UNION ALL " : " UNION ");
    }
    if (cores.size() == 1)
        return renderCore(cores[0], true);
    std::string sql;
    for (size_t i = 0; i < cores.size(); ++i) {
        const SelectCore& c = cores[i];
        if (i > 0)
            sql += ops[i - 1];
        if (c.top)
            sql += "SELECT * FROM (" + renderCore(c, true) + ")";
        else
            sql += renderCore(c, false);
    }
    const SelectCore& last = cores.back();
    if (!last.top && !last.orderBare.empty())
        sql += " ORDER BY " + join(last.orderBare);
    return sql;
}

SelectCore Parser::parseSelectCore(Statement* top)
{
    expectWord("SELECT");
    clauseError_ = 3141;
    SelectCore c;
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
    c.items = parseSelectItems(c.itemTables);
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
        auto items = parseFrom();
        std::vector<std::string> parts;
        std::vector<const FromNode*> tables;
        for (const auto& n : items) {
            parts.push_back(renderFrom(*n));
            collectTables(*n, tables);
        }
        c.from = join(parts);
        if (c.distinctRow && !c.distinct && tables.size() > 1)
            distinctRecords(c, tables);
        clauseError_ = 3141;
    }
    if (acceptWord("WHERE"))
        c.where = condition();
    if (isWord("GROUP")) {
        take();
        expectWord("BY");
        std::vector<std::string> terms;
        do
            terms.push_back(groupOrOrderTerm(topExpr(true)));
        while (acceptOp(","));
        c.groupBy = join(terms);
    }
    if (acceptWord("HAVING"))
        c.having = condition();
    if (isWord("ORDER"))
        parseOrderBy(c);
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
void Parser::distinctRecords(SelectCore& c, const std::vector<const FromNode*>& tables)
{
    std::vector<std::string> keys;
    for (const std::string& table : c.itemTables) {
        const FromNode* found = nullptr;
        for (const FromNode* t : tables)
            if (t->kind == FromNode::Kind::Table && !table.empty()
                && std::equal(t->alias.begin(), t->alias.end(), table.begin(), table.end(), [](char a, char b) {
                       return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                   }))
                found = t;
        if (!found)
            return;
        const std::string key = quoteIdentifier(found->alias) + ".rowid";
        if (std::find(keys.begin(), keys.end(), key) == keys.end())
            keys.push_back(key);
    }
    if (keys.size() < tables.size())
        c.distinctRowKeys = join(keys);
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
    do {
        if (peek().kind == Tok::End || isOp(";") || isOp(","))
            fail(3138, "Syntax error in ORDER BY clause.");
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

std::string Parser::parseSelectItems(std::vector<std::string>& itemTables)
{
    struct Item {
        std::string sql;
        std::string column;    // output name of an unaliased column
        std::string qualified; // "table.column" as Jet names it when two columns share a name
    };
    std::vector<Item> items;
    do {
        if (acceptOp("*")) {
            items.push_back({"*", "", ""});
            itemTables.emplace_back();
            continue;
        }
        if (isNameToken() && (isOp(".", 1) || isOp("!", 1)) && isOp("*", 2)) {
            const std::string table = takeName();
            take();
            take();
            items.push_back({quoteIdentifier(table) + ".*", "", ""});
            itemTables.push_back(table);
            continue;
        }
        if (peek().kind == Tok::End || isWord("FROM"))
            fail();
        Fragment f = topExpr(true);
        itemTables.push_back(isColumn(f) ? f.qualifier : std::string());
        // Computed text keeps Jet's comparison rules in DISTINCT, in ORDER BY by alias
        // and in outer queries.
        Item item{asValue(f), "", ""};
        if (!isColumn(f) && !isNumber(f))
            item.sql += kCollate;
        if (acceptWord("AS")) {
            const Token& a = peek();
            if (a.kind == Tok::Word || a.kind == Tok::Name || a.kind == Tok::String)
                item.sql += " AS " + quoteIdentifier(take().text);
            else
                fail();
        } else if (!isColumn(f)) {
            item.sql += " AS " + quoteIdentifier("Expr" + std::to_string(exprCounter_++));
        } else {
            item.column = f.text;
            item.qualified = f.qualifier.empty() ? f.text : f.qualifier + "." + f.text;
        }
        items.push_back(std::move(item));
    } while (acceptOp(","));
    std::string out;
    for (const Item& item : items) {
        std::string sql = item.sql;
        if (!item.column.empty()) {
            const auto same = std::count_if(items.begin(), items.end(), [&](const Item& other) {
                return other.column.size() == item.column.size()
                    && std::equal(other.column.begin(), other.column.end(), item.column.begin(), [](char a, char b) {
                           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                       });
            });
            if (same > 1)
                sql += " AS " + quoteIdentifier(item.qualified);
        }
        out += (out.empty() ? "" : ", ") + sql;
    }
    return out;
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
            fail(3360, "Query is too complex.");
        std::string type;
        if (isWord("INNER") && isWord("JOIN", 1)) {
            take();
            type = "INNER JOIN";
        } else if ((isWord("LEFT") || isWord("RIGHT")) && (isWord("JOIN", 1) || (isWord("OUTER", 1) && isWord("JOIN", 2)))) {
            type = isWord("LEFT") ? "LEFT JOIN" : "RIGHT JOIN";
            take();
            acceptWord("OUTER");
        } else if (isWord("JOIN") || isWord("OUTER") || isWord("INNER") || isWord("LEFT") || isWord("RIGHT")) {
            fail(3135, "Syntax error in JOIN operation.");
        } else {
            break;
        }
        take(); // JOIN
        auto right = parseFromPrimary();
        if (!acceptWord("ON"))
            fail(3135, "Syntax error in JOIN operation.");
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
    if (acceptOp("(")) {
        if (isWord("SELECT")) {
            const long saved = clauseError_;
            const std::string sql = parseQuery(nullptr);
            clauseError_ = saved;
            expectOp(")");
            node->kind = FromNode::Kind::Derived;
            node->sql = "(" + sql + ")";
            if (acceptWord("AS") || isNameToken()) {
                node->alias = takeName();
                node->sql += " AS " + quoteIdentifier(node->alias);
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
    node->kind = FromNode::Kind::Table;
    node->alias = alias;
    node->sql = resolve(ref) + " AS " + quoteIdentifier(alias);
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

std::string Parser::renderCore(const SelectCore& c, bool withOrder) const
{
    std::string tail;
    if (!c.from.empty())
        tail += " FROM " + c.from;
    if (!c.where.empty())
        tail += " WHERE " + c.where;
    if (!c.groupBy.empty())
        tail += " GROUP BY " + c.groupBy;
    else if (!c.distinctRowKeys.empty())
        tail += " GROUP BY " + c.distinctRowKeys;
    if (!c.having.empty())
        tail += " HAVING " + c.having;
    std::string s = std::string("SELECT ") + (c.distinct ? "DISTINCT " : "") + c.items + tail;
    if (!c.top) {
        if (withOrder && !c.order.empty())
            s += " ORDER BY " + join(c.order);
        return s;
    }
    const std::string& n = c.topCount;
    std::string limit;
    if (!c.order.empty()) {
        // Jet's TOP keeps the rows tied with the last one: count the rows ranked n or better.
        std::string window = "RANK() OVER (ORDER BY " + join(c.distinct ? c.orderBare : c.order) + ") AS \"jet_rank\"";
        if (c.percent)
            window += ", COUNT(*) OVER () AS \"jet_total\"";
        const std::string ranked = c.distinct ? "SELECT " + window + " FROM (SELECT DISTINCT " + c.items + tail + ")"
                                              : "SELECT " + window + tail;
        const std::string bound = c.percent ? ceilSql("\"jet_total\" * " + n + " / 100.0") : n;
        limit = "(SELECT COUNT(*) FROM (" + ranked + ") WHERE \"jet_rank\" <= " + bound + ")";
        s += " ORDER BY " + join(c.order);
    } else if (c.percent) {
        limit = "(SELECT " + ceilSql("COUNT(*) * " + n + " / 100.0") + " FROM (SELECT "
            + (c.distinct ? "DISTINCT " + c.items : std::string("1")) + tail + "))";
    } else {
        limit = n;
    }
    return s + " LIMIT " + limit;
}

} // namespace dao::sql
