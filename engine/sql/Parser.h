#pragma once
// Recursive-descent parser of Jet SQL that writes SQLite SQL as it goes and
// records what the statement is made of (Statement.h).
//
// Names are resolved as SQL scopes them: a SELECT's FROM clause is read before
// its select list (the parser looks ahead to it), so that every name is known
// to be a column of a table in reach, a column of the result, or a parameter.
#include "Fragment.h"
#include "JetTranslator.h"
#include "Lexer.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dao::sql {

// A FROM clause item: a table, a derived table or a join of two items.
struct FromNode {
    enum class Kind { Table, Derived, Join } kind = Kind::Table;
    std::string sql;      // Table/Derived: "<source> AS <alias>"
    std::string alias;    // Table/Derived
    std::string joinType; // Join: "INNER JOIN", "LEFT JOIN", "RIGHT JOIN"
    std::unique_ptr<FromNode> left, right;
    std::string on; // Join: the ON condition
    bool parenthesised = false;
};

// Reserved words, and the DDL words that may follow an expression.
bool isKeyword(std::string_view word);

// The result columns of a query: its first SELECT's, with the types all its SELECTs agree on.
std::vector<ResultColumn> resultColumns(const Query& query);

class Parser {
public:
    Parser(std::string text, const TableResolver& resolve);
    Statement parse();
    // A Filter or Sort text for base (see sql::refine).
    Statement refine(const Statement& base, const std::string& sortText);

private:
    // What names can mean where an expression stands: the tables of a FROM clause (or
    // an UPDATE's), and once the select list is read, the result's column names.
    struct Scope {
        std::vector<SourceTable>* tables = nullptr;
        const std::vector<ResultColumn>* results = nullptr;
        SelectCore* core = nullptr; // the SELECT whose clauses these are
    };
    struct ScopeGuard {
        ScopeGuard(Parser& p, Scope s) : parser(p) { parser.scopes_.push_back(s); }
        ~ScopeGuard() { parser.scopes_.pop_back(); }
        Parser& parser;
    };

    // Tokens.
    const Token& peek(size_t k = 0) const;
    Token take();
    bool isWord(std::string_view w, size_t k = 0) const;
    bool acceptWord(std::string_view w);
    void expectWord(std::string_view w);
    bool isOp(std::string_view op, size_t k = 0) const;
    bool acceptOp(std::string_view op);
    void expectOp(std::string_view op);
    bool isNameToken(size_t k = 0) const; // a Word that is no keyword, or a Name
    std::string takeName();               // name text, or fails with the clause error
    void expectEnd();
    // Walks the tokens from `from`, depth counting the parentheses opened since; ends at a ')'
    // closing an outer one, at the end, or where stop(token, depth) says. Returns where it ended.
    size_t walk(size_t from, const std::function<bool(size_t, int)>& stop) const;
    size_t findFrom() const; // the token of this SELECT's FROM, or 0 when it has none

    // Errors.
    [[noreturn]] void fail() const; // the current clause's syntax error
    [[noreturn]] void fail(long number) const; // Jet's error of that number
    [[noreturn]] void exprFail(const std::string& what) const;
    [[noreturn]] void badToken(const Token& t) const;
    std::string exprText() const;

    // Names (ParserNames.cpp).
    Fragment parseColumnOrParameter();
    Fragment parameter(const std::string& name);
    bool resolveColumn(const std::string& qualifier, const std::string& name, Fragment& f);
    ResolvedTable resolveTable(const TableRef& ref);
    Fragment dateFromText(const Fragment& text); // a text literal read as a date (3464 if none)
    Fragment toColumnType(JetType type, const Fragment& value);

    // Expressions (ParserExpr.cpp).
    Fragment topExpr(bool listItem);
    std::string condition(bool listItem = false);
    std::string value(bool listItem = false);
    Fragment parseImp();
    Fragment parseEqv();
    Fragment parseXor();
    Fragment parseOr();
    Fragment parseAnd();
    Fragment parseNot();
    Fragment parseCompare();
    Fragment parseConcat();
    Fragment parseAdd();
    Fragment parseMod();
    Fragment parseIntDiv();
    Fragment parseMul();
    Fragment parseUnary();
    Fragment parsePow();
    Fragment parsePrimary();
    Fragment parseFunction(const std::string& name);
    Fragment parseDate(const Token& t);
    void closeParen(); // the ')' of a group, list or call
    Fragment subquery(); // after '(' SELECT: the SELECT ... ')' as a fragment

    // SELECT (ParserSelect.cpp).
    Query parseQuery(Statement* top);
    SelectCore parseSelectCore(Statement* top);
    void parseSelectItems(SelectCore& c, std::vector<std::string>& itemTables);
    static void collectTables(const FromNode& n, std::vector<const FromNode*>& tables);
    static void distinctRecords(SelectCore& c, const std::vector<std::string>& itemTables,
                                const std::vector<const FromNode*>& tables);
    std::vector<std::unique_ptr<FromNode>> parseFrom();
    std::unique_ptr<FromNode> parseJoin();
    std::unique_ptr<FromNode> parseFromPrimary();
    TableRef parseTableName();         // name, [path].[name]
    void parseExternal(TableRef& ref); // IN 'path' [connect]
    static std::string renderFrom(const FromNode& n);
    void parseOrderBy(SelectCore& c);
    void parseOrderTerms(SelectCore& c);
    std::string groupOrOrderTerm(const Fragment& f) const;

    // Other statements (ParserDml.cpp, ParserDdl.cpp).
    void parseParameters(Statement& st);
    void parseInsert(Statement& st);
    void parseUpdate(Statement& st);
    void parseDelete(Statement& st);
    void parseCreate(Statement& st);
    void parseCreateTable(Statement& st);
    void parseCreateIndex(Statement& st, bool unique);
    void parseDrop(Statement& st);
    JetType parseType(ColumnDef* col);
    std::vector<std::string> parseNameList();
    void flattenInner(FromNode& n, std::vector<FromNode*>& tables, std::vector<std::string>& conditions, bool& outer);

    // Bounds the recursion of nested expressions, joins and subqueries.
    struct Nesting {
        explicit Nesting(Parser& p);
        ~Nesting() { --parser.nesting_; }
        Parser& parser;
    };
    int nesting_ = 0;

    std::string src_;
    std::vector<Token> toks_;
    size_t pos_ = 0;
    const TableResolver& resolve_;
    std::map<std::string, ResolvedTable> resolved_; // by reference, so that each table is asked for once
    std::vector<Parameter> params_;
    std::vector<Scope> scopes_;
    bool inDefinition_ = false; // a DEFAULT of CREATE TABLE: names stay names
    bool usedResultName_ = false; // a name meant a result column where a table has one of that name too
    bool aggregateSeen_ = false;
    long clauseError_ = 3141;
    int exprDepth_ = 0;
    size_t exprStart_ = 0;
    bool exprListItem_ = false;
    int exprCounter_ = 1000; // names of computed columns, counted per SELECT
    std::vector<std::string> qualifiers_; // table names used to qualify columns, in order
};

} // namespace dao::sql
