// Export operations: each builds one SELECT … INTO … IN … statement and lets
// the engine's installable formats write the target.
#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "daodata/VoDaoReplacedFiles.h"
#include "daodata/VoDaoSqlText.h"
#include "engine/Database.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"

#include <QDir>

#include <chrono>
#include <exception>

namespace {

// The folder part (up to and including the last "/") and the name part.
struct SplitName {
    QString folder, name;
};

SplitName splitFileName(const QString& fileName)
{
    const int slash = fileName.lastIndexOf(QLatin1Char('/'));
    return {fileName.left(slash + 1), fileName.mid(slash + 1)};
}

// A path inside the statement's double quotes: a double quote in a folder
// or file name is written twice, as the engine's string syntax wants.
QString inQuotes(QString path) { return path.replace(QLatin1Char('"'), QStringLiteral("\"\"")); }

QString baseName(const QString& namePart)
{
    const int dot = namePart.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? namePart : namePart.left(dot);
}

// Milliseconds since an arbitrary start, wrapping at 32 bits like a tick counter.
quint32 tickCount()
{
    using namespace std::chrono;
    return static_cast<quint32>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

QString connectPart(const char* const table[][2], int count, int version)
{
    for (int i = 0; i < count; ++i)
        if (QString::number(version) == QLatin1String(table[i][0]))
            return QString::fromLatin1(table[i][1]);
    return {};
}

} // namespace

QString TVoDaoTable::ExportFieldList(bool exportBlobs) const
{
    if (ExportMethod == AllFields)
        return QStringLiteral("*");
    QString list;
    const int count = FieldCount();
    for (int i = 0; i < count; ++i) {
        const TField* field = Fields()[i];
        if (field->FieldKind() != fkData || !field->Visible() || (!exportBlobs && field->DataType() == ftBlob))
            continue;
        list += QLatin1Char(' ') + vodao::Bracketed(field->FieldName(), UseBrackets);
        if (i != count - 1)
            list += QLatin1Char(',');
    }
    if (list.endsWith(QLatin1Char(',')))
        list.chop(1);
    return list;
}

QString TVoDaoTable::CheckedExportFields(bool exportBlobs) const
{
    if (!Active())
        DatabaseError(QStringLiteral("Table must be open in order to export data!"));
    const QString fields = ExportFieldList(exportBlobs);
    if (fields.isEmpty())
        DatabaseError(QStringLiteral("There are no visible fields to export!"));
    return fields;
}

QStringList TVoDaoTable::ExportStatementLines(const QString& statement) const
{
    QStringList lines{statement};
    if (Filtered() && !Filter().isEmpty())
        lines << QStringLiteral(" WHERE ") + Filter();
    // The file holds the rows in the order the user sorted the dataset in.
    if (!SortedBy().isEmpty())
        lines << QStringLiteral(" ORDER BY ") + SortText();
    lines << QStringLiteral(";");
    return lines;
}

void TVoDaoTable::WithExportSource(const std::function<void(const QString& source)>& body, bool withTransaction)
{
    if (!tableName_.isEmpty()) {
        body(tableName_);
        return;
    }
    if (!queryDefName_.isEmpty()) {
        body(queryDefName_);
        return;
    }
    CheckSqlConnection();
    auto core = database_->CoreDatabase();
    const QString name = QStringLiteral("Query") + QString::number(tickCount());
    bool began = false, made = false;
    std::exception_ptr failure;
    try {
        if (withTransaction) {
            try {
                core->beginTrans();
                began = true;
            } catch (const std::exception&) {
                // A database that refuses a transaction is exported without one.
            }
        }
        database_->CreateQueryDef(name, SQLText());
        made = true;
        body(name);
    } catch (...) {
        failure = std::current_exception();
    }
    if (made) {
        try {
            database_->DeleteQueryDef(name);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    // Rolled back whenever it was begun, also when the query could not be
    // made: an open transaction would otherwise hold every later write.
    if (began) {
        try {
            core->rollback();
        } catch (const std::exception&) {
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

void TVoDaoTable::SetAsideTableFiles(vodao::ReplacedFiles& replaced, ExportKind kind, const QString& folder,
                                     const QString& base)
{
    // The table file first, then the files that belong to it.
    static const char* const paradox[] = {".db", ".mb", ".px", ".val"};
    static const char* const dbase[] = {".dbf", ".dbt", ".ndx", ".ntx", ".mdx"};
    static const char* const foxpro[] = {".dbf", ".fpt", ".cdx"};
    QList<const char*> extensions;
    if (kind == ExportKind::Paradox)
        extensions = {std::begin(paradox), std::end(paradox)};
    else if (kind == ExportKind::DBase)
        extensions = {std::begin(dbase), std::end(dbase)};
    else
        extensions = {std::begin(foxpro), std::end(foxpro)};
    // These files come from systems that ignore case: KUNDEN.DB is the old kunden.db.
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList present = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (int i = 0; i < extensions.size(); ++i) {
        const QString wanted = base + QLatin1String(extensions[i]);
        for (const QString& name : present) {
            if (name.compare(wanted, Qt::CaseInsensitive) != 0 || replaced.SetAside(folder + name))
                continue;
            // A table file that stays is refused by the engine. An index, memo
            // or validity file that stayed would sit beside the new table and
            // describe the old rows: refuse the export instead.
            if (i > 0)
                DatabaseError(QStringLiteral("Cannot delete file %1!").arg(folder + name));
        }
    }
}

void TVoDaoTable::ExportToFile(ExportKind kind, const QString& fileName, const QString& sheetName,
                               const QString& connect, bool exportBlobs, bool deleteOld)
{
    const QString fields = CheckedExportFields(exportBlobs);
    const bool wholeFile = kind == ExportKind::Text || kind == ExportKind::Html || kind == ExportKind::Excel;
    // DeleteOld's files are only set aside here and deleted once the new file
    // is complete: a failed export leaves the old target where it was. An old
    // target that cannot go is left to the engine, which refuses to write over
    // an existing table.
    vodao::ReplacedFiles replaced;
    if (wholeFile && deleteOld)
        replaced.SetAside(fileName);

    WithExportSource(
        [&](const QString& source) {
            // One-pass arg(): a "%1" inside a file name stays as it is.
            QString statement;
            if (kind == ExportKind::Excel) {
                statement = QStringLiteral("Select %1 INTO [%2] IN \"%3\"[%4] FROM [%5]")
                                .arg(fields, sheetName, inQuotes(fileName), connect, source);
            } else {
                auto [folder, name] = splitFileName(fileName);
                if (deleteOld && !wholeFile)
                    SetAsideTableFiles(replaced, kind, folder, baseName(name));
                if (folder.isEmpty())
                    folder = QStringLiteral(".");
                if (kind == ExportKind::Text && name.isEmpty())
                    DatabaseError(QStringLiteral("FileName is empty!"));
                if (kind == ExportKind::Text) {
                    statement = QStringLiteral("Select %1 INTO [%2] IN \"%3\"[Text;] FROM [%4]")
                                    .arg(fields, QString(name).replace(QLatin1Char('.'), QLatin1Char('#')),
                                         inQuotes(folder), source);
                } else if (kind == ExportKind::Html) {
                    statement = QStringLiteral("Select %1 INTO [%2] IN \"%3\"[HTML Export;] FROM [%4]")
                                    .arg(fields, name, inQuotes(folder), source);
                } else {
                    statement = QStringLiteral("Select %1 INTO [%2] IN \"%3\"[%4] FROM [%5]")
                                    .arg(fields, name, inQuotes(folder), connect, source);
                }
            }
            ExecSQL(ExportStatementLines(statement));
        },
        true);
    replaced.Release();
}

void TVoDaoTable::ExportToText(const QString& FileName, bool ExportBlobs, bool DeleteOld)
{
    ExportToFile(ExportKind::Text, FileName, {}, {}, ExportBlobs, DeleteOld);
}

void TVoDaoTable::ExportToHTML(const QString& FileName, bool ExportBlobs, bool DeleteOld)
{
    ExportToFile(ExportKind::Html, FileName, {}, {}, ExportBlobs, DeleteOld);
}

void TVoDaoTable::ExportToExcel(const QString& FileName, const QString& SheetName, int Version, bool ExportBlobs,
                                bool DeleteOld)
{
    static const char* const versions[][2] = {{"3", "Excel 3.0;"}, {"4", "Excel 4.0;"}, {"5", "Excel 5.0;"}};
    QString connect = connectPart(versions, 3, Version);
    if (connect.isEmpty())
        connect = QStringLiteral("Excel 8.0;");
    ExportToFile(ExportKind::Excel, FileName, SheetName, connect, ExportBlobs, DeleteOld);
}

void TVoDaoTable::ExportToParadox(const QString& FileName, int Version, bool ExportBlobs, bool DeleteOld)
{
    static const char* const versions[][2] = {
        {"3", "Paradox 3.X;"}, {"4", "Paradox 4.X;"}, {"5", "Paradox 5.X;"}, {"7", "Paradox 7.X;"}};
    const QString connect = connectPart(versions, 4, Version);
    if (connect.isEmpty())
        DatabaseError(QStringLiteral("Invalid Paradox version %1!").arg(Version));
    ExportToFile(ExportKind::Paradox, FileName, {}, connect, ExportBlobs, DeleteOld);
}

void TVoDaoTable::ExportToDBase(const QString& FileName, int Version, bool ExportBlobs, bool DeleteOld)
{
    static const char* const versions[][2] = {{"3", "dBase III;"}, {"4", "dBase IV;"}, {"5", "dBase 5.0;"}};
    const QString connect = connectPart(versions, 3, Version);
    if (connect.isEmpty())
        DatabaseError(QStringLiteral("Invalid dBase version %1!").arg(Version));
    ExportToFile(ExportKind::DBase, FileName, {}, connect, ExportBlobs, DeleteOld);
}

void TVoDaoTable::ExportToFoxPro(const QString& FileName, int Version, bool ExportBlobs, bool DeleteOld)
{
    static const char* const versions[][2] = {
        {"20", "FoxPro 2.0;"}, {"25", "FoxPro 2.5;"}, {"26", "FoxPro 2.6;"}, {"30", "FoxPro 3.0;"}};
    const QString connect = connectPart(versions, 4, Version);
    if (connect.isEmpty())
        DatabaseError(QStringLiteral("Invalid FoxPro version %1!").arg(Version));
    ExportToFile(ExportKind::FoxPro, FileName, {}, connect, ExportBlobs, DeleteOld);
}

void TVoDaoTable::ExportToDatabase(const QString& DatabaseFile, const QString& TargetTable, bool ExportBlobs,
                                   bool DeleteOld)
{
    const QString fields = CheckedExportFields(ExportBlobs);
    if (DeleteOld) {
        try {
            ExecSQL({QStringLiteral("DROP TABLE [") + DatabaseFile + QStringLiteral("].[") + TargetTable +
                     QStringLiteral("];")});
        } catch (const std::exception&) {
            // No such table yet: nothing to remove.
        }
    }
    WithExportSource(
        [&](const QString& source) {
            ExecSQL(ExportStatementLines(QStringLiteral("Select %1 INTO [%2].[%3] FROM [%4]")
                                             .arg(fields, DatabaseFile, TargetTable, source)));
        },
        false);
}
