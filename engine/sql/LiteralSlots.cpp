#include "LiteralSlots.h"

#include "Lexer.h"

#include <cctype>
#include <functional>

namespace dao::sql {

namespace {

constexpr size_t kMaxSlots = 16;
// Marker of slot i: kMarkerStem followed by two digits, a whole number that is a Long as any slot value is.
constexpr std::string_view kMarkerStem = "19876543";

std::string marker(size_t slot)
{
    return std::string(kMarkerStem) + static_cast<char>('0' + slot / 10) + static_cast<char>('0' + slot % 10);
}

std::string slotParameter(size_t slot) { return "?" + std::to_string(kLiteralSlotBase + 1 + slot); }

bool isComparison(const Token& t)
{
    return t.kind == Tok::Op
        && (t.text == "=" || t.text == "<>" || t.text == "<" || t.text == ">" || t.text == "<=" || t.text == ">=");
}

// Where the comparison's right side ends with the number: the clause or condition goes on or closes.
bool endsOperand(const Token& t)
{
    if (t.kind == Tok::End)
        return true;
    if (t.kind == Tok::Op)
        return t.text == ")" || t.text == ";";
    if (t.kind != Tok::Word)
        return false;
    for (const char* w : {"AND", "OR", "ORDER", "GROUP", "HAVING", "UNION"})
        if (sameWord(t.text, w))
            return true;
    return false;
}

// A whole number a Long holds, written plainly (no sign, no leading zero).
std::optional<std::int64_t> plainLong(const std::string& text)
{
    if (text.empty() || text.size() > 10 || (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    for (const char c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    const std::int64_t v = std::stoll(text);
    if (v > 2147483647)
        return std::nullopt;
    return v;
}

bool numberChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

// Replaces every standalone occurrence of from in text by to; returns how many there were.
size_t replaceToken(std::string& text, const std::string& from, const std::string& to)
{
    size_t count = 0;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        const bool before = at > 0 && (numberChar(text[at - 1]) || text[at - 1] == '?');
        const bool after = at + from.size() < text.size() && numberChar(text[at + from.size()]);
        if (before || after) {
            at += from.size();
            continue;
        }
        text.replace(at, from.size(), to);
        at += to.size();
        ++count;
    }
    return count;
}

// Every text of a statement, in a fixed order.
void forEachText(Statement& st, const std::function<void(std::string&)>& f)
{
    f(st.sql);
    for (Parameter& p : st.parameters)
        f(p.name);
    auto columns = [&](std::vector<ResultColumn>& cs) {
        for (ResultColumn& c : cs) {
            f(c.name);
            f(c.table);
            f(c.column);
        }
    };
    for (SelectCore& c : st.query.cores) {
        for (std::string* s : {&c.topCount, &c.items, &c.from, &c.where, &c.groupBy, &c.having, &c.distinctRowKeys})
            f(*s);
        for (std::string& o : c.order)
            f(o);
        for (std::string& o : c.orderBare)
            f(o);
        for (SourceTable& t : c.tables) {
            f(t.alias);
            f(t.table.sql);
            f(t.table.schema);
            f(t.table.name);
            if (t.table.columns)
                for (TableColumn& tc : *t.table.columns)
                    f(tc.name);
        }
        columns(c.columns);
    }
    columns(st.columns);
    f(st.target.name);
    f(st.target.externalPath);
    f(st.target.connect);
}

std::vector<std::string*> textsOf(Statement& st)
{
    std::vector<std::string*> texts;
    forEachText(st, [&](std::string& s) { texts.push_back(&s); });
    return texts;
}

} // namespace

std::optional<LiteralShape> literalShape(std::string_view jetSql)
{
    jetSql = jetSql.substr(0, jetSql.find('\0'));
    if (jetSql.find(kMarkerStem) != std::string_view::npos)
        return std::nullopt;
    const std::vector<Token> tokens = tokenize(jetSql);
    LiteralShape shape;
    size_t copied = 0;
    for (size_t i = 1; i + 1 < tokens.size() && shape.values.size() < kMaxSlots; ++i) {
        const Token& t = tokens[i];
        if (t.kind != Tok::Number || !isComparison(tokens[i - 1]) || !endsOperand(tokens[i + 1]))
            continue;
        const auto value = plainLong(t.text);
        if (!value)
            continue;
        shape.text.append(jetSql.substr(copied, t.begin - copied));
        shape.text += marker(shape.values.size());
        copied = t.end;
        shape.values.push_back(*value);
    }
    if (shape.values.empty())
        return std::nullopt;
    shape.text.append(jetSql.substr(copied));
    return shape;
}

bool makeSlots(Statement& shaped, const Statement& actual, const LiteralShape& shape)
{
    if (shaped.kind != StatementKind::Select || actual.kind != StatementKind::Select
        || shaped.query.cores.size() != 1 || shaped.parameters.size() >= static_cast<size_t>(kLiteralSlotBase))
        return false;
    Statement other = actual;
    const std::vector<std::string*> mine = textsOf(shaped);
    const std::vector<std::string*> theirs = textsOf(other);
    if (mine.size() != theirs.size())
        return false;
    std::string& sql = shaped.sql;
    std::string& where = shaped.query.cores.front().where;
    std::vector<size_t> inWhere(shape.values.size(), 0);
    for (size_t k = 0; k < mine.size(); ++k) {
        std::string written = *mine[k];
        for (size_t slot = 0; slot < shape.values.size(); ++slot) {
            const size_t n = replaceToken(written, marker(slot), std::to_string(shape.values[slot]));
            if (n > 0 && mine[k] != &sql && mine[k] != &where)
                return false; // the number stands elsewhere too
            if (mine[k] == &where)
                inWhere[slot] = n;
        }
        if (written != *theirs[k] || written.find(kMarkerStem) != std::string::npos)
            return false;
    }
    for (const size_t n : inWhere)
        if (n == 0)
            return false;
    for (size_t slot = 0; slot < shape.values.size(); ++slot) {
        replaceToken(sql, marker(slot), slotParameter(slot));
        replaceToken(where, marker(slot), slotParameter(slot));
    }
    shaped.slotValues.clear();
    return true;
}

void inlineSlots(Statement& st)
{
    if (st.slotValues.empty())
        return;
    for (size_t slot = 0; slot < st.slotValues.size(); ++slot) {
        const std::string value = std::to_string(st.slotValues[slot]);
        replaceToken(st.sql, slotParameter(slot), value);
        for (SelectCore& c : st.query.cores)
            replaceToken(c.where, slotParameter(slot), value);
    }
    st.slotValues.clear();
}

} // namespace dao::sql
