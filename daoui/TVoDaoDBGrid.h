#pragma once
// The data grid of the DAO layer: the framework's data grid with a menu of
// 25 entries (opened from the menu cell and by Ctrl+letter) that reaches the
// dataset dialogs, automatic column sizing, check boxes for Boolean fields,
// decorations for the index fields of table-type recordsets, word-wrapped
// titles, uniform row sizing, select all / deselect all, export and mail.
//
// Menu actions that touch the dataset act only on an open TVoDaoTable; on
// any other dataset they do nothing.
#include "daoui/TVoDaoGridDialogs.h"
#include "framework/ui/TDBGrid.h"

#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <memory>

class QAction;
class QMenu;
class TVoDaoTable;

class TVoDaoDBGrid : public TDBGrid {
    Q_OBJECT
    Q_PROPERTY(bool AutoSizeColumns READ AutoSizeColumns WRITE SetAutoSizeColumns)
    Q_PROPERTY(TExOptions ExOptions READ ExOptions WRITE SetExOptions)
    Q_PROPERTY(bool FindFieldsOnPaste READ FindFieldsOnPaste WRITE SetFindFieldsOnPaste)
    Q_PROPERTY(bool ShowGridMenu READ ShowGridMenu WRITE SetShowGridMenu)
    Q_PROPERTY(bool ShowCheckBoxes READ ShowCheckBoxes WRITE SetShowCheckBoxes)
    Q_PROPERTY(bool OfficeClipboardFormat READ OfficeClipboardFormat WRITE SetOfficeClipboardFormat)
    Q_PROPERTY(QStringList MenuTitles READ MenuTitles WRITE SetMenuTitles)
    Q_PROPERTY(bool FrameIndexFields READ FrameIndexFields WRITE SetFrameIndexFields)
    Q_PROPERTY(QString DefaultExportDir READ DefaultExportDir WRITE SetDefaultExportDir)
public:
    enum TExOption {
        exoRowSizing = 0x1,
        exoWrapTitles = 0x2,
        exoLoadAllRecords = 0x4,
        exoSelectCheckBoxes = 0x8,
    };
    Q_DECLARE_FLAGS(TExOptions, TExOption)
    Q_FLAG(TExOptions)

    // The menu entries by index (a title decides only the caption).
    enum TMenuEntry {
        miSelectIndex = 0,
        miSort = 1,
        miFilter = 2,
        miFind = 4,
        miSeek = 5,
        miQuickFind = 6,
        miQuickSeek = 7,
        miFastLookup = 9,
        miShowMemos = 10,
        miShowGUIDs = 11,
        miFrameIndexFields = 12,
        miAutoSizeColumns = 13,
        miChooseVisibleColumns = 14,
        miSaveAs = 16,
        miMail = 17,
        miSelectAll = 19,
        miDeselectAll = 20,
        miCut = 21,
        miCopy = 22,
        miPaste = 23,
        miOfficeClipboard = 24,
    };
    static constexpr int kMenuEntries = 25;
    // The built-in titles (a "-" is a separator, the text after a tab the shortcut shown).
    static const QStringList& DefaultMenuTitles();

    explicit TVoDaoDBGrid(QWidget* parent = nullptr);
    ~TVoDaoDBGrid() override;

    // --- properties ---
    bool AutoSizeColumns() const { return m_autoSizeColumns; }
    void SetAutoSizeColumns(bool on);
    TExOptions ExOptions() const { return m_exOptions; }
    void SetExOptions(TExOptions options);
    bool FindFieldsOnPaste() const { return m_findFieldsOnPaste; }
    void SetFindFieldsOnPaste(bool on) { m_findFieldsOnPaste = on; }
    bool ShowGridMenu() const { return m_showGridMenu; }
    void SetShowGridMenu(bool on);
    bool ShowCheckBoxes() const { return m_showCheckBoxes; }
    void SetShowCheckBoxes(bool on);
    bool OfficeClipboardFormat() const { return m_officeClipboardFormat; }
    void SetOfficeClipboardFormat(bool on) { m_officeClipboardFormat = on; }
    const QStringList& MenuTitles() const { return m_menuTitles; }
    void SetMenuTitles(const QStringList& titles) { m_menuTitles = titles; }
    bool FrameIndexFields() const { return m_frameIndexFields; }
    void SetFrameIndexFields(bool on);
    const QString& DefaultExportDir() const { return m_defaultExportDir; }
    void SetDefaultExportDir(const QString& folder) { m_defaultExportDir = folder; }

    // The popup menu and its entries.
    QMenu& OptionsMenu() { return *m_optionsMenu; }
    QAction* MenuEntry(int index) const { return m_entries[size_t(index)]; }
    // Opens the menu at the menu cell as a click on it does (with the same conditions).
    void PopupOptionsMenu();
    // The dialogs the menu opens; a grid starts with VoDaoGridDialogs().
    const TVoDaoGridDialogs& Dialogs() const { return m_dialogs; }
    void SetDialogs(const TVoDaoGridDialogs& dialogs);

    // The grid's row count as a grid of rows counts it (title row included);
    // raised to the record count by exoLoadAllRecords. Every record has its
    // row in this grid anyway.
    int RowCount() const { return m_rowCount; }
    // The filter dialog's last conditions, kept as long as the grid.
    QStringList& FilterConditions() { return m_filterConditions; }
    // The check box glyph of the style (width and height of one box).
    QSize CheckBoxSize() const { return m_checkBoxSize; }

    // --- the menu actions, each callable without the menu ---
    void SelectIndexClick();
    void SortClick();
    void FilterClick();
    void FindClick();
    void SeekClick();
    void QuickFindClick();
    void QuickSeekClick();
    void FastLookupClick();
    void ShowMemosClick();
    void ShowGUIDsClick();
    void FrameIndexFieldsClick();
    void AutoSizeColumnsClick();
    void ChooseVisibleColumnsClick();
    void SaveAsClick();
    void MailClick();
    void SelectAllClick();
    void DeselectAllClick();
    void CutClick();
    void CopyClick();
    void PasteClick();
    void OfficeClipboardClick();

protected:
    void Loaded() override;
    void LinkActive(bool active) override;
    void LayoutChanged() override;
    void ColEnter() override;
    void RowHeightsChanged() override;
    void DrawTitleCell(QPainter& painter, const QRect& rect, int column) override;
    void DrawIndicatorCell(QPainter& painter, const QRect& rect, int row) override;
    void DrawMenuCell(QPainter& painter, const QRect& rect) override;
    void DrawColumnCell(QPainter& painter, const QRect& rect, const QModelIndex& index,
                        TGridDrawState state) override;
    void MouseDown(TGridMouse& mouse) override;
    void MouseUp(TGridMouse& mouse) override;
    void DblClick(TGridMouse& mouse) override;
    void KeyDown(QKeyEvent* event) override;
    void SetColumnAttributes() override;
    void SettleColumnWidths() override;

private:
    // --- menu ---
    void BuildMenu();
    void ApplyMenuTitles();
    void EntryTriggered(int index, bool checked);
    void ApplyEntryRules();
    void RunShortcut(int key);
    // Runs a search dialog (a seek only with index fields); back to the record it started from when it fails.
    void RunSearch(bool seek, const std::function<bool(TVoDaoTable&)>& dialog);
    // The entries that open a dialog, each with whether its dialog is there.
    std::vector<std::pair<int, bool>> DialogEntries() const;
    void DisableMissingDialogs();
    // Repaints the menu cell at once (before a menu opens over it).
    void PaintMenuCellNow();
    // The open TVoDaoTable the grid shows, or null.
    TVoDaoTable* OpenTable() const;
    bool InBrowseState() const;
    void SetCheckMarks();
    // --- index decorations ---
    struct IndexDecoration {
        QString indexName;
        bool valid = false;
        QStringList fields;     // the active index's fields
        QStringList descending; // those of them in descending order
        QStringList frameFields; // names of the dataset's index fields (exact)
    };
    const IndexDecoration& Decoration() const;
    // --- auto-size, options, check boxes ---
    void ApplyAutoSize(bool on);
    void SizeColumnsToContents();
    void ApplyExOptions();
    int WrappedTitleHeight() const;
    bool IndicatorCheckBoxes() const;
    // The Boolean field of the current cell when a double-click or key may toggle it.
    TField* ToggleableField() const;
    bool ToggleCurrentBoolean();
    void DrawCheckBox(QPainter& painter, const QRect& box, bool checked) const;
    // --- export and mail ---
    // Runs work with the dataset's field visibility and ExportMethod matched
    // to the grid's columns; both are put back afterwards.
    void WithGridFields(TVoDaoTable& table, const std::function<void()>& work);

    bool m_autoSizeColumns = false;
    // Sizing to contents waits while the grid is hidden: it reads every record.
    bool m_sizePending = false;
    TExOptions m_exOptions;
    bool m_findFieldsOnPaste = false;
    bool m_showGridMenu = true;
    bool m_showCheckBoxes = true;
    bool m_officeClipboardFormat = false;
    bool m_frameIndexFields = false;
    QString m_defaultExportDir;
    QStringList m_menuTitles;
    QStringList m_defaultTitles;
    QStringList m_filterConditions;

    QMenu* m_optionsMenu = nullptr;
    std::array<QAction*, kMenuEntries> m_entries{};
    TVoDaoGridDialogs m_dialogs;

    QSize m_checkBoxSize;
    int m_plainIndicatorWidth = 0;
    int m_rowCount = 0;
    int m_savedRowCount = 0;
    int m_savedRowHeight = -1;
    bool m_selectAllSwitchedOn = false;
    QRect m_menuCellRect;
    bool m_menuPressed = false;
    QPoint m_lastMouse;
    std::vector<int> m_savedWidths; // by column position
    mutable IndexDecoration m_decoration;
    std::unique_ptr<QTemporaryDir> m_mailFolder; // attachments stay for the mail program until the next mail
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TVoDaoDBGrid::TExOptions)
