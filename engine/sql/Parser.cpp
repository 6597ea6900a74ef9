#include "Parser.h"

#include "engine/JetErrors.h"

#include <algorithm>
#include <cctype>

namespace dao::sql {

namespace {

// Words that cannot stand bare for a column or table name.
bool isReserved(std::string_view word)
{
    static constexpr std::string_view words[] = {
        "ALL", "AND", "ANY", "AS", "ASC", "BETWEEN", "BY", "CREATE", "DELETE", "DESC", "DISTINCT", "DISTINCTROW",
        "DROP", "EQV", "EXISTS", "FROM", "GROUP", "HAVING", "IMP", "IN", "INNER", "INSERT", "INTO", "IS", "JOIN",
        "LEFT", "LIKE", "MOD", "NOT", "NULL", "ON", "OR", "ORDER", "OUTER", "PARAMETERS", "PERCENT", "RIGHT",
        "SELECT", "SET", "SOME", "TOP", "UNION", "UPDATE", "VALUES", "WHERE", "XOR"};
    const std::string u = upperWord(word);
    return std::find(std::begin(words), std::end(words), u) != std::end(words);
}

} // namespace

bool isKeyword(std::string_view word)
{
    static constexpr std::string_view more[] = {"WITH", "PRIMARY", "UNIQUE", "CONSTRAINT", "REFERENCES"};
    if (isReserved(word))
        return true;
    const std::string u = upperWord(word);
    return std::find(std::begin(more), std::end(more), u) != std::end(more);
}

namespace {

bool isClauseWord(std::string_view word)
{
    static constexpr std::string_view words[] = {"FROM", "WHERE", "GROUP", "HAVING", "ORDER", "UNION", "INTO",
                                                 "INNER", "LEFT", "RIGHT", "JOIN", "SET", "VALUES"};
    const std::string u = upperWord(word);
    return std::find(std::begin(words), std::end(words), u) != std::end(words);
}

} // namespace

Parser::Parser(std::string text, const TableResolver& resolve)
    : src_(std::move(text)), toks_(tokenize(src_)), resolve_(resolve)
{
}

const Token& Parser::peek(size_t k) const
{
    return toks_[std::min(pos_ + k, toks_.size() - 1)];
}

Token Parser::take()
{
    Token t = peek();
    if (pos_ < toks_.size() - 1)
        ++pos_;
    return t;
}

bool Parser::isWord(std::string_view w, size_t k) const
{
    const Token& t = peek(k);
    if (t.kind != Tok::Word || t.text.size() != w.size())
        return false;
    for (size_t i = 0; i < w.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(t.text[i])) != w[i])
            return false;
    return true;
}

bool Parser::acceptWord(std::string_view w)
{
    if (!isWord(w))
        return false;
    take();
    return true;
}

void Parser::expectWord(std::string_view w)
{
    if (!acceptWord(w))
        fail();
}

bool Parser::isOp(std::string_view op, size_t k) const
{
    const Token& t = peek(k);
    return t.kind == Tok::Op && t.text == op;
}

bool Parser::acceptOp(std::string_view op)
{
    if (!isOp(op))
        return false;
    take();
    return true;
}

void Parser::expectOp(std::string_view op)
{
    if (!acceptOp(op))
        fail();
}

bool Parser::isNameToken(size_t k) const
{
    const Token& t = peek(k);
    return t.kind == Tok::Name || (t.kind == Tok::Word && !isReserved(t.text));
}

std::string Parser::takeName()
{
    const Token& t = peek();
    if (t.kind == Tok::BadName)
        badToken(t);
    if (!isNameToken())
        fail();
    if (t.kind == Tok::Name && t.text.empty())
        fail();
    return take().text;
}

void Parser::expectEnd()
{
    acceptOp(";");
    if (peek().kind != Tok::End)
        fail(3142);
}

void Parser::fail() const
{
    if (peek().kind == Tok::BadName)
        badToken(peek());
    fail(clauseError_);
}

void Parser::fail(long number) const
{
    throw jet::error(number);
}

void Parser::exprFail(const std::string& what) const
{
    if (exprDepth_ == 0)
        fail();
    throw jet::error(3075, {what, exprText()});
}

void Parser::badToken(const Token& t) const
{
    switch (t.kind) {
    case Tok::BadName:
        if (exprDepth_ > 0)
            exprFail("Missing ), ], or Item");
        throw jet::error(3126, {t.text});
    case Tok::BadString:
        exprFail("Syntax error in string");
    case Tok::BadDate:
        exprFail("Syntax error in date");
    case Tok::BadGuid:
        exprFail("Malformed GUID");
    default:
        exprFail("Syntax error (missing operator)");
    }
}

size_t Parser::walk(size_t from, const std::function<bool(size_t, int)>& stop) const
{
    int depth = 0;
    size_t i = from;
    for (; i < toks_.size(); ++i) {
        const Token& t = toks_[i];
        if (t.kind == Tok::End)
            break;
        if (t.kind == Tok::Op && t.text == ")") {
            if (depth == 0)
                break;
            --depth;
        }
        if (stop(i, depth))
            break;
        if (t.kind == Tok::Op && t.text == "(")
            ++depth;
    }
    return i;
}

std::string Parser::exprText() const
{
    const size_t start = std::min(exprStart_, toks_.size() - 1);
    size_t last = start;
    bool any = false;
    walk(start, [&](size_t i, int depth) {
        const Token& t = toks_[i];
        if (depth == 0 && t.kind == Tok::Op && (t.text == ";" || (exprListItem_ && t.text == ",")))
            return true;
        if (depth == 0 && t.kind == Tok::Word && i > start && isClauseWord(t.text)
            && !(i + 1 < toks_.size() && toks_[i + 1].kind == Tok::Op && toks_[i + 1].text == "("))
            return true;
        last = i;
        any = true;
        return false;
    });
    if (!any)
        return std::string();
    std::string text = src_.substr(toks_[start].begin, toks_[last].end - toks_[start].begin);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return text;
}

Parser::Nesting::Nesting(Parser& p) : parser(p)
{
    if (++parser.nesting_ > 200)
        throw jet::queryTooComplex();
}

size_t Parser::findFrom() const
{
    size_t from = 0;
    walk(pos_, [&](size_t i, int depth) {
        const Token& t = toks_[i];
        if (depth != 0)
            return false;
        if (t.kind == Tok::Op)
            return t.text == ";";
        if (t.kind != Tok::Word)
            return false;
        const std::string word = upperWord(t.text);
        if (word == "FROM")
            from = i;
        return word == "FROM" || word == "WHERE" || word == "GROUP" || word == "HAVING" || word == "ORDER"
            || word == "UNION";
    });
    return from;
}

Statement Parser::parse()
{
    Statement st;
    if (isWord("PARAMETERS")) {
        take();
        parseParameters(st);
    }
    if (isWord("SELECT")) {
        clauseError_ = 3141;
        st.kind = StatementKind::Select;
        st.query = parseQuery(&st);
        st.sql = renderQuery(st.query);
        st.columns = resultColumns(st.query);
    } else if (isWord("INSERT")) {
        parseInsert(st);
    } else if (isWord("UPDATE")) {
        parseUpdate(st);
    } else if (isWord("DELETE")) {
        parseDelete(st);
    } else if (isWord("CREATE")) {
        parseCreate(st);
    } else if (isWord("DROP")) {
        parseDrop(st);
    } else if (isWord("TRANSFORM") || isWord("ALTER") || isWord("PROCEDURE")) {
        fail(3251);
    } else {
        if (peek().kind == Tok::BadName)
            badToken(peek());
        fail(3129);
    }
    expectEnd();
    st.parameters = params_;
    return st;
}

Statement Parser::refine(const Statement& base, const std::string& sortText)
{
    const SelectCore* only = base.query.cores.size() == 1 ? &base.query.cores.front() : nullptr;
    const bool spliceable = base.kind == StatementKind::Select && only && !only->distinct && !only->top
        && only->groupBy.empty() && only->having.empty() && only->distinctRowKeys.empty() && !only->aggregate;
    auto attempt = [&](bool splice) {
        pos_ = 0;
        params_ = base.parameters;
        usedResultName_ = false;
        SelectCore core;
        if (splice) {
            core = *only;
        } else {
            SourceTable source;
            source.alias = "qs_source";
            source.derived = true;
            if (!base.columns.empty()) { // else a '*' over unknown columns: any name may be one
                source.table.columns.emplace();
                for (const ResultColumn& r : base.columns)
                    source.table.columns->push_back({r.name, r.type.value_or(JetType::Text)});
            }
            core.items = "*";
            core.from = "(" + base.sql + ") AS " + quoteIdentifier(source.alias);
            for (const ResultColumn& r : base.columns)
                core.columns.push_back({r.name, r.type, source.alias, r.name});
            core.tables.push_back(std::move(source));
        }
        const ScopeGuard scope(*this, Scope{&core.tables, &core.columns, &core});
        if (peek().kind != Tok::End) {
            clauseError_ = 3141; // the filter stands in a SELECT
            const std::string filter = condition();
            if (peek().kind != Tok::End)
                exprFail("Syntax error (missing operator)");
            core.where = core.where.empty() ? filter : core.where + " AND " + filter;
        }
        Parser sort(sortText, resolve_);
        if (sort.peek().kind != Tok::End) {
            sort.params_ = params_;
            sort.scopes_ = scopes_;
            core.order.clear();
            core.orderBare.clear();
            sort.clauseError_ = 3138;
            sort.parseOrderTerms(core);
            if (sort.peek().kind != Tok::End)
                sort.fail(3138);
            params_ = sort.params_; // ORDER BY takes a result's names before its tables
        }
        Statement st;
        st.kind = StatementKind::Select;
        st.query.cores.push_back(std::move(core));
        st.sql = renderQuery(st.query);
        st.columns = resultColumns(st.query);
        st.parameters = params_;
        return st;
    };
    if (spliceable) {
        // A filter naming a result column (an alias) where a table has a column of that
        // name would mean the table's inside WHERE: then the query is wrapped.
        Statement spliced = attempt(true);
        if (!usedResultName_)
            return spliced;
    }
    return attempt(false);
}

} // namespace dao::sql
