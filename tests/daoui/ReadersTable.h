#pragma once
// An engine-made database of readers with a two-field index (Ort, Name) and
// a table of notes without any index.
#include "tests/daoui/DialogTestSupport.h"
#include "tests/support/EngineRows.h"

namespace daouitest {

struct ReadersTable : WithUser {
    testsupport::TempFolder dir;
    TVoDaoDatabase db{"DB_Leser"};
    TVoDaoTable table{"TB_Leser"};

    ReadersTable()
    {
        const QString path = dir.file("leser.mdb");
        testsupport::createDatabase(
            path, {"CREATE TABLE Leser (ID COUNTER PRIMARY KEY, Ort TEXT(30), Name TEXT(50), Seit DATETIME)",
                   "CREATE INDEX OrtName ON Leser (Ort, Name)", "CREATE TABLE Notiz (NR LONG, Text TEXT(50))",
                   "INSERT INTO Leser (Ort, Name) VALUES (NULL, 'Albers')",
                   "INSERT INTO Leser (Ort, Name) VALUES ('Berlin', 'Müller')",
                   "INSERT INTO Leser (Ort, Name) VALUES (NULL, 'Müller')",
                   "INSERT INTO Leser (Ort, Name) VALUES ('Bonn', 'Adler')",
                   "INSERT INTO Leser (Ort, Name) VALUES ('Aachen', 'Zander')",
                   "INSERT INTO Notiz (NR, Text) VALUES (1, 'eins')"});
        db.ProgramFolder = dir.path();
        db.SetDatabase(path);
        db.SetConnected(true);
        table.SetDatabase(&db);
    }
    ~ReadersTable() override { table.Close(); }

    // The table as a table-type recordset in the order of the index named.
    void openTable(const QString& name, const QString& index)
    {
        table.SetTableName(name);
        table.SetTableType(1);
        table.SetIndexName(index);
        table.Open();
    }
    int id() const { return table.FieldByName("ID")->AsInteger(); }
};

} // namespace daouitest
