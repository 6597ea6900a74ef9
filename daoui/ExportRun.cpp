#include "daoui/ExportRun.h"

#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "framework/data/TField.h"
#include "platform/ProfileFile.h"

#include <QFile>

namespace {

// The locale of a new Access database: US English, code page 1252.
QString newDatabaseLocale()
{
    return QStringLiteral(";LANGID=%1;CP=%2;COUNTRY=%3").arg(QStringLiteral("0x0409"), QStringLiteral("1252"),
                                                             QStringLiteral("0"));
}

// Makes the database the export is to go into; it is removed again, with
// the engine's side files, unless Keep is called.
class NewDatabase {
public:
    NewDatabase(TVoDaoDatabase& connection, const QString& fileName) : fileName_(fileName)
    {
        // The file format of the engine version: Jet 3 (dbVersion30) or Jet 4 (dbVersion40).
        const int format = connection.Version() == QLatin1String("3.5") ? 32 : 64;
        connection.CreateDatabase(fileName, newDatabaseLocale(), format);
    }
    ~NewDatabase()
    {
        if (keep_)
            return;
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            QFile::remove(fileName_ + QLatin1String(suffix));
    }
    NewDatabase(const NewDatabase&) = delete;
    NewDatabase& operator=(const NewDatabase&) = delete;
    void Keep() { keep_ = true; }

private:
    QString fileName_;
    bool keep_ = false;
};

void exportToAccess(TVoDaoTable& table, const TExportRequest& request)
{
    if (QFile::exists(request.FileName) || !table.Database()) {
        table.ExportToDatabase(request.FileName, request.TargetTable, request.Blobs, request.Overwrite);
        return;
    }
    NewDatabase target(*table.Database(), request.FileName);
    table.ExportToDatabase(request.FileName, request.TargetTable, request.Blobs, false);
    target.Keep();
}

// Text and HTML: the first export writes the file and the engine's own
// entries; the second writes it again under the dialog's entries.
void exportWithSchema(TVoDaoTable& table, const TExportRequest& request,
                      void (TVoDaoTable::*exportTo)(const QString&, bool, bool))
{
    (table.*exportTo)(request.FileName, request.Blobs, request.Overwrite);
    WriteSchemaEntries(request.FileName, request.Schema, table.FieldCount());
    (table.*exportTo)(request.FileName, request.Blobs, true);
}

} // namespace

void WithExportColumns(TVoDaoTable& table, const QList<TExportColumn>& columns, const std::function<void()>& work)
{
    struct Change {
        TField* field;
        bool visible;
    };
    std::vector<Change> changes;
    table.DisableControls();
    auto restore = [&] {
        for (auto change = changes.rbegin(); change != changes.rend(); ++change)
            change->field->SetVisible(change->visible);
        table.EnableControls();
    };
    try {
        for (const TExportColumn& column : columns) {
            TField* field = table.FindField(column.FieldName);
            if (!field || field->Visible() == column.Checked)
                continue;
            changes.push_back({field, field->Visible()});
            field->SetVisible(column.Checked);
        }
        work();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void WriteSchemaEntries(const QString& fileName, const TSchemaEntries& entries, int columnCount)
{
    const int slash = fileName.lastIndexOf(QLatin1Char('/'));
    const platform::ProfileFile ini(fileName.left(slash + 1) + QStringLiteral("schema.ini"));
    const QString section = fileName.mid(slash + 1);
    ini.writeString(section, QStringLiteral("ColNameHeader"),
                    entries.FieldNames ? QStringLiteral("True") : QStringLiteral("False"));
    ini.writeString(section, QStringLiteral("MaxScanRows"), QStringLiteral("0"));
    ini.writeString(section, QStringLiteral("Format"), entries.Format);
    ini.writeString(section, QStringLiteral("CharacterSet"), entries.CharacterSet);
    if (entries.Format != QLatin1String("FixedLength"))
        return;
    for (int i = 1; i <= columnCount; ++i) {
        const QString key = QStringLiteral("Col") + QString::number(i);
        const QString column = ini.readString(section, key, QString());
        if (!column.isEmpty() && !column.contains(QLatin1String("width "), Qt::CaseInsensitive))
            ini.writeString(section, key, column + QStringLiteral(" Width ") + entries.Width);
    }
}

bool RunExport(TVoDaoTable& table, const TExportRequest& request)
{
    if (request.FileName.isEmpty())
        return false;
    const TExportType& type = request.Type;
    switch (type.Kind) {
    case TExportKind::Excel:
        if (request.SheetName.isEmpty())
            return false;
        table.ExportToExcel(request.FileName, request.SheetName, type.Version, request.Blobs, request.Overwrite);
        break;
    case TExportKind::Paradox:
        table.ExportToParadox(request.FileName, type.Version, request.Blobs, request.Overwrite);
        break;
    case TExportKind::DBase:
        table.ExportToDBase(request.FileName, type.Version, request.Blobs, request.Overwrite);
        break;
    case TExportKind::FoxPro:
        table.ExportToFoxPro(request.FileName, type.Version, request.Blobs, request.Overwrite);
        break;
    case TExportKind::Html: exportWithSchema(table, request, &TVoDaoTable::ExportToHTML); break;
    case TExportKind::Text: exportWithSchema(table, request, &TVoDaoTable::ExportToText); break;
    case TExportKind::Access: exportToAccess(table, request); break;
    }
    return true;
}
