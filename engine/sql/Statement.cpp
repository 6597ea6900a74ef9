#include "Statement.h"

#include "Lexer.h"
#include "Quote.h"

namespace dao::sql {

namespace {

// Smallest integer not below x (x >= 0), in SQL.
std::string ceilSql(const std::string& x)
{
    return "(CAST(" + x + " AS INTEGER) + (" + x + " > CAST(" + x + " AS INTEGER)))";
}

// One core; without withOrder its ORDER BY is left out (cores of a compound).
// fallbackOrder orders the rows when the core gives no order, without taking part in TOP.
std::string renderCore(const SelectCore& c, bool withOrder, const std::string& fallbackOrder = {})
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
    const std::string order = !c.order.empty() ? joinList(c.order) : fallbackOrder;
    if (!c.top) {
        if (withOrder && !order.empty())
            s += " ORDER BY " + order;
        return s;
    }
    const std::string& n = c.topCount;
    std::string limit;
    if (!c.order.empty()) {
        // Jet's TOP keeps the rows tied with the last one: count the rows ranked n or better.
        const std::string rankOrder = joinList(c.distinct ? c.orderBare : c.order);
        std::string window = "RANK() OVER (ORDER BY " + rankOrder + ") AS \"jet_rank\"";
        if (c.percent)
            window += ", COUNT(*) OVER () AS \"jet_total\"";
        const std::string ranked = c.distinct ? "SELECT " + window + " FROM (SELECT DISTINCT " + c.items + tail + ")"
                                              : "SELECT " + window + tail;
        const std::string bound = c.percent ? ceilSql("\"jet_total\" * " + n + " / 100.0") : n;
        limit = "(SELECT COUNT(*) FROM (" + ranked + ") WHERE \"jet_rank\" <= " + bound + ")";
    } else if (c.percent) {
        limit = "(SELECT " + ceilSql("COUNT(*) * " + n + " / 100.0") + " FROM (SELECT "
            + (c.distinct ? "DISTINCT " + c.items : std::string("1")) + tail + "))";
    } else {
        limit = n;
    }
    if (!order.empty())
        s += " ORDER BY " + order;
    return s + " LIMIT " + limit;
}

} // namespace

std::string renderQuery(const Query& q)
{
    if (q.cores.size() == 1)
        return renderCore(q.cores[0], true);
    std::string sql;
    for (size_t i = 0; i < q.cores.size(); ++i) {
        const SelectCore& c = q.cores[i];
        if (i > 0)
            sql += q.unionAll[i - 1] ? " UNION ALL " : " UNION ";
        if (c.top)
            sql += "SELECT * FROM (" + renderCore(c, true) + ")";
        else
            sql += renderCore(c, false);
    }
    const SelectCore& last = q.cores.back();
    if (!last.top && !last.orderBare.empty())
        sql += " ORDER BY " + joinList(last.orderBare);
    return sql;
}

std::optional<EditableSource> Statement::editable() const
{
    if (kind != StatementKind::Select || query.cores.size() != 1)
        return std::nullopt;
    const SelectCore& c = query.cores.front();
    if (c.distinct || !c.groupBy.empty() || !c.having.empty() || !c.distinctRowKeys.empty() || c.aggregate
        || !c.plainColumns || c.tables.size() != 1 || c.tables.front().derived)
        return std::nullopt;
    const SourceTable& t = c.tables.front();
    return EditableSource{t.alias, t.table.schema, t.table.name};
}

std::string keysetSql(const Statement& st, bool ordered)
{
    const auto source = st.editable();
    if (!source)
        return {};
    SelectCore core = st.query.cores.front();
    const std::string rowid = quoteIdentifier(source->alias) + ".rowid";
    // The select list stays beside the rowid where the clauses name its columns.
    core.items = core.namesResults ? rowid + ", " + core.items : rowid;
    // Without an order the rows come in the table's order, as the full result would
    // (a bare rowid scan could otherwise walk a covering index instead).
    return renderCore(core, true, ordered ? rowid : std::string());
}

std::string lenientSql(const Statement& st)
{
    if (st.kind != StatementKind::Insert && st.kind != StatementKind::Update)
        return st.sql;
    return st.sql.substr(0, st.conflictAt) + " OR IGNORE" + st.sql.substr(st.conflictAt);
}

} // namespace dao::sql
