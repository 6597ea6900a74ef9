#include "app/DemoCatalogue.h"

#include "app/DemoCatalogueRecords.h"
#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/DaoError.h"
#include "engine/Database.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <type_traits>
#include <vector>

namespace demo {
namespace {

std::string utf8(const QString& s) { return s.toUtf8().toStdString(); }

// The engine makes the tables, so that their Jet types, sizes and indexes
// are recorded as for any table it creates.
void createTables(const QString& path)
{
    dao::DBEngine engine;
    auto db = engine.createDatabase(utf8(path), dao::dbLangGeneral);
    try {
        for (const char* ddl : {
                 "CREATE TABLE TITEL (Buchungsnummer LONG, HAUPTTITEL TEXT(255), HAUPTEINTRAG TEXT(50), "
                 "VERLAG TEXT(100), JAHR SHORT, ERFASST DATETIME, CONSTRAINT PrimaryKey PRIMARY KEY (Buchungsnummer))",
                 "CREATE TABLE EXEMPLAR (EXEMPLARNUMMER LONG, TITEL LONG, STANDORT TEXT(30), PREIS CURRENCY, "
                 "AUSGELIEHEN BIT NOT NULL)",
                 "CREATE UNIQUE INDEX EXEMPLARNUMMER ON EXEMPLAR (EXEMPLARNUMMER)",
                 "CREATE INDEX TITEL ON EXEMPLAR (TITEL)",
                 "CREATE TABLE [Benutzer Daten] ([Benutzer Nr] LONG CONSTRAINT PrimaryKey PRIMARY KEY, "
                 "Anmeldename TEXT(20), [Voller Name] TEXT(50), [Letzte Anmeldung] DATETIME)",
                 "INSERT INTO [Benutzer Daten] VALUES (1, 'bkoehler', 'Köhler, Bärbel', #3/2/2024 08:15:00#)",
                 "INSERT INTO [Benutzer Daten] VALUES (2, 'jbrueckner', 'Brückner, Jörg', #3/4/2024 17:45:30#)",
                 "INSERT INTO [Benutzer Daten] VALUES (3, 'gast', Null, Null)",
             })
            db->execute(ddl, dao::dbFailOnError);
        db->close();
    } catch (...) {
        db->close();
        throw;
    }
}

// The rows go in through SQLite's own interface: one prepared statement per
// table inside one transaction, which writes a million copies in seconds
// where a statement of the engine per row would take minutes. The values are
// stored as the engine stores them: text as UTF-8, currency and dates as
// numbers (dates as days since 1899-12-30), Yes/No as -1 and 0.
class RowWriter {
public:
    explicit RowWriter(const QString& path) : path_(utf8(path))
    {
        if (sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
            fail();
        // While the file is being made nobody else reads it, and an
        // interrupted run leaves a file that is thrown away: no journal.
        run("PRAGMA journal_mode = OFF");
        run("PRAGMA synchronous = OFF");
        run("PRAGMA cache_size = -131072");
        // The engine's type, range and size checks on every column cost more
        // than the insert itself; the generated values keep them by making.
        run("PRAGMA ignore_check_constraints = ON");
        run("BEGIN");
        // Indexes are quicker built once over all rows than kept up to date
        // row by row, and the trigger that rounds currency values to four
        // places has nothing to do with whole cents. Both are put back before
        // the commit, as the engine made them.
        deferred_ = indexesAndTriggers();
        for (const auto& [type, name, sql] : deferred_)
            run(("DROP " + type + " \"" + name + "\"").c_str());
        title_ = prepare("INSERT INTO \"TITEL\" (\"Buchungsnummer\", \"HAUPTTITEL\", \"HAUPTEINTRAG\", \"VERLAG\", "
                         "\"JAHR\", \"ERFASST\") VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
        copy_ = prepare("INSERT INTO \"EXEMPLAR\" (\"EXEMPLARNUMMER\", \"TITEL\", \"STANDORT\", \"PREIS\", "
                        "\"AUSGELIEHEN\") VALUES (?1, ?2, ?3, ?4, ?5)");
    }
    ~RowWriter()
    {
        sqlite3_finalize(title_);
        sqlite3_finalize(copy_);
        if (db_)
            sqlite3_close_v2(db_);
    }
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    void write(const TitleRecord& t)
    {
        sqlite3_bind_int(title_, 1, t.buchungsnummer);
        bind(title_, 2, t.haupttitel);
        bind(title_, 3, t.haupteintrag);
        bind(title_, 4, t.verlag);
        bind(title_, 5, t.jahr);
        sqlite3_bind_double(title_, 6, t.erfasst);
        step(title_);
    }

    void write(const CopyRecord& c)
    {
        sqlite3_bind_int(copy_, 1, c.exemplarnummer);
        bind(copy_, 2, c.titel);
        bind(copy_, 3, c.standort);
        bind(copy_, 4, c.preisCents ? std::optional<double>(double(*c.preisCents) / 100.0) : std::nullopt);
        sqlite3_bind_int(copy_, 5, c.ausgeliehen ? -1 : 0);
        step(copy_);
    }

    // Commits, gives the file a rollback journal and closes it cleanly. A
    // catalogue is read, not written: readers of a file in rollback mode leave
    // no journal files beside it (the engine puts a database it opens for
    // writing into WAL mode itself).
    void finish()
    {
        for (const auto& [type, name, sql] : deferred_)
            run(sql.c_str());
        run("COMMIT");
        run("PRAGMA journal_mode = DELETE");
        sqlite3_finalize(title_);
        sqlite3_finalize(copy_);
        title_ = copy_ = nullptr;
        const int rc = sqlite3_close(db_);
        db_ = nullptr;
        if (rc != SQLITE_OK)
            throw dao::DaoError(3051, "The demo catalogue '" + path_ + "' could not be closed.");
    }

private:
    [[noreturn]] void fail()
    {
        const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
        throw dao::DaoError(3051, "The demo catalogue '" + path_ + "' cannot be written: " + why + ".");
    }
    void run(const char* sql)
    {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail();
    }
    sqlite3_stmt* prepare(const char* sql)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK)
            fail();
        return st;
    }
    // A value or null.
    template <typename T> static void bind(sqlite3_stmt* st, int index, const std::optional<T>& value)
    {
        if (!value)
            sqlite3_bind_null(st, index);
        else if constexpr (std::is_same_v<T, std::string>)
            sqlite3_bind_text(st, index, value->data(), int(value->size()), SQLITE_STATIC); // kept until the step
        else if constexpr (std::is_same_v<T, double>)
            sqlite3_bind_double(st, index, *value);
        else
            sqlite3_bind_int(st, index, *value);
    }
    void step(sqlite3_stmt* st)
    {
        if (sqlite3_step(st) != SQLITE_DONE)
            fail();
        sqlite3_reset(st);
    }

    struct SchemaObject {
        std::string type, name, sql;
    };
    std::vector<SchemaObject> indexesAndTriggers()
    {
        std::vector<SchemaObject> out;
        sqlite3_stmt* st = prepare("SELECT upper(type), name, sql FROM sqlite_master WHERE type IN ('index', "
                                   "'trigger') AND tbl_name IN ('TITEL', 'EXEMPLAR') AND sql IS NOT NULL");
        while (sqlite3_step(st) == SQLITE_ROW)
            out.push_back({reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                           reinterpret_cast<const char*>(sqlite3_column_text(st, 1)),
                           reinterpret_cast<const char*>(sqlite3_column_text(st, 2))});
        sqlite3_finalize(st);
        return out;
    }

    std::string path_;
    std::vector<SchemaObject> deferred_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* title_ = nullptr;
    sqlite3_stmt* copy_ = nullptr;
};

} // namespace

QString DemoCatalogueFileName() { return QStringLiteral("Demo-Katalog.mdb"); }

DemoCatalogueSize CreateDemoCatalogue(const QString& path, long copies)
{
    if (QFileInfo::exists(path))
        throw dao::DaoError(3204, "Database already exists.");
    // Made under another name and renamed when complete: an interrupted run
    // leaves no half-filled catalogue under the real name.
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    DemoCatalogueSize size;
    try {
        createTables(partial);
        RowWriter writer(partial);
        DemoCatalogueRecords records(copies);
        TitleRecord title;
        CopyRecord copy;
        bool isTitle = false;
        while (records.next(title, copy, isTitle)) {
            if (isTitle)
                writer.write(title);
            else
                writer.write(copy);
        }
        writer.finish();
        size.copies = records.copiesWritten();
        size.titles = records.titlesWritten();
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw dao::DaoError(3051, "The demo catalogue '" + utf8(path) + "' cannot be written.");
    }
    return size;
}

} // namespace demo
