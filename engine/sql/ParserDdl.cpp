// CREATE TABLE, CREATE INDEX, DROP TABLE, DROP INDEX into structured form.
#include "Parser.h"

#include <cctype>
#include <cstdlib>

namespace dao::sql {

namespace {

bool oneOf(const std::string& word, std::initializer_list<std::string_view> names)
{
    for (auto n : names)
        if (word == n)
            return true;
    return false;
}

} // namespace

JetType Parser::parseType(ColumnDef* col)
{
    if (peek().kind != Tok::Word)
        fail();
    const std::string w = upperWord(take().text);
    auto number = [&]() -> long long {
        bool negative = acceptOp("-");
        if (peek().kind != Tok::Number || peek().text.find_first_of(".eE") != std::string::npos)
            fail();
        const long long v = std::strtoll(take().text.c_str(), nullptr, 10);
        return negative ? -v : v;
    };
    auto sizeArg = [&](int fallback) {
        int size = fallback;
        if (acceptOp("(")) {
            const long long v = number();
            if (v < 1 || v > 255)
                fail();
            size = static_cast<int>(v);
            expectOp(")");
        }
        return size;
    };
    JetType type;
    int size = 0;
    if (oneOf(w, {"COUNTER", "AUTOINCREMENT", "IDENTITY"})) {
        type = JetType::Long;
        long long seed = 1, increment = 1;
        if (acceptOp("(")) {
            seed = number();
            if (acceptOp(","))
                increment = number();
            expectOp(")");
        }
        if (col) {
            col->autoIncrement = true;
            col->seed = seed;
            col->increment = increment;
        }
    } else if (oneOf(w, {"TEXT", "VARCHAR", "CHAR", "CHARACTER", "STRING", "ALPHANUMERIC", "NVARCHAR", "NCHAR"})) {
        type = JetType::Text;
        acceptWord("VARYING");
        size = sizeArg(255);
    } else if (oneOf(w, {"MEMO", "LONGTEXT", "LONGCHAR", "NOTE", "NTEXT"})) {
        type = JetType::Memo;
    } else if (oneOf(w, {"LONG", "INTEGER", "INT", "INTEGER4"})) {
        type = JetType::Long;
    } else if (oneOf(w, {"SHORT", "SMALLINT", "INTEGER2"})) {
        type = JetType::Integer;
    } else if (oneOf(w, {"BYTE", "INTEGER1", "TINYINT"})) {
        type = JetType::Byte;
    } else if (oneOf(w, {"DATETIME", "DATE", "TIME", "TIMESTAMP"})) {
        type = JetType::Date;
    } else if (oneOf(w, {"CURRENCY", "MONEY"})) {
        type = JetType::Currency;
    } else if (oneOf(w, {"YESNO", "BIT", "LOGICAL", "LOGICAL1", "BOOLEAN"})) {
        type = JetType::Boolean;
    } else if (oneOf(w, {"DOUBLE", "FLOAT", "FLOAT8", "NUMBER", "IEEEDOUBLE"})) {
        type = JetType::Double;
        acceptWord("PRECISION");
    } else if (oneOf(w, {"SINGLE", "REAL", "FLOAT4", "IEEESINGLE"})) {
        type = JetType::Single;
    } else if (oneOf(w, {"GUID", "UNIQUEIDENTIFIER"})) {
        type = JetType::Guid;
    } else if (oneOf(w, {"BINARY", "VARBINARY"})) {
        type = JetType::Binary;
        acceptWord("VARYING");
        size = sizeArg(255);
    } else if (oneOf(w, {"LONGBINARY", "OLEOBJECT", "GENERAL", "IMAGE"})) {
        type = JetType::LongBinary;
    } else if (oneOf(w, {"DECIMAL", "NUMERIC", "DEC"})) {
        type = JetType::Decimal;
        long long precision = 18, scale = 0;
        if (acceptOp("(")) {
            precision = number();
            if (acceptOp(","))
                scale = number();
            expectOp(")");
            if (precision < 1 || precision > 28 || scale < 0 || scale > precision)
                fail();
        }
        if (col) {
            col->precision = static_cast<int>(precision);
            col->scale = static_cast<int>(scale);
        }
    } else if (!col && w == "VALUE") {
        type = JetType::Text;
    } else if (col) {
        fail(3259);
    } else {
        fail();
    }
    if (col) {
        col->type = type;
        col->size = size;
    }
    return type;
}

void Parser::parseCreate(Statement& st)
{
    take();
    if (acceptWord("TABLE")) {
        parseCreateTable(st);
    } else if (isWord("UNIQUE") && isWord("INDEX", 1)) {
        take();
        take();
        parseCreateIndex(st, true);
    } else if (acceptWord("INDEX")) {
        parseCreateIndex(st, false);
    } else {
        fail(3290);
    }
}

void Parser::parseCreateTable(Statement& st)
{
    clauseError_ = 3290;
    st.kind = StatementKind::CreateTable;
    st.target = parseTableName();
    expectOp("(");
    auto addIndex = [&](std::string name, std::vector<std::string> fields, bool primary, bool unique) {
        IndexDef idx;
        idx.name = std::move(name);
        idx.table = st.target.name;
        for (auto& f : fields)
            idx.fields.emplace_back(std::move(f), false);
        idx.primary = primary;
        idx.unique = unique || primary;
        idx.disallowNull = primary;
        st.indexes.push_back(std::move(idx));
    };
    auto skipReferences = [&] {
        takeName();
        if (isOp("("))
            parseNameList();
        while (isWord("ON") && (isWord("UPDATE", 1) || isWord("DELETE", 1))) {
            take();
            take();
            if (acceptWord("CASCADE") || acceptWord("RESTRICT"))
                continue;
            if (acceptWord("SET")) {
                expectWord("NULL");
                continue;
            }
            expectWord("NO");
            if (!(peek().kind == Tok::Word && upperWord(peek().text) == "ACTION"))
                fail();
            take();
        }
    };
    do {
        const bool tableConstraint = isWord("CONSTRAINT") || isWord("PRIMARY") || isWord("UNIQUE") || isWord("FOREIGN");
        if (tableConstraint) {
            clauseError_ = 3289;
            std::string name;
            if (acceptWord("CONSTRAINT"))
                name = takeName();
            if (acceptWord("PRIMARY")) {
                expectWord("KEY");
                addIndex(name.empty() ? "PrimaryKey" : name, parseNameList(), true, true);
            } else if (acceptWord("UNIQUE")) {
                auto fields = parseNameList();
                addIndex(name.empty() ? fields.front() : name, fields, false, true);
            } else if (acceptWord("FOREIGN")) {
                expectWord("KEY");
                parseNameList();
                expectWord("REFERENCES");
                skipReferences();
            } else {
                fail();
            }
            clauseError_ = 3290;
            continue;
        }
        ColumnDef col;
        col.name = takeName();
        parseType(&col);
        while (true) {
            if (isWord("NOT") && isWord("NULL", 1)) {
                take();
                take();
                col.notNull = true;
            } else if (acceptWord("NULL")) {
            } else if (acceptWord("DEFAULT")) {
                inDefinition_ = true; // a name in a default is no parameter
                col.defaultSql = value(false);
                inDefinition_ = false;
                clauseError_ = 3290;
            } else if (isWord("WITH") && (isWord("COMPRESSION", 1) || isWord("COMP", 1))) {
                take();
                take();
            } else if (isWord("PRIMARY") || isWord("UNIQUE") || isWord("CONSTRAINT") || isWord("REFERENCES")) {
                clauseError_ = 3289;
                std::string name;
                if (acceptWord("CONSTRAINT"))
                    name = takeName();
                if (acceptWord("PRIMARY")) {
                    expectWord("KEY");
                    col.primaryKey = true;
                    col.notNull = true;
                    addIndex(name.empty() ? "PrimaryKey" : name, {col.name}, true, true);
                } else if (acceptWord("UNIQUE")) {
                    col.unique = true;
                    addIndex(name.empty() ? col.name : name, {col.name}, false, true);
                } else if (isWord("NOT") && isWord("NULL", 1)) {
                    take();
                    take();
                    col.notNull = true;
                } else if (acceptWord("REFERENCES")) {
                    skipReferences();
                } else {
                    fail();
                }
                clauseError_ = 3290;
            } else {
                break;
            }
        }
        st.columnDefs.push_back(std::move(col));
    } while (acceptOp(","));
    expectOp(")");
}

void Parser::parseCreateIndex(Statement& st, bool unique)
{
    clauseError_ = 3291;
    st.kind = StatementKind::CreateIndex;
    IndexDef idx;
    idx.name = takeName();
    idx.unique = unique;
    expectWord("ON");
    st.target = parseTableName();
    idx.table = st.target.name;
    expectOp("(");
    do {
        std::string field = takeName();
        bool descending = false;
        if (acceptWord("DESC"))
            descending = true;
        else
            acceptWord("ASC");
        idx.fields.emplace_back(std::move(field), descending);
    } while (acceptOp(","));
    expectOp(")");
    if (isWord("WITH")) {
        take();
        bool any = false;
        while (true) {
            if (acceptWord("PRIMARY")) {
                idx.primary = true;
                idx.unique = true;
                idx.disallowNull = true;
            } else if (isWord("DISALLOW") && isWord("NULL", 1)) {
                take();
                take();
                idx.disallowNull = true;
            } else if (isWord("IGNORE") && isWord("NULL", 1)) {
                take();
                take();
                idx.ignoreNull = true;
            } else {
                break;
            }
            any = true;
        }
        if (!any)
            fail();
    }
    st.indexName = idx.name;
    st.indexes.push_back(std::move(idx));
}

void Parser::parseDrop(Statement& st)
{
    take();
    clauseError_ = 3295;
    if (acceptWord("TABLE")) {
        st.kind = StatementKind::DropTable;
        st.target = parseTableName();
    } else if (acceptWord("INDEX")) {
        st.kind = StatementKind::DropIndex;
        st.indexName = takeName();
        expectWord("ON");
        st.target = parseTableName();
    } else {
        fail();
    }
}

} // namespace dao::sql
