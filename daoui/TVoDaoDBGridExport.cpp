// Export and mail from the DAO grid: the dataset's fields are exported as
// the grid shows them.
#include "daoui/TVoDaoDBGrid.h"

#include "daodata/TVoDaoTable.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"
#include "framework/ui/TApplication.h"
#include "platform/Mail.h"

#include <QDir>
#include <QFile>

void TVoDaoDBGrid::WithGridFields(TVoDaoTable& table, const std::function<void()>& work)
{
    // A field shows in the export when its column shows in the grid (names compared exactly).
    struct Change {
        TField* field;
        bool visible;
    };
    std::vector<Change> changes;
    const TExportMethod method = table.ExportMethod;
    table.DisableControls(); // the grid keeps its columns while the fields change for the export
    auto undo = [&] {
        for (const Change& change : changes)
            change.field->SetVisible(change.visible);
        table.ExportMethod = method;
        table.EnableControls();
    };
    try {
        for (TField* field : table.Fields()) {
            const int column = Columns().IndexOfField(field->FieldName());
            const bool shown = column >= 0 && Columns()[column].Visible;
            if (field->Visible() != shown) {
                changes.push_back({field, field->Visible()});
                field->SetVisible(shown);
            }
        }
        table.ExportMethod = VisibleFields;
        work();
    } catch (...) {
        undo();
        throw;
    }
    undo();
}

void TVoDaoDBGrid::SaveAsClick()
{
    TVoDaoTable* table = OpenTable();
    if (!table || table->IsEmpty() || !m_dialogs.exportForGrid)
        return;
    WithGridFields(*table, [&] { m_dialogs.exportForGrid(*table, *this, m_defaultExportDir); });
}

void TVoDaoDBGrid::MailClick()
{
    TVoDaoTable* table = OpenTable();
    if (!table || table->IsEmpty())
        return;
    QString name = table->TableName();
    if (name.isEmpty())
        name = table->QueryDefName();
    if (name.isEmpty())
        name = QStringLiteral("Table");
    // The attachments get a folder of their own in the temporary folder: the
    // mail program reads them after the hand-off, so they stay until the
    // next mail or until the grid goes (the folder is removed then).
    m_mailFolder = std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("quillstock-mail-XXXXXX")));
    if (!m_mailFolder->isValid()) {
        m_mailFolder.reset();
        DatabaseError(QStringLiteral("Cannot create a temporary folder for the mail attachments!"));
    }
    const QString xls = m_mailFolder->filePath(name + QStringLiteral(".xls"));
    const QString htm = m_mailFolder->filePath(name + QStringLiteral(".htm"));
    try {
        WithGridFields(*table, [&] {
            table->ExportToExcel(xls, name, 8, false, true);
            table->ExportToHTML(htm, false, true);
        });
    } catch (...) {
        m_mailFolder.reset();
        throw;
    }
    QFile::remove(m_mailFolder->filePath(QStringLiteral("schema.ini")));
    if (!platform::composeMail(table->TableName(), {xls, htm})) {
        m_mailFolder.reset();
        if (Application)
            Application->MessageBox(
                QStringLiteral("No mail program was found (xdg-email is not installed): nothing was sent."));
    }
}
