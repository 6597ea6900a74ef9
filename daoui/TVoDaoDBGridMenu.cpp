// The grid's menu: its entries, the rules that enable and check them at each
// pop-up, the shortcuts and the actions that open the dataset dialogs.
#include "daoui/TVoDaoDBGrid.h"

#include "daodata/TVoDaoTable.h"
#include "framework/data/TField.h"
#include "framework/ui/GuardedCall.h"
#include "framework/ui/TApplication.h"

#include <QMenu>

namespace {

struct Shortcut {
    int key;
    int entry;
};

constexpr Shortcut kShortcuts[] = {
    {Qt::Key_A, TVoDaoDBGrid::miSelectAll},
    {Qt::Key_N, TVoDaoDBGrid::miDeselectAll},
    {Qt::Key_I, TVoDaoDBGrid::miSelectIndex},
    {Qt::Key_L, TVoDaoDBGrid::miFastLookup},
    {Qt::Key_M, TVoDaoDBGrid::miShowMemos},
    {Qt::Key_G, TVoDaoDBGrid::miShowGUIDs},
    {Qt::Key_R, TVoDaoDBGrid::miFrameIndexFields},
    {Qt::Key_Z, TVoDaoDBGrid::miAutoSizeColumns},
    {Qt::Key_O, TVoDaoDBGrid::miChooseVisibleColumns},
    {Qt::Key_S, TVoDaoDBGrid::miSaveAs},
    {Qt::Key_T, TVoDaoDBGrid::miMail},
    {Qt::Key_X, TVoDaoDBGrid::miCut},
    {Qt::Key_C, TVoDaoDBGrid::miCopy},
    {Qt::Key_V, TVoDaoDBGrid::miPaste},
};

bool IsToggle(int entry)
{
    switch (entry) {
    case TVoDaoDBGrid::miFastLookup:
    case TVoDaoDBGrid::miShowMemos:
    case TVoDaoDBGrid::miShowGUIDs:
    case TVoDaoDBGrid::miFrameIndexFields:
    case TVoDaoDBGrid::miAutoSizeColumns:
    case TVoDaoDBGrid::miOfficeClipboard: return true;
    default: return false;
    }
}

} // namespace

const QStringList& TVoDaoDBGrid::DefaultMenuTitles()
{
    static const QStringList titles{
        QStringLiteral("Select Index\tCtrl+I"),
        QStringLiteral("Sort"),
        QStringLiteral("Filter"),
        QStringLiteral("-"),
        QStringLiteral("Find"),
        QStringLiteral("Seek"),
        QStringLiteral("Quick Find"),
        QStringLiteral("Quick Seek"),
        QStringLiteral("-"),
        QStringLiteral("Fast Lookup\tCtrl+L"),
        QStringLiteral("Show Memos\tCtrl+M"),
        QStringLiteral("Show GUID's\tCtrl+G"),
        QStringLiteral("Frame Index Fields\tCtrl+R"),
        QStringLiteral("Auto Size Columns\tCtrl+Z"),
        QStringLiteral("Choose Visible Columns\tCtrl+O"),
        QStringLiteral("-"),
        QStringLiteral("Save as - export\tCtrl+S"),
        QStringLiteral("Mail as XLS/HTML\tCtrl+T"),
        QStringLiteral("-"),
        QStringLiteral("Select All\tCtrl+A"),
        QStringLiteral("Deselect All\tCtrl+N"),
        QStringLiteral("Cut\tCtrl+X"),
        QStringLiteral("Copy\tCtrl+C"),
        QStringLiteral("Paste\tCtrl+V"),
        QStringLiteral("Office-compatible Clipboard"),
    };
    return titles;
}

void TVoDaoDBGrid::BuildMenu()
{
    m_optionsMenu = new QMenu(this);
    m_optionsMenu->setObjectName(QStringLiteral("OptionsMenu"));
    for (int i = 0; i < kMenuEntries; ++i) {
        auto* entry = new QAction(m_optionsMenu);
        entry->setCheckable(IsToggle(i));
        connect(entry, &QAction::triggered, this, [this, i](bool checked) { EntryTriggered(i, checked); });
        m_optionsMenu->addAction(entry);
        m_entries[size_t(i)] = entry;
    }
    ApplyMenuTitles();
    SetDialogs(m_dialogs);
}

void TVoDaoDBGrid::ApplyMenuTitles()
{
    for (int i = 0; i < kMenuEntries; ++i) {
        QAction* entry = m_entries[size_t(i)];
        QString title = i < m_menuTitles.size() ? m_menuTitles[i] : QString();
        const bool hidden = title.startsWith(QLatin1Char('!'));
        if (hidden)
            title.remove(0, 1);
        // A "-" is a line; other titles are plain text: an "&" is shown, not taken as a mnemonic.
        const bool separator = title == QLatin1String("-");
        entry->setSeparator(separator);
        entry->setText(separator ? QString() : QString(title).replace(QLatin1Char('&'), QLatin1String("&&")));
        entry->setVisible(!hidden);
    }
}

std::vector<std::pair<int, bool>> TVoDaoDBGrid::DialogEntries() const
{
    return {
        {miSelectIndex, bool(m_dialogs.selectIndex)},
        {miSort, bool(m_dialogs.sort)},
        {miFilter, bool(m_dialogs.filter)},
        {miFind, bool(m_dialogs.findSeek)},
        {miSeek, bool(m_dialogs.findSeek)},
        {miQuickFind, bool(m_dialogs.quickFindSeek)},
        {miQuickSeek, bool(m_dialogs.quickFindSeek)},
        {miChooseVisibleColumns, bool(m_dialogs.chooseVisibleColumns)},
        {miSaveAs, bool(m_dialogs.exportForGrid)},
        {miCut, bool(m_dialogs.cut)},
        {miCopy, bool(m_dialogs.copy)},
        {miPaste, bool(m_dialogs.paste)},
    };
}

void TVoDaoDBGrid::SetDialogs(const TVoDaoGridDialogs& dialogs)
{
    m_dialogs = dialogs;
    for (const auto& [entry, there] : DialogEntries())
        MenuEntry(entry)->setEnabled(there);
}

void TVoDaoDBGrid::DisableMissingDialogs()
{
    // An entry whose dialog is not there cannot run.
    for (const auto& [entry, there] : DialogEntries())
        if (!there)
            MenuEntry(entry)->setEnabled(false);
}

void TVoDaoDBGrid::SetCheckMarks()
{
    const TVoDaoTable* table = OpenTable();
    if (!table)
        return;
    MenuEntry(miShowMemos)->setChecked(table->CacheMemos);
    MenuEntry(miShowGUIDs)->setChecked(table->ShowGUID);
    MenuEntry(miAutoSizeColumns)->setChecked(m_autoSizeColumns);
    MenuEntry(miOfficeClipboard)->setChecked(m_officeClipboardFormat);
}

void TVoDaoDBGrid::ApplyEntryRules()
{
    TVoDaoTable* table = OpenTable();
    for (QAction* entry : m_entries)
        entry->setEnabled(true);
    auto disable = [this](std::initializer_list<int> entries) {
        for (int entry : entries)
            MenuEntry(entry)->setEnabled(false);
    };
    int indexFields = 0;
    GuardedCall([&] { indexFields = table->IndexFieldCount(); });
    if (table->TableType() != 1) {
        disable({miSelectIndex, miSeek, miQuickSeek, miFrameIndexFields});
    } else {
        disable({miSort, miFilter, miFind, miQuickFind});
        if (indexFields == 0)
            disable({miSeek, miQuickSeek, miFrameIndexFields});
    }
    SetCheckMarks();
    if (table->IsEmpty())
        disable({miSaveAs, miSelectAll, miDeselectAll, miCut, miCopy});
    if (!table->CanModify() || ReadOnly())
        disable({miCut, miPaste});
    for (int i = 0; i < kMenuEntries; ++i)
        MenuEntry(i)->setVisible(!(i < m_menuTitles.size() && m_menuTitles[i].startsWith(QLatin1Char('!'))));
    DisableMissingDialogs();
}

void TVoDaoDBGrid::PopupOptionsMenu()
{
    if (!m_showGridMenu || !OpenTable() || !InBrowseState())
        return;
    PaintMenuCellNow();
    ApplyEntryRules();
    const QRect cell = MenuCellRect();
    const QPoint at = mapToGlobal(QPoint(cell.left(), cell.top() + cell.height()));
    if (Application)
        Application->interaction().popupMenu(*m_optionsMenu, at);
    else
        m_optionsMenu->exec(at);
    viewport()->update();
}

void TVoDaoDBGrid::RunShortcut(int key)
{
    for (const Shortcut& shortcut : kShortcuts) {
        if (shortcut.key != key)
            continue;
        QAction* entry = MenuEntry(shortcut.entry);
        if (entry->isEnabled() && entry->isVisible())
            entry->trigger(); // as a choice in the menu
        viewport()->update();
        return;
    }
}

void TVoDaoDBGrid::EntryTriggered(int index, bool checked)
{
    GuardedCall([&] {
        TVoDaoTable* table = OpenTable();
        switch (index) {
        // The check mark was toggled by the menu: the setting follows it.
        case miFastLookup:
            if (table)
                table->CacheLookups = checked;
            break;
        case miShowMemos:
            if (table) {
                table->CacheMemos = checked;
                if (m_autoSizeColumns)
                    SizeColumnsToContents();
            }
            break;
        case miShowGUIDs:
            if (table) {
                table->ShowGUID = checked;
                if (m_autoSizeColumns)
                    SizeColumnsToContents();
            }
            break;
        case miFrameIndexFields: SetFrameIndexFields(checked); break;
        case miAutoSizeColumns: SetAutoSizeColumns(checked); break;
        case miOfficeClipboard: SetOfficeClipboardFormat(checked); break;
        case miSelectIndex: SelectIndexClick(); break;
        case miSort: SortClick(); break;
        case miFilter: FilterClick(); break;
        case miFind: FindClick(); break;
        case miSeek: SeekClick(); break;
        case miQuickFind: QuickFindClick(); break;
        case miQuickSeek: QuickSeekClick(); break;
        case miChooseVisibleColumns: ChooseVisibleColumnsClick(); break;
        case miSaveAs: SaveAsClick(); break;
        case miMail: MailClick(); break;
        case miSelectAll: SelectAllClick(); break;
        case miDeselectAll: DeselectAllClick(); break;
        case miCut: CutClick(); break;
        case miCopy: CopyClick(); break;
        case miPaste: PasteClick(); break;
        default: break;
        }
    });
}

// ---------------------------------------------------------------- toggles called without the menu

void TVoDaoDBGrid::FastLookupClick()
{
    QAction* entry = MenuEntry(miFastLookup);
    entry->setChecked(!entry->isChecked());
    EntryTriggered(miFastLookup, entry->isChecked());
}

void TVoDaoDBGrid::ShowMemosClick()
{
    QAction* entry = MenuEntry(miShowMemos);
    entry->setChecked(!entry->isChecked());
    EntryTriggered(miShowMemos, entry->isChecked());
}

void TVoDaoDBGrid::ShowGUIDsClick()
{
    QAction* entry = MenuEntry(miShowGUIDs);
    entry->setChecked(!entry->isChecked());
    EntryTriggered(miShowGUIDs, entry->isChecked());
}

void TVoDaoDBGrid::FrameIndexFieldsClick() { SetFrameIndexFields(!m_frameIndexFields); }

void TVoDaoDBGrid::OfficeClipboardClick() { SetOfficeClipboardFormat(!m_officeClipboardFormat); }

// ---------------------------------------------------------------- the dialogs

void TVoDaoDBGrid::SelectIndexClick()
{
    TVoDaoTable* table = OpenTable();
    if (!table || table->TableType() != 1 || !m_dialogs.selectIndex)
        return;
    const QString name = m_dialogs.selectIndex(*table, table->IndexName());
    // A new index moves the dataset to its first row: the same one keeps the row.
    if (name.compare(table->IndexName(), Qt::CaseInsensitive) != 0)
        table->SetIndexName(name);
}

void TVoDaoDBGrid::SortClick()
{
    TVoDaoTable* table = OpenTable();
    if (table && m_dialogs.sort)
        m_dialogs.sort(*table); // the dialog gives the dataset its new order
}

void TVoDaoDBGrid::FilterClick()
{
    TVoDaoTable* table = OpenTable();
    if (!table || !m_dialogs.filter)
        return;
    QString filter = table->Filter();
    if (!m_dialogs.filter(*table, filter, m_filterConditions))
        return;
    if (filter.isEmpty()) {
        table->SetFiltered(false);
        return;
    }
    table->SetFilter(filter);
    table->SetFiltered(true);
}

void TVoDaoDBGrid::RunSearch(bool seek, const std::function<bool(TVoDaoTable&)>& dialog)
{
    TVoDaoTable* table = OpenTable();
    if (!table || (seek && table->IndexFieldCount() == 0))
        return;
    // A search that finds nothing leaves the dataset where it was.
    const TBookmark kept = table->GetBookmark();
    if (!dialog(*table) && !kept.isEmpty() && table->Active())
        table->GotoBookmark(kept);
}

void TVoDaoDBGrid::FindClick()
{
    if (m_dialogs.findSeek)
        RunSearch(false, [this](TVoDaoTable& table) { return m_dialogs.findSeek(table, false); });
}

void TVoDaoDBGrid::SeekClick()
{
    if (m_dialogs.findSeek)
        RunSearch(true, [this](TVoDaoTable& table) { return m_dialogs.findSeek(table, true); });
}

void TVoDaoDBGrid::QuickFindClick()
{
    if (m_dialogs.quickFindSeek)
        RunSearch(false, [this](TVoDaoTable& table) {
            return m_dialogs.quickFindSeek(table, false, SelectedField() ? SelectedField()->FieldName() : QString());
        });
}

void TVoDaoDBGrid::QuickSeekClick()
{
    if (m_dialogs.quickFindSeek)
        RunSearch(true, [this](TVoDaoTable& table) {
            return m_dialogs.quickFindSeek(table, true, SelectedField() ? SelectedField()->FieldName() : QString());
        });
}

void TVoDaoDBGrid::ChooseVisibleColumnsClick()
{
    if (!OpenTable() || !m_dialogs.chooseVisibleColumns)
        return;
    m_dialogs.chooseVisibleColumns(*this);
    viewport()->update();
}

void TVoDaoDBGrid::CutClick()
{
    if (OpenTable() && m_dialogs.cut)
        m_dialogs.cut(*this);
}

void TVoDaoDBGrid::CopyClick()
{
    if (OpenTable() && m_dialogs.copy)
        m_dialogs.copy(*this);
}

void TVoDaoDBGrid::PasteClick()
{
    if (OpenTable() && m_dialogs.paste)
        m_dialogs.paste(*this);
}
