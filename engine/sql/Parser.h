#pragma once
// Recursive-descent parser of Jet SQL that writes SQLite SQL as it goes.
#include "Fragment.h"
#include "JetTranslator.h"
#include "Lexer.h"

#include <memory>
#include <string>
#include <vector>

namespace dao::sql {

// A FROM clause item: a table, a derived table or a join of two items.
struct FromNode {
    enum class Kind { Table, Derived, Join } kind = Kind::Table;
    std::string sql;   // Table/Derived: "<source> AS <alias>"
    std::string alias;    // Table/Derived
    std::string joinType; // Join: "INNER JOIN", "LEFT JOIN", "RIGHT JOIN"
    std::unique_ptr<FromNode> left, right;
    std::string on; // Join: the ON condition
    bool parenthesised = false;
};

struct SelectCore {
    bool distinct = false;
    bool distinctRow = false;
    bool top = false;
    bool percent = false;
    std::string topCount;
    std::string items;
    std::vector<std::string> itemTables; // per select item: the table it comes from, "" when not one table's field
    std::string from, where, groupBy, having;
    std::string distinctRowKeys; // DISTINCTROW over a join: the row ids to group by
    std::vector<std::string> order;     // "expr [DESC]"
    std::vector<std::string> orderBare; // the same by result column name, for compounds
};

// Reserved words, and the DDL words that may follow an expression.
bool isKeyword(std::string_view word);

class Parser {
public:
    Parser(std::string text, const TableResolver& resolve);
    Statement parse();

private:
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

    // Errors.
    [[noreturn]] void fail() const; // the current clause's syntax error
    [[noreturn]] void fail(long number, const std::string& text) const;
    [[noreturn]] void exprFail(const std::string& what) const;
    [[noreturn]] void badToken(const Token& t) const;
    std::string exprText() const;

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
    Fragment parseColumnOrParameter();
    Fragment parseDate(const Token& t);
    void closeParen(); // the ')' of a group, list or call
    Fragment subquery(); // after '(' SELECT: the SELECT ... ')' as a fragment

    // SELECT (ParserSelect.cpp).
    std::string parseQuery(Statement* top);
    SelectCore parseSelectCore(Statement* top);
    std::string renderCore(const SelectCore& c, bool withOrder) const;
    std::string parseSelectItems(std::vector<std::string>& itemTables);
    static void collectTables(const FromNode& n, std::vector<const FromNode*>& tables);
    static void distinctRecords(SelectCore& c, const std::vector<const FromNode*>& tables);
    std::vector<std::unique_ptr<FromNode>> parseFrom();
    std::unique_ptr<FromNode> parseJoin();
    std::unique_ptr<FromNode> parseFromPrimary();
    TableRef parseTableName();         // name, [path].[name]
    void parseExternal(TableRef& ref); // IN 'path' [connect]
    std::string resolve(const TableRef& ref);
    static std::string renderFrom(const FromNode& n);
    void parseOrderBy(SelectCore& c);
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
    std::vector<Parameter> params_;
    long clauseError_ = 3141;
    int exprDepth_ = 0;
    size_t exprStart_ = 0;
    bool exprListItem_ = false;
    int exprCounter_ = 1000;
    std::vector<std::string> qualifiers_; // table names used to qualify columns, in order
};

} // namespace dao::sql
