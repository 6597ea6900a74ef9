// Expressions: Jet's operators, literals and functions in SQLite form.
#include "Parser.h"

#include "FunctionMap.h"
#include "JetCollation.h"
#include "JetDate.h"
#include "engine/JetErrors.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace dao::sql {

namespace {

Fragment typed(Fragment f, JetType type)
{
    f.jetType = static_cast<int>(type);
    return f;
}

Fragment numberLiteral(double v, std::string sql)
{
    Fragment f = fragment(std::move(sql), Shape::Number);
    f.number = v;
    // A whole number that fits is a Long, anything else a Double, as SQLite reads them.
    const bool whole = f.sql.find_first_of(".eE") == std::string::npos;
    f.jetType = static_cast<int>(whole && std::fabs(v) <= 2147483647.0 ? JetType::Long : JetType::Double);
    return f;
}

bool isDate(const Fragment& f)
{
    return hasType(f, JetType::Date) || hasType(f, JetType::Time) || hasType(f, JetType::TimeStamp);
}

// A Date and a number give a Date, two Dates apart give a Double (Jet's rules for + and -).
int sumType(const Fragment& l, const Fragment& r, bool minus)
{
    const bool ld = isDate(l), rd = isDate(r);
    const bool ln = !ld && l.jetType > 0 && l.jetType != static_cast<int>(JetType::Text), rn = !rd && r.jetType > 0
        && r.jetType != static_cast<int>(JetType::Text);
    if (ld && rd)
        return minus ? static_cast<int>(JetType::Double) : kUnknownType;
    if ((ld && rn) || (rd && ln && !minus))
        return static_cast<int>(JetType::Date);
    return kUnknownType;
}

// The type of a function's result by Jet's rules; kUnknownType where the values decide.
int functionType(std::string_view name, const std::vector<Fragment>& args)
{
    static constexpr std::string_view dates[] = {"CDATE", "CVDATE", "DATESERIAL", "DATEVALUE", "TIMESERIAL",
                                                 "TIMEVALUE", "DATEADD", "NOW", "DATE", "TIME"};
    for (auto d : dates)
        if (name == d)
            return static_cast<int>(JetType::Date);
    static constexpr std::pair<std::string_view, JetType> conversions[] = {
        {"CLNG", JetType::Long}, {"CINT", JetType::Integer}, {"CBYTE", JetType::Byte}, {"CDBL", JetType::Double},
        {"CSNG", JetType::Single}, {"CCUR", JetType::Currency}, {"CBOOL", JetType::Boolean}, {"CSTR", JetType::Text},
        {"COUNT", JetType::Long}, {"GENUNIQUEID", JetType::Long}, {"GENGUID", JetType::Guid}};
    for (const auto& [n, t] : conversions)
        if (name == n)
            return static_cast<int>(t);
    if (args.size() == 1 && (name == "MAX" || name == "MIN" || name == "FIRST" || name == "LAST"))
        return args[0].jetType == kNullType ? kUnknownType : args[0].jetType;
    if (args.size() == 1 && name == "SUM" && hasType(args[0], JetType::Currency))
        return static_cast<int>(JetType::Currency);
    return kUnknownType;
}

// IIf keeps a type both branches share; a Null branch takes the other's.
int choiceType(const Fragment& a, const Fragment& b)
{
    if (a.jetType == kNullType)
        return b.jetType;
    if (b.jetType == kNullType || a.jetType == b.jetType)
        return a.jetType;
    return kUnknownType;
}

// The literal text before the first wildcard of a LIKE pattern.
std::string likePrefix(std::string_view pattern)
{
    std::string prefix;
    for (char c : pattern) {
        if (c == '*' || c == '?' || c == '#' || c == '[' || c == ']')
            break;
        prefix += c;
    }
    return prefix;
}

} // namespace

Fragment Parser::topExpr(bool listItem)
{
    if (exprDepth_ == 0) {
        exprStart_ = pos_;
        exprListItem_ = listItem;
    }
    ++exprDepth_;
    Fragment f = parseImp();
    // Whatever follows must end the expression: "a b" lacks an operator.
    const Token& t = peek();
    const bool ends = t.kind == Tok::End
        || (t.kind == Tok::Op && (t.text == "," || t.text == ")" || t.text == ";"))
        || (t.kind == Tok::Word && (isKeyword(t.text)));
    if (!ends) {
        if (t.kind >= Tok::BadString)
            badToken(t);
        exprFail("Syntax error (missing operator)");
    }
    --exprDepth_;
    return f;
}

std::string Parser::condition(bool listItem)
{
    return asCondition(topExpr(listItem));
}

std::string Parser::value(bool listItem)
{
    return asValue(topExpr(listItem));
}

Fragment Parser::parseImp()
{
    const Nesting nest(*this);
    Fragment l = parseEqv();
    while (acceptWord("IMP")) {
        Fragment r = parseEqv();
        l = fragment("((NOT " + asCondition(l) + ") OR " + asCondition(r) + ")", Shape::Bool);
    }
    return l;
}

Fragment Parser::parseEqv()
{
    Fragment l = parseXor();
    while (acceptWord("EQV")) {
        Fragment r = parseXor();
        l = fragment("((" + asCondition(l) + " <> 0) = (" + asCondition(r) + " <> 0))", Shape::Bool);
    }
    return l;
}

Fragment Parser::parseXor()
{
    Fragment l = parseOr();
    while (acceptWord("XOR")) {
        Fragment r = parseOr();
        l = fragment("((" + asCondition(l) + " <> 0) <> (" + asCondition(r) + " <> 0))", Shape::Bool);
    }
    return l;
}

// AND and OR chains are written flat, "(a OR b OR c)": the same meaning, and long
// chains (the 33 LIKE patterns of a catalogue check) are not copied over and over.
Fragment Parser::parseOr()
{
    Fragment first = parseAnd();
    if (!isWord("OR"))
        return first;
    std::string sql = "(" + asCondition(first);
    while (acceptWord("OR"))
        sql += " OR " + asCondition(parseAnd());
    return fragment(sql + ")", Shape::Bool);
}

Fragment Parser::parseAnd()
{
    Fragment first = parseNot();
    if (!isWord("AND"))
        return first;
    std::string sql = "(" + asCondition(first);
    while (acceptWord("AND"))
        sql += " AND " + asCondition(parseNot());
    return fragment(sql + ")", Shape::Bool);
}

Fragment Parser::parseNot()
{
    const Nesting nest(*this);
    if (acceptWord("NOT")) {
        Fragment f = parseNot();
        return fragment("(NOT " + asCondition(f) + ")", Shape::Bool);
    }
    return parseCompare();
}

Fragment Parser::parseCompare()
{
    Fragment l = parseConcat();
    while (true) {
        const Token& t = peek();
        if (t.kind == Tok::Op && (t.text == "=" || t.text == "<>" || t.text == "<" || t.text == ">" || t.text == "<="
                                  || t.text == ">=")) {
            const std::string op = take().text;
            if ((isWord("ANY") || isWord("SOME") || isWord("ALL")) && isOp("(", 1) && isWord("SELECT", 2)) {
                const bool all = isWord("ALL");
                take();
                take();
                if ((op == "=" && !all) || (op == "<>" && all)) {
                    Fragment sub = subquery();
                    std::string left = asValue(l);
                    if (!isColumn(l))
                        left = "(" + left + kCollate + ")";
                    l = fragment("(" + left + (all ? " NOT IN " : " IN ") + sub.sql + ")", Shape::Bool);
                    continue;
                }
                fail(3251);
            }
            Fragment r = parseConcat();
            // Text compared with a date is read as a date, as Jet converts it.
            if (isDate(l) && r.shape == Shape::Text)
                r = dateFromText(r);
            else if (isDate(r) && l.shape == Shape::Text)
                l = dateFromText(l);
            std::string sql = "(" + asValue(l) + " " + op + " " + asValue(r);
            if (!isColumn(l) && !isColumn(r) && !isNumber(l) && !isNumber(r))
                sql += kCollate;
            l = fragment(sql + ")", Shape::Bool);
            continue;
        }
        const bool negated = isWord("NOT") && (isWord("LIKE", 1) || isWord("BETWEEN", 1) || isWord("IN", 1));
        if (negated)
            take();
        if (acceptWord("LIKE")) {
            Fragment pattern = parseConcat();
            std::string sql = "jet_like(" + asValue(l) + ", " + asValue(pattern) + ")";
            if (isColumn(l) && pattern.shape == Shape::Text && !negated) {
                // A fixed leading text lets an index narrow the rows first. Only for a
                // letter: a numeric column's text could start with the prefix yet sort
                // below it as a number.
                const std::string prefix = likePrefix(pattern.text);
                const auto first = prefix.empty() ? 0 : static_cast<unsigned char>(prefix[0]);
                if (!prefix.empty() && (std::isalpha(first) || first >= 0xC0)) {
                    sql = "(" + l.sql + " >= " + quoteString(prefix) + kCollate + " AND " + l.sql + " < "
                        + quoteString(prefix + "\xEF\xBF\xBF") + kCollate + " AND " + sql + ")";
                }
            }
            l = fragment(negated ? "(NOT " + sql + ")" : sql, Shape::Bool);
            continue;
        }
        if (acceptWord("BETWEEN")) {
            Fragment a = parseConcat();
            if (!acceptWord("AND"))
                exprFail("Between operator without And");
            Fragment b = parseConcat();
            if (isDate(l)) {
                if (a.shape == Shape::Text)
                    a = dateFromText(a);
                if (b.shape == Shape::Text)
                    b = dateFromText(b);
            }
            std::string v = asValue(l);
            if (!isColumn(l) && !isNumber(l))
                v = "(" + v + kCollate + ")";
            std::string sql;
            bool ordered = false;
            if (a.shape == Shape::Number && b.shape == Shape::Number) {
                if (a.number > b.number)
                    std::swap(a, b);
                ordered = true;
            } else if (a.shape == Shape::Text && b.shape == Shape::Text) {
                if (compareJetText(a.text, b.text) > 0)
                    std::swap(a, b);
                ordered = true;
            }
            if (ordered)
                sql = "(" + v + " BETWEEN " + a.sql + " AND " + b.sql + ")";
            else
                sql = "((" + v + " BETWEEN " + asValue(a) + " AND " + asValue(b) + ") OR (" + v + " BETWEEN "
                    + asValue(b) + " AND " + asValue(a) + "))";
            l = fragment(negated ? "(NOT " + sql + ")" : sql, Shape::Bool);
            continue;
        }
        if (isWord("IN") && isOp("(", 1)) {
            take();
            take();
            std::string left = asValue(l);
            if (!isColumn(l) && !isNumber(l))
                left = "(" + left + kCollate + ")";
            std::string list;
            if (isWord("SELECT")) {
                list = subquery().sql;
            } else {
                list = "(";
                do {
                    if (list.size() > 1)
                        list += ", ";
                    Fragment item = parseConcat();
                    if (isDate(l) && item.shape == Shape::Text)
                        item = dateFromText(item);
                    list += asValue(item);
                } while (acceptOp(","));
                closeParen();
                list += ")";
            }
            l = fragment("(" + left + (negated ? " NOT IN " : " IN ") + list + ")", Shape::Bool);
            continue;
        }
        if (negated)
            exprFail("Syntax error (missing operator)");
        if (acceptWord("IS")) {
            const bool isNot = acceptWord("NOT");
            if (!acceptWord("NULL"))
                exprFail("Syntax error (missing operator)");
            l = fragment("(" + asValue(l) + (isNot ? " IS NOT NULL)" : " IS NULL)"), Shape::Bool);
            continue;
        }
        return l;
    }
}

Fragment Parser::parseConcat()
{
    Fragment first = parseAdd();
    if (!isOp("&"))
        return first;
    std::string sql = "jet_concat(" + asValue(first);
    while (acceptOp("&"))
        sql += ", " + asValue(parseAdd());
    return typed(fragment(sql + ")"), JetType::Text);
}

Fragment Parser::parseAdd()
{
    Fragment l = parseMod();
    while (isOp("+") || isOp("-")) {
        const std::string op = take().text;
        Fragment r = parseMod();
        const bool numeric = l.shape == Shape::Number || r.shape == Shape::Number || l.shape == Shape::Bool
            || r.shape == Shape::Bool;
        const int type = sumType(l, r, op == "-");
        if (op == "+" && !numeric)
            l = fragment("jet_add(" + asValue(l) + ", " + asValue(r) + ")");
        else
            l = fragment("(" + asValue(l) + " " + op + " " + asValue(r) + ")", Shape::Numeric);
        l.jetType = type;
    }
    return l;
}

Fragment Parser::parseMod()
{
    Fragment l = parseIntDiv();
    while (acceptWord("MOD")) {
        Fragment r = parseIntDiv();
        l = fragment("jet_mod(" + asValue(l) + ", " + asValue(r) + ")", Shape::Numeric);
    }
    return l;
}

Fragment Parser::parseIntDiv()
{
    Fragment l = parseMul();
    while (acceptOp("\\")) {
        Fragment r = parseMul();
        l = fragment("jet_intdiv(" + asValue(l) + ", " + asValue(r) + ")", Shape::Numeric);
    }
    return l;
}

Fragment Parser::parseMul()
{
    Fragment l = parseUnary();
    while (isOp("*") || isOp("/")) {
        const std::string op = take().text;
        Fragment r = parseUnary();
        if (op == "*")
            l = fragment("(" + asValue(l) + " * " + asValue(r) + ")", Shape::Numeric);
        else // Jet divides in floating point: 7 / 2 = 3.5
            l = fragment("(CAST(" + asValue(l) + " AS REAL) / " + asValue(r) + ")", Shape::Numeric);
    }
    return l;
}

Fragment Parser::parseUnary()
{
    const Nesting nest(*this);
    if (acceptOp("-")) {
        Fragment f = parseUnary();
        if (f.shape == Shape::Number) {
            const std::string sql = f.sql[0] == '-' ? f.sql.substr(1) : "-" + f.sql;
            Fragment negative = numberLiteral(-f.number, sql);
            negative.jetType = f.jetType;
            return negative;
        }
        return fragment("(- " + asValue(f) + ")", Shape::Numeric);
    }
    if (acceptOp("+"))
        return parseUnary();
    return parsePow();
}

Fragment Parser::parsePow()
{
    Fragment l = parsePrimary();
    while (acceptOp("^")) {
        Fragment r;
        if (acceptOp("-"))
            r = fragment("(- " + asValue(parsePrimary()) + ")");
        else
            r = parsePrimary();
        l = fragment("jet_pow(" + asValue(l) + ", " + asValue(r) + ")", Shape::Numeric);
    }
    return l;
}

Fragment Parser::subquery()
{
    // The '(' is taken; SELECT follows.
    const long savedError = clauseError_;
    const Query query = parseQuery(nullptr);
    clauseError_ = savedError;
    closeParen();
    Fragment f = fragment("(" + renderQuery(query) + ")");
    const std::vector<ResultColumn> columns = resultColumns(query);
    if (columns.size() == 1 && columns.front().type) // a value of one column
        f.jetType = static_cast<int>(*columns.front().type);
    return f;
}

void Parser::closeParen()
{
    if (acceptOp(")"))
        return;
    const Token& t = peek();
    if (t.kind >= Tok::BadString)
        badToken(t);
    if (t.kind == Tok::End || isOp(";") || isOp(",") || (t.kind == Tok::Word && isKeyword(t.text)))
        exprFail("Missing ), ], or Item");
    exprFail("Syntax error (missing operator)");
}

Fragment Parser::parseDate(const Token& t)
{
    const auto v = parseDateLiteral(t.text);
    if (!v)
        exprFail("Syntax error in date");
    return typed(numberLiteral(*v, realLiteral(*v)), JetType::Date);
}

Fragment Parser::parsePrimary()
{
    const Token& t = peek();
    switch (t.kind) {
    case Tok::Number: {
        Token n = take();
        return numberLiteral(std::strtod(n.text.c_str(), nullptr), n.text);
    }
    case Tok::String: {
        Token s = take();
        Fragment f = fragment(quoteString(s.text), Shape::Text);
        f.text = s.text;
        return typed(f, JetType::Text);
    }
    case Tok::Date: {
        Token d = take();
        return parseDate(d);
    }
    case Tok::Guid:
        return fragment("X'" + take().text + "'");
    case Tok::Name:
        return parseColumnOrParameter();
    case Tok::Op:
        if (t.text == "(") {
            take();
            if (isWord("SELECT"))
                return subquery();
            Fragment inner = parseImp();
            closeParen();
            if (inner.shape == Shape::Column || inner.shape == Shape::Number || inner.shape == Shape::Text
                || inner.shape == Shape::Null)
                return inner;
            inner.sql = "(" + inner.sql + ")";
            return inner;
        }
        exprFail("Syntax error (missing operator)");
    case Tok::Word: {
        if (isOp("(", 1)) {
            if (isWord("EXISTS")) {
                take();
                take();
                if (!isWord("SELECT"))
                    exprFail("Syntax error (missing operator)");
                return fragment("(EXISTS " + subquery().sql + ")", Shape::Bool);
            }
            const std::string name = take().text;
            take();
            return parseFunction(name);
        }
        if (isWord("NULL")) {
            take();
            Fragment null = fragment("NULL", Shape::Null);
            null.jetType = kNullType;
            return null;
        }
        if (isWord("TRUE") || isWord("YES") || isWord("ON")) {
            take();
            return numberLiteral(-1, "-1");
        }
        if (isWord("FALSE") || isWord("NO") || isWord("OFF")) {
            take();
            return numberLiteral(0, "0");
        }
        if (!isNameToken())
            exprFail("Syntax error (missing operator)");
        return parseColumnOrParameter();
    }
    case Tok::End:
        exprFail("Syntax error (missing operator)");
    default:
        badToken(t);
    }
}

Fragment Parser::parseFunction(const std::string& name)
{
    // The '(' is taken.
    const std::string upperName = upperWord(name);
    if (upperName == "NZ")
        throw jet::undefinedFunction(name);
    std::vector<Fragment> args;
    if (upperName == "COUNT" && isOp("*") && isOp(")", 1)) {
        take();
        take();
        aggregateSeen_ = true;
        return typed(fragment("count(*)", Shape::Numeric), JetType::Long);
    }
    if (!acceptOp(")")) {
        do
            args.push_back(parseImp());
        while (acceptOp(","));
        closeParen();
    }
    auto wrongCount = [&] { exprFail("Wrong number of arguments used with function"); };
    if (upperName == "IIF") {
        if (args.size() != 3)
            wrongCount();
        Fragment choice = fragment("(CASE WHEN " + asCondition(args[0]) + " THEN " + asValue(args[1]) + " ELSE "
                                   + asValue(args[2]) + " END)");
        choice.jetType = choiceType(args[1], args[2]);
        return choice;
    }
    if (upperName == "ISNULL") {
        if (args.size() != 1)
            wrongCount();
        return fragment("(" + asValue(args[0]) + " IS NULL)", Shape::Bool);
    }
    const FunctionInfo* info = findFunction(name);
    if (!info)
        throw jet::undefinedFunction(name);
    if (static_cast<int>(args.size()) < info->minArgs || static_cast<int>(args.size()) > info->maxArgs)
        wrongCount();
    aggregateSeen_ = aggregateSeen_ || info->aggregate;
    std::string sql = std::string(info->sqlName) + "(";
    for (size_t i = 0; i < args.size(); ++i) {
        if (i > 0)
            sql += ", ";
        sql += asValue(args[i]);
    }
    Fragment f = fragment(sql + ")", returnsNumber(*info) ? Shape::Numeric : Shape::Other);
    f.jetType = functionType(info->jetName, args);
    return f;
}

} // namespace dao::sql
