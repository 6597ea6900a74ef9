// quillstock-browse DATABASE [TABLE | "SELECT …"]
//
// Shows one dataset of an Access or engine database in the data grid with
// its menu: a table opens as a table-type recordset on its primary index (so
// that index arrows, Seek and the index choice apply), a SELECT statement as
// a dynaset. Without a second argument the tables are listed to choose from.
#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "daoui/TVoDaoDBGrid.h"
#include "framework/data/TDataSource.h"
#include "framework/ui/GuardedApplication.h"
#include "framework/ui/QtInteraction.h"
#include "framework/ui/TApplication.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <cstdio>

namespace {

const QString kTitle = QStringLiteral("quillstock-browse");

void usage()
{
    std::fprintf(stderr, "usage: quillstock-browse DATABASE [TABLE | \"SELECT ...\"]\n"
                         "  shows a table (table-type recordset on its primary index) or the result of a\n"
                         "  SELECT statement (dynaset) in the data grid; without TABLE the tables are listed\n");
}

bool isStatement(const QString& source)
{
    return source.trimmed().startsWith(QStringLiteral("SELECT"), Qt::CaseInsensitive);
}

// The table to show, chosen from a list; empty when the user cancels.
QString chooseTable(const QStringList& tables, const QString& database)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("%1 – %2").arg(QFileInfo(database).fileName(), kTitle));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Tables:"), &dialog));
    auto* list = new QListWidget(&dialog);
    list->addItems(tables);
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    dialog.resize(320, 400);
    if (Application->interaction().execDialog(dialog) != QDialog::Accepted || !list->currentItem())
        return {};
    return list->currentItem()->text();
}

// The primary index of a table; without one its first unique index, then its first index.
QString browseIndex(const TVoDaoTable& table)
{
    const TVoDaoIndexDefs defs = table.IndexDefs();
    for (const auto& wanted : {&TVoDaoIndexDef::Primary, &TVoDaoIndexDef::Unique})
        for (const TVoDaoIndexDef& def : defs)
            if (def.*wanted)
                return def.Name;
    return defs.isEmpty() ? QString() : defs.front().Name;
}

} // namespace

int main(int argc, char** argv)
{
    GuardedApplication qtApp(argc, argv);
    TApplication app(std::make_unique<QtInteraction>());
    app.Title = kTitle;
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.size() > 2 || args.front().startsWith(QLatin1Char('-'))) {
        usage();
        return 2;
    }
    const QString path = args[0];
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr, "quillstock-browse: %s: no such file\n", qPrintable(path));
        return 1;
    }

    TVoDaoDatabase database(QStringLiteral("DB_Browse"));
    TVoDaoTable table(QStringLiteral("TB_Browse"));
    TDataSource source;
    try {
        database.SetVersion(QStringLiteral("3.6"));
        database.SetDatabase(QFileInfo(path).absoluteFilePath());
        database.SetConnected(true);
        QString what = args.size() > 1 ? args[1] : chooseTable(database.TableNames(), path);
        if (what.isEmpty())
            return 0;
        table.SetDatabase(&database);
        if (isStatement(what)) {
            table.SetSQL(what);
            what = QStringLiteral("SELECT");
        } else {
            table.SetTableType(1);
            table.SetTableName(what);
            table.SetIndexName(browseIndex(table));
        }
        source.SetDataSet(&table);

        QWidget window;
        window.setWindowTitle(QStringLiteral("%1 – %2 – %3").arg(what, QFileInfo(path).fileName(), kTitle));
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* grid = new TVoDaoDBGrid(&window);
        grid->setObjectName(QStringLiteral("Grid"));
        grid->SetDataSource(&source);
        layout->addWidget(grid);
        auto* status = new QLabel(&window);
        status->setContentsMargins(6, 2, 6, 2);
        layout->addWidget(status);
        table.Open();
        auto showStatus = [&] {
            status->setText(table.Active() ? QStringLiteral("%1 records%2%3")
                                                 .arg(table.RecordCount())
                                                 .arg(table.IndexName().isEmpty()
                                                          ? QString()
                                                          : QStringLiteral(" – index ") + table.IndexName())
                                                 .arg(table.ReadOnly() ? QStringLiteral(" – read only") : QString())
                                           : QString());
        };
        showStatus();
        source.OnDataChange = [&](TDataSource*, TField*) { showStatus(); };
        window.resize(900, 600);
        window.show();
        grid->setFocus();
        const int result = qtApp.exec();
        source.OnDataChange = nullptr;
        return result;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillstock-browse: %s\n", e.what());
        return 1;
    }
}
