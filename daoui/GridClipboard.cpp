#include "daoui/GridClipboard.h"

#include "daodata/TVoDaoTable.h"
#include "daodata/VoDaoFieldCaption.h"
#include "daoui/ClipboardPaste.h"
#include "daoui/ClipboardTexts.h"
#include "daoui/HeldGrid.h"
#include "daoui/TVoDaoDBGrid.h"
#include "framework/data/TField.h"
#include "framework/ui/TApplication.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QProgressDialog>
#include <QScrollBar>
#include <QStringEncoder>
#include <optional>

const QString kUtf16TextMimeType = QStringLiteral("text/plain;charset=utf-16");

namespace {

const QString kHexRecordset = QStringLiteral("HEX Recordset");
const QStringList kDataRecordsFormats{QStringLiteral("Data Records v8"), QStringLiteral("Data Records v9"),
                                      QStringLiteral("Data Records v10")};

TVoDaoTable* OpenTableOf(const TVoDaoDBGrid& grid)
{
    auto* table = dynamic_cast<TVoDaoTable*>(grid.DataSet());
    return table && table->Active() ? table : nullptr;
}

QString NoUndoQuestion(const QString& what, int records)
{
    return QStringLiteral("You are about to %1 %2 records!\r\nThere will be no undo for this operation!\r\nAre You sure?")
        .arg(what)
        .arg(records);
}

// The warning with Yes, No and Cancel; true for Yes.
bool AskWarning(const QString& text)
{
    if (!Application)
        return false;
    MessageRequest request;
    request.caption = QStringLiteral("Warning");
    request.text = text;
    request.icon = MessageIcon::Warning;
    request.buttons = {QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Cancel")};
    return Application->interaction().message(request) == 0;
}

// The table's bulk-append mode for the length of a paste; End() keeps the
// records (and reports a failed commit), leaving it otherwise keeps them too.
class BulkAppend {
public:
    explicit BulkAppend(TVoDaoTable& table) : table_(table) { table_.BeginBulkAppend(); }
    ~BulkAppend()
    {
        try {
            table_.EndBulkAppend();
        } catch (const std::exception&) {
            // Only when another error is on its way already, which is the one to report.
        }
    }
    void End() { table_.EndBulkAppend(); }
    BulkAppend(const BulkAppend&) = delete;
    BulkAppend& operator=(const BulkAppend&) = delete;

private:
    TVoDaoTable& table_;
};

// The view as it stood: its scroll position and current column.
struct ViewPosition {
    explicit ViewPosition(TVoDaoDBGrid& grid)
        : grid(grid), vertical(grid.verticalScrollBar()->value()),
          horizontal(grid.horizontalScrollBar()->value()), column(grid.SelectedIndex())
    {
    }
    void Restore() const
    {
        if (column >= 0)
            grid.SetSelectedIndex(column);
        grid.verticalScrollBar()->setValue(vertical);
        grid.horizontalScrollBar()->setValue(horizontal);
    }
    TVoDaoDBGrid& grid;
    int vertical;
    int horizontal;
    int column;
};

std::vector<TField*> ColumnFields(const TVoDaoDBGrid& grid)
{
    std::vector<TField*> fields;
    for (const TColumn& column : grid.Columns())
        fields.push_back(column.Field);
    return fields;
}

} // namespace

QString ClipboardFormatMimeType(const QString& formatName)
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(formatName);
}

QString HexRecordsetMimeType()
{
    return ClipboardFormatMimeType(kHexRecordset);
}

bool OffersClipboardFormat(const QMimeData& data, const QString& formatName)
{
    const QString qtType = ClipboardFormatMimeType(formatName);
    const QString windowsName = QStringLiteral("windows_formatname=\"%1\"").arg(formatName);
    const QStringList formats = data.formats();
    return std::any_of(formats.begin(), formats.end(), [&](const QString& format) {
        return format == qtType || format.contains(windowsName);
    });
}

QMimeData* RecordsMimeData(const TClipboardRecords& records)
{
    auto* data = new QMimeData;
    data->setText(records.Plain);
    QStringEncoder utf16(QStringEncoder::Utf16, QStringEncoder::Flag::WriteBom);
    data->setData(kUtf16TextMimeType, utf16.encode(records.Plain));
    data->setData(HexRecordsetMimeType(), records.Typed.toUtf8());
    return data;
}

std::vector<TField*> CopiedFields(const TVoDaoDBGrid& grid)
{
    std::vector<TField*> fields;
    for (TField* field : ColumnFields(grid))
        if (field && field->FieldKind() == fkData)
            fields.push_back(field);
    return fields;
}

void GridCopy(TVoDaoDBGrid& grid)
{
    TVoDaoTable* table = OpenTableOf(grid);
    if (!table || table->IsEmpty())
        return;
    const std::vector<TBookmark> bookmarks(grid.SelectedRows().begin(), grid.SelectedRows().end());
    const ViewPosition view(grid);
    TClipboardRecords records;
    try {
        HeldGrid held(grid);
        records = RenderRecords(*table, CopiedFields(grid), bookmarks, grid.OfficeClipboardFormat());
    } catch (...) {
        view.Restore();
        throw;
    }
    view.Restore();
    QGuiApplication::clipboard()->setMimeData(RecordsMimeData(records));
}

void GridCut(TVoDaoDBGrid& grid)
{
    TVoDaoTable* table = OpenTableOf(grid);
    if (!table || table->IsEmpty() || grid.ReadOnly())
        return;
    const int records = grid.SelectedRows().Count() > 0 ? grid.SelectedRows().Count() : 1;
    if (!AskWarning(NoUndoQuestion(QStringLiteral("cut"), records)))
        return;
    GridCopy(grid);
    // The grid's own deletion, with its own question.
    QKeyEvent deletion(QEvent::KeyPress, Qt::Key_Delete, Qt::ControlModifier);
    QCoreApplication::sendEvent(&grid, &deletion);
}

void GridPaste(TVoDaoDBGrid& grid)
{
    TVoDaoTable* table = OpenTableOf(grid);
    if (!table || grid.ReadOnly())
        return;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    const bool typed = data->hasFormat(HexRecordsetMimeType());
    if (!typed && !data->hasText())
        return;
    std::optional<HeldGrid> held; // from the answer Yes to the end
    std::optional<BulkAppend> bulk;
    // A long paste shows how far it is; a short one never shows the window.
    std::optional<QProgressDialog> progress;
    QElapsedTimer sinceShown;
    TPasteContext context;
    context.ColumnFields = ColumnFields(grid);
    context.FindFields = grid.FindFieldsOnPaste();
    context.Caption = [table](const TField& field) { return vodao::FieldCaption(*table, field); };
    context.Confirm = [&](int records) {
        if (!AskWarning(NoUndoQuestion(QStringLiteral("paste"), records)))
            return false;
        held.emplace(grid);
        bulk.emplace(*table);
        progress.emplace(QStringLiteral("Pasting %1 records...").arg(records), QString(), 0, records, &grid);
        progress->setCancelButton(nullptr);
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(500);
        progress->setValue(0); // starts the dialog's clock
        sinceShown.start();
        return true;
    };
    context.Progress = [&](int done, int total) {
        // The window is brought up to date at a human rate, and at the end.
        if (progress && (done == total || sinceShown.elapsed() >= 100)) {
            progress->setValue(done);
            sinceShown.restart();
        }
    };
    TPasteResult result;
    if (typed) {
        result = PasteTypedRecords(*table, QString::fromUtf8(data->data(HexRecordsetMimeType())), context);
    } else {
        const bool titleLine = std::any_of(kDataRecordsFormats.begin(), kDataRecordsFormats.end(),
                                           [&](const QString& name) { return OffersClipboardFormat(*data, name); });
        result = PasteTextRecords(*table, data->text(), titleLine, context);
    }
    if (bulk)
        bulk->End();
    bulk.reset();
    progress.reset();
    held.reset();
    if (result.Failed > 0 && Application)
        Application->MessageBox(QString::number(result.Failed) + QStringLiteral(" records was not pasted due to an error!"));
}
