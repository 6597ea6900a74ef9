// Runs every case of statements.txt: a Jet statement and the SQLite text, the
// structure (tables, editability, parameters, result types), the rows or the
// Jet error it must give.
#include "SqlTestDb.h"

#include "engine/DaoError.h"
#include "engine/sql/JetTranslator.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace {

using dao::sql::Statement;

struct Case {
    int line = 0;
    std::map<std::string, std::string> keys;
    bool has(const char* key) const { return keys.count(key) > 0; }
};

// Test names and failure messages show the case's line in statements.txt.
void PrintTo(const Case& c, std::ostream* os) { *os << "statements.txt:" << c.line; }

std::vector<Case> loadCases()
{
    std::ifstream in(QUILLSTOCK_STATEMENTS_FILE);
    std::vector<Case> cases;
    Case current;
    std::string text;
    int lineNo = 0;
    auto flush = [&] {
        if (!current.keys.empty())
            cases.push_back(current);
        current = Case{};
    };
    while (std::getline(in, text)) {
        ++lineNo;
        if (text.empty()) {
            flush();
            continue;
        }
        if (text[0] == '#')
            continue;
        const size_t colon = text.find(": ");
        if (colon == std::string::npos)
            continue;
        if (current.keys.empty())
            current.line = lineNo;
        current.keys[text.substr(0, colon)] = text.substr(colon + 2);
    }
    flush();
    return cases;
}

const char* kindName(dao::sql::StatementKind k)
{
    static const char* names[] = {"Select", "SelectInto", "Insert", "Update", "Delete",
                                  "CreateTable", "CreateIndex", "DropTable", "DropIndex"};
    return names[static_cast<int>(k)];
}

std::string tableText(const dao::sql::TableRef& r)
{
    std::string text = r.name;
    if (!r.externalPath.empty())
        text += " @ " + r.externalPath;
    if (!r.connect.empty())
        text += " [" + r.connect + "]";
    return text;
}

// "t(a INT, b TEXT); u(k INT)" as CREATE TABLE statements.
void createTables(sqltest::SqlTestDb& db, const std::string& tables)
{
    std::stringstream in(tables);
    std::string table;
    while (std::getline(in, table, ';')) {
        const size_t open = table.find('(');
        const size_t start = table.find_first_not_of(' ');
        db.exec("CREATE TABLE \"" + table.substr(start, open - start) + "\" " + table.substr(open));
    }
}

std::string paramsText(const Statement& st)
{
    std::string params;
    for (const auto& p : st.parameters)
        params += (params.empty() ? "" : ", ") + p.name + ":" + std::to_string(static_cast<int>(p.type));
    return params.empty() ? "none" : params;
}

std::string typesText(const Statement& st)
{
    std::string types;
    for (const auto& c : st.columns)
        types += (types.empty() ? "" : ", ") + c.name + ":"
            + (c.type ? std::to_string(static_cast<int>(*c.type)) : std::string("?"));
    return types;
}

std::string rowsText(const std::vector<sqltest::Row>& rows)
{
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (const auto& v : row)
            line += (line.empty() ? "" : "|") + v.value_or("NULL");
        text += (text.empty() ? "" : " ; ") + line;
    }
    return text;
}

class Statements : public testing::TestWithParam<Case> {};

TEST_P(Statements, TranslateAsListed)
{
    const Case& c = GetParam();
    const std::string jet = c.has("jet1252") ? sqltest::toCp1252(c.keys.at("jet1252")) : c.keys.at("jet");
    SCOPED_TRACE("statements.txt line " + std::to_string(c.line) + ": " + jet);
    // With "columns" the tables exist (in memory) and the translator is told their columns;
    // without, every table resolves with columns unknown.
    sqltest::SqlTestDb db;
    std::string tables;
    dao::sql::TableResolver resolve;
    if (c.has("columns")) {
        createTables(db, c.keys.at("columns"));
        if (c.has("data"))
            db.exec(c.keys.at("data"));
        auto known = db.resolver();
        resolve = [&, known](const dao::sql::TableRef& r) {
            tables += (tables.empty() ? "" : " ; ") + tableText(r);
            return known(r);
        };
    } else {
        resolve = [&](const dao::sql::TableRef& r) {
            tables += (tables.empty() ? "" : " ; ") + tableText(r);
            const std::string schema = r.externalPath.empty() ? "main" : "x1";
            return dao::sql::ResolvedTable{"\"" + schema + "\".\"" + r.name + "\"", schema, r.name, std::nullopt};
        };
    }
    auto build = [&] {
        Statement st = dao::sql::translate(jet, resolve);
        if (c.has("filter") || c.has("sort"))
            st = dao::sql::refine(st, c.has("filter") ? c.keys.at("filter") : "",
                                  c.has("sort") ? c.keys.at("sort") : "", resolve);
        return st;
    };
    if (c.has("error")) {
        const std::string& expected = c.keys.at("error");
        try {
            const auto st = build();
            FAIL() << "translated to " << st.sql;
        } catch (const dao::DaoError& e) {
            const std::string got = std::to_string(e.number()) + " " + e.what();
            if (expected.find(' ') == std::string::npos) {
                EXPECT_EQ(std::to_string(e.number()), expected) << got;
            } else {
                EXPECT_EQ(got, expected);
            }
        }
        return;
    }
    const Statement st = build();
    if (c.has("sql")) {
        EXPECT_EQ(st.sql, c.keys.at("sql"));
    }
    EXPECT_EQ(kindName(st.kind), c.has("kind") ? c.keys.at("kind") : std::string("Select"));
    if (c.has("tables")) {
        EXPECT_EQ(tables, c.keys.at("tables"));
    }
    if (c.has("target")) {
        EXPECT_EQ(st.target.name + " | " + st.target.externalPath + " | " + st.target.connect, c.keys.at("target"));
    }
    if (c.has("params")) {
        EXPECT_EQ(paramsText(st), c.keys.at("params"));
    }
    if (c.has("editable")) {
        const auto source = st.editable();
        EXPECT_EQ(source ? source->alias : std::string("no"), c.keys.at("editable"));
    }
    if (c.has("keyset")) {
        EXPECT_EQ(dao::sql::keysetSql(st), c.keys.at("keyset"));
    }
    if (c.has("types")) {
        EXPECT_EQ(typesText(st), c.keys.at("types"));
    }
    if (c.has("rows")) {
        EXPECT_EQ(rowsText(db.query(st.sql)), c.keys.at("rows"));
    }
}

INSTANTIATE_TEST_SUITE_P(DataFile, Statements, testing::ValuesIn(loadCases()),
                         [](const testing::TestParamInfo<Case>& info) { return "line" + std::to_string(info.param.line); });

TEST(StatementsFile, HasCases)
{
    EXPECT_GT(loadCases().size(), 100u);
}

} // namespace
