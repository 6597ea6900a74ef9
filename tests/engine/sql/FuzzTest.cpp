// Mutated statements must give a translation or a DaoError, nothing else.
#include "engine/DaoError.h"
#include "engine/sql/JetTranslator.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>

namespace {

std::vector<std::string> seedStatements()
{
    std::vector<std::string> seeds;
    std::ifstream in(QUILLSTOCK_STATEMENTS_FILE);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("jet: ", 0) == 0)
            seeds.push_back(line.substr(5));
        else if (line.rfind("jet1252: ", 0) == 0)
            seeds.push_back(line.substr(9));
    }
    seeds.push_back("CREATE TABLE t (a COUNTER(1,1) CONSTRAINT pk PRIMARY KEY, b TEXT(50) NOT NULL DEFAULT 'x', "
                    "c DECIMAL(10,2), CONSTRAINT u UNIQUE (b, c))");
    seeds.push_back("CREATE UNIQUE INDEX ix ON t (a DESC, b) WITH DISALLOW NULL IGNORE NULL");
    return seeds;
}

const std::string kPieces[] = {
    " ",      "(",     ")",         "[",      "]",        "'",      "\"",     "#",      "#1/2/2003#", "{guid {",
    "}",      ",",     ";",         ".",      "!",        "*",      "&",      "+",      "-",          "\\",
    "^",      "=",     "<>",        " AND ",  " OR ",     " NOT ",  " IN ",   " IN '", " LIKE ",     " BETWEEN ",
    " IS ",   " NULL", " SELECT ",  " FROM ", " WHERE ",  " ORDER BY ", " GROUP BY ", " HAVING ", " UNION ",
    " TOP ",  " PERCENT ", " INTO ", " INNER JOIN ", " LEFT JOIN ", " ON ", " AS ", "IIF(", "LCASE(", "COUNT(*)",
    "Nz(",    "0",     "4711",      "1.5E3",  "\x80",     "\xB4",   "\xC3",   "\xFF",   std::string("\0", 1),
    " PARAMETERS p Long; ", " EXISTS (SELECT ", " DISTINCT ", "`", "?", "@",
};

std::string mutate(std::string s, std::mt19937& rng)
{
    auto pos = [&] { return s.empty() ? size_t{0} : std::uniform_int_distribution<size_t>(0, s.size())(rng); };
    const int rounds = std::uniform_int_distribution<int>(1, 4)(rng);
    for (int r = 0; r < rounds; ++r) {
        switch (std::uniform_int_distribution<int>(0, 5)(rng)) {
        case 0: { // delete a span
            const size_t at = pos();
            s.erase(at, std::uniform_int_distribution<size_t>(1, 8)(rng));
            break;
        }
        case 1: // insert a piece
            s.insert(pos(), kPieces[std::uniform_int_distribution<size_t>(0, std::size(kPieces) - 1)(rng)]);
            break;
        case 2: { // duplicate a span
            const size_t at = pos();
            s.insert(pos(), s.substr(at, std::uniform_int_distribution<size_t>(1, 20)(rng)));
            break;
        }
        case 3: // truncate
            s.resize(pos());
            break;
        case 4: // random byte
            if (!s.empty())
                s[pos() % s.size()] = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
            break;
        default: // a deep nest
            s.insert(pos(), std::string(std::uniform_int_distribution<size_t>(1, 400)(rng), '('));
            break;
        }
    }
    return s;
}

TEST(Fuzz, MutatedStatementsGiveTranslationOrDaoError)
{
    const auto seeds = seedStatements();
    ASSERT_FALSE(seeds.empty());
    // QUILLSTOCK_FUZZ_SEED and QUILLSTOCK_FUZZ_SECONDS allow longer runs by hand.
    const char* seedEnv = std::getenv("QUILLSTOCK_FUZZ_SEED");
    const char* secondsEnv = std::getenv("QUILLSTOCK_FUZZ_SECONDS");
    std::mt19937 rng(seedEnv ? static_cast<unsigned>(std::strtoul(seedEnv, nullptr, 10)) : 20261206u);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(secondsEnv ? std::atoi(secondsEnv) : 3);
    const int maxRuns = secondsEnv ? 100000000 : 200000;
    const dao::sql::TableResolver resolve = [](const dao::sql::TableRef& ref) {
        if (ref.name.find('q') != std::string::npos)
            throw dao::DaoError(3078, "The Microsoft Jet database engine cannot find the input table or query '"
                                          + ref.name + "'.  Make sure it exists and that its name is spelled correctly.");
        std::string quoted;
        for (char c : ref.name)
            quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        return dao::sql::ResolvedTable{"\"main\".\"" + quoted + "\"", "main", ref.name, std::nullopt};
    };
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    dao::sql::registerJetFunctions(db);
    int runs = 0, translated = 0;
    for (; runs < maxRuns && std::chrono::steady_clock::now() < deadline; ++runs) {
        const std::string input = mutate(seeds[static_cast<size_t>(runs) % seeds.size()], rng);
        try {
            const auto st = dao::sql::translate(input, resolve);
            ++translated;
            // The SQL must at least be well-formed: SQLite may only miss the tables.
            sqlite3_stmt* stmt = nullptr;
            if (!st.sql.empty() && sqlite3_prepare_v2(db, st.sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
                const std::string message = sqlite3_errmsg(db);
                EXPECT_EQ(message.find("syntax error"), std::string::npos) << input << "\n" << st.sql;
                EXPECT_EQ(message.find("unrecognized token"), std::string::npos) << input << "\n" << st.sql;
                EXPECT_EQ(message.find("incomplete input"), std::string::npos) << input << "\n" << st.sql;
            }
            sqlite3_finalize(stmt);
        } catch (const dao::DaoError& e) {
            EXPECT_GT(e.number(), 0);
            EXPECT_FALSE(std::string(e.what()).empty());
        } catch (const std::exception& e) {
            FAIL() << "unexpected " << e.what() << " for: " << input;
        }
    }
    sqlite3_close(db);
    EXPECT_GT(runs, 1000);
    EXPECT_GT(translated, 0);
}

// Every registered function with odd arguments: a result or a SQLite error, no crash.
TEST(Fuzz, FunctionsTakeAnyArguments)
{
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    dao::sql::registerJetFunctions(db);
    std::vector<std::pair<std::string, int>> functions;
    sqlite3_stmt* list = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT name, narg FROM pragma_function_list WHERE name LIKE 'jet\\_%' ESCAPE '\\'",
                                 -1, &list, nullptr),
              SQLITE_OK);
    while (sqlite3_step(list) == SQLITE_ROW)
        functions.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)), sqlite3_column_int(list, 1));
    sqlite3_finalize(list);
    ASSERT_GT(functions.size(), 50u);
    const std::string values[] = {
        "NULL", "0", "-1", "1", "7", "2147483648", "9223372036854775807", "-9223372036854775808", "1e308", "-1e308",
        "0.5", "2.5", "-2.5", "1e-300", "2958465.99", "-657435", "''", "'text'", "'Müller'", "X'FF80'", "CAST(X'C3' AS TEXT)",
        "'12/31/1899'", "'15.01.2003 13:05'", "'yyyy-mm-dd hh:nn:ss ww q y'", "'#,##0.00;(0);\"zero\"'", "'0.00%'",
        "'\\'", "'\"'", "'ww'", "'yyyy'", "'m'", "'h'", "'s'", "'&H7FFFFFFFFFFFFFFF'", "' 1 2 3e400'", "'1e5000'",
        "'[a-'", "'*?#[!]'", "'Short Date'", "'True'", "1000001", "-1000001"};
    const char* seedEnv = std::getenv("QUILLSTOCK_FUZZ_SEED");
    std::mt19937 rng(seedEnv ? static_cast<unsigned>(std::strtoul(seedEnv, nullptr, 10)) : 4711u);
    std::uniform_int_distribution<size_t> pick(0, std::size(values) - 1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    int calls = 0;
    while (std::chrono::steady_clock::now() < deadline && calls < 100000) {
        for (const auto& [name, arity] : functions) {
            const int n = arity >= 0 ? arity : static_cast<int>(rng() % 5);
            std::string sql = "SELECT " + name + "(";
            for (int i = 0; i < n; ++i)
                sql += (i ? ", " : "") + values[pick(rng)];
            sql += ")";
            if (name == "jet_first" || name == "jet_last" || name.rfind("jet_std", 0) == 0 || name.rfind("jet_var", 0) == 0)
                sql += " FROM (SELECT 1 UNION ALL SELECT 2)";
            sqlite3_stmt* stmt = nullptr;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
                while (sqlite3_step(stmt) == SQLITE_ROW) {
                }
            }
            sqlite3_finalize(stmt);
            ++calls;
        }
    }
    sqlite3_close(db);
    EXPECT_GT(calls, 1000);
}

TEST(Fuzz, DeepNestingIsRefusedNotOverflowed)
{
    const dao::sql::TableResolver resolve = [](const dao::sql::TableRef& r) {
        return dao::sql::ResolvedTable{"\"" + r.name + "\"", "main", r.name, std::nullopt};
    };
    EXPECT_THROW(dao::sql::translate("SELECT " + std::string(100000, '(') + "1" + std::string(100000, ')'), resolve),
                 dao::DaoError);
    EXPECT_THROW(dao::sql::translate("SELECT " + std::string(100000, '-') + "1", resolve), dao::DaoError);
    std::string joins = "SELECT * FROM a";
    for (int i = 0; i < 5000; ++i)
        joins += " INNER JOIN b ON 1 = 1";
    EXPECT_THROW(dao::sql::translate(joins, resolve), dao::DaoError);
    EXPECT_NO_THROW(dao::sql::translate("SELECT " + std::string(50, '(') + "1" + std::string(50, ')'), resolve));
}

} // namespace
