// Runs every case of statements.txt: a Jet statement and the SQLite text, the
// resolved tables or the Jet error it must give.
#include "SqlTestDb.h"

#include "engine/DaoError.h"
#include "engine/sql/JetTranslator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace {

struct Case {
    int line = 0;
    std::map<std::string, std::string> keys;
};

// Test names and failure messages show the case's line in statements.txt.
void PrintTo(const Case& c, std::ostream* os) { *os << "statements.txt:" << c.line; }

std::vector<Case> loadCases()
{
    const auto file = std::filesystem::path(QUILLSTOCK_STATEMENTS_FILE);
    std::ifstream in(file);
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

class Statements : public testing::TestWithParam<Case> {};

TEST_P(Statements, TranslateAsListed)
{
    const Case& c = GetParam();
    std::string jet;
    if (c.keys.count("jet1252"))
        jet = sqltest::toCp1252(c.keys.at("jet1252"));
    else
        jet = c.keys.at("jet");
    std::string tables;
    const auto resolve = [&](const dao::sql::TableRef& r) {
        tables += (tables.empty() ? "" : " ; ") + r.name;
        if (!r.externalPath.empty())
            tables += " @ " + r.externalPath;
        if (!r.connect.empty())
            tables += " [" + r.connect + "]";
        return (r.externalPath.empty() ? "\"main\".\"" : "\"x1\".\"") + r.name + "\"";
    };
    SCOPED_TRACE("statements.txt line " + std::to_string(c.line) + ": " + jet);
    if (c.keys.count("error")) {
        const std::string& expected = c.keys.at("error");
        try {
            const auto st = dao::sql::translate(jet, resolve);
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
    const auto st = dao::sql::translate(jet, resolve);
    if (c.keys.count("sql")) {
        EXPECT_EQ(st.sql, c.keys.at("sql"));
    }
    EXPECT_EQ(kindName(st.kind), c.keys.count("kind") ? c.keys.at("kind") : std::string("Select"));
    if (c.keys.count("tables")) {
        EXPECT_EQ(tables, c.keys.at("tables"));
    }
    if (c.keys.count("target")) {
        EXPECT_EQ(st.target.name + " | " + st.target.externalPath + " | " + st.target.connect, c.keys.at("target"));
    }
    if (c.keys.count("params")) {
        std::string params;
        for (const auto& p : st.parameters)
            params += (params.empty() ? "" : ", ") + p.name + ":" + std::to_string(static_cast<int>(p.type));
        EXPECT_EQ(params, c.keys.at("params"));
    }
}

INSTANTIATE_TEST_SUITE_P(DataFile, Statements, testing::ValuesIn(loadCases()),
                         [](const testing::TestParamInfo<Case>& info) { return "line" + std::to_string(info.param.line); });

TEST(StatementsFile, HasCases)
{
    EXPECT_GT(loadCases().size(), 100u);
}

} // namespace
