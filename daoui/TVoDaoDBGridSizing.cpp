// Sizing in the DAO grid: columns sized to their contents, word-wrapped
// titles, uniform row heights, and selecting every record.
#include "daoui/TVoDaoDBGrid.h"

#include "daodata/TVoDaoTable.h"
#include "daoui/HeldGrid.h"
#include "daoui/VoDaoGridGlyphs.h"
#include "framework/data/TField.h"

#include <QSet>
#include <array>
#include <climits>

namespace {

const QString kPadding = QStringLiteral("   ");
constexpr int kMeasuredTexts = 100000;

} // namespace

// ---------------------------------------------------------------- auto-size

void TVoDaoDBGrid::ApplyAutoSize(bool on)
{
    m_sizePending = false; // superseded by what is applied now
    const int count = Columns().Count();
    if (int(m_savedWidths.size()) < count)
        m_savedWidths.resize(size_t(count), 0);
    if (on) {
        // The widths before, to go back to when switched off.
        for (int c = 0; c < count; ++c)
            if (Columns()[c].Field)
                m_savedWidths[size_t(c)] = StoredColumnWidth(c);
        // A hidden grid (such as one kept only for its dataset) sizes when it is shown or its widths are asked for.
        if (!isVisible() && OpenTable() && !OpenTable()->IsEmpty())
            m_sizePending = true;
        else
            SizeColumnsToContents();
        return;
    }
    for (int c = 0; c < count; ++c) {
        if (!Columns()[c].Field)
            continue;
        int& saved = m_savedWidths[size_t(c)];
        if (saved >= 1)
            SetColumnWidth(c, saved);
        else if (StoredColumnWidth(c) > 0)
            saved = StoredColumnWidth(c);
    }
}

void TVoDaoDBGrid::SettleColumnWidths()
{
    if (!m_sizePending)
        return;
    m_sizePending = false;
    SizeColumnsToContents();
}

void TVoDaoDBGrid::SizeColumnsToContents()
{
    TVoDaoTable* table = OpenTable();
    if (!table || table->IsEmpty())
        return;
    const int count = Columns().Count();
    const QFontMetrics metrics(font());
    const int padding = metrics.horizontalAdvance(kPadding);
    // The sum of the characters' own widths bounds a text's width (kerning
    // only narrows it): a text whose bound is no wider than the widest so
    // far need not be measured.
    std::array<int, 256> latin1{};
    latin1.fill(-1);
    auto bound = [&](const QString& text) {
        int sum = 2;
        for (const QChar ch : text) {
            const ushort code = ch.unicode();
            if (code >= 256)
                return INT_MAX;
            int& width = latin1[code];
            if (width < 0)
                width = metrics.horizontalAdvance(ch);
            sum += width;
        }
        return sum;
    };
    std::vector<int> widest(static_cast<size_t>(count));
    std::vector<TField*> fields(static_cast<size_t>(count));
    // Texts already measured, per column: the same title or author comes back with every copy.
    std::vector<QSet<QString>> measured(static_cast<size_t>(count));
    for (int c = 0; c < count; ++c) {
        widest[size_t(c)] = metrics.horizontalAdvance(Columns()[c].TitleCaption() + kPadding)
            + (table->TableType() == 1 ? vodao::AscGlyph().width() : 0);
        fields[size_t(c)] = Columns()[c].Field;
    }
    {
        HeldGrid held(*this);
        // Every record once, read beside the cursor: nothing scrolls, no detail follows.
        if (std::unique_ptr<TRowReader> reader = table->CreateRowReader()) {
            table->ReadRows(*reader, 0, INT_MAX, [&](int, const TBookmark&) {
                for (size_t c = 0; c < fields.size(); ++c) {
                    const TField* field = fields[c];
                    if (!field)
                        continue;
                    const QString text = field->IsBlob() ? field->DisplayText() : field->AsString();
                    // Only a text that could be wider than the widest so far is measured, and only once.
                    if (bound(text) + padding <= widest[c] || measured[c].contains(text))
                        continue;
                    if (measured[c].size() > kMeasuredTexts)
                        measured[c].clear();
                    measured[c].insert(text);
                    widest[c] = std::max(widest[c], metrics.horizontalAdvance(text + kPadding));
                }
            });
        }
    }
    for (int c = 0; c < count; ++c)
        SetColumnWidth(c, widest[size_t(c)]);
}

void TVoDaoDBGrid::AutoSizeColumnsClick()
{
    SetAutoSizeColumns(!m_autoSizeColumns);
    MenuEntry(miAutoSizeColumns)->setChecked(m_autoSizeColumns);
}

// ---------------------------------------------------------------- extended options

int TVoDaoDBGrid::WrappedTitleHeight() const
{
    int height = 0;
    for (int c = 0; c < Columns().Count(); ++c) {
        const TColumn& column = Columns()[c];
        const QFontMetrics metrics(column.Title.Font ? *column.Title.Font : TitleFont());
        const QRect room(0, 0, std::max(1, ColumnWidth(c) - 2), 100000);
        height = std::max(height, metrics.boundingRect(room, Qt::TextWordWrap | Qt::TextExpandTabs,
                                                       column.TitleCaption()).height());
    }
    return height + 4;
}

void TVoDaoDBGrid::ApplyExOptions()
{
    TDataSet* dataSet = DataSet();
    if (Loading() || !dataSet || !dataSet->Active())
        return;
    const bool rowSizing = m_exOptions & exoRowSizing;
    SetRowSizing(rowSizing);
    if (!rowSizing)
        SetDefaultRowHeight(fontMetrics().height() + 4);
    else if (m_savedRowHeight > 0)
        SetDefaultRowHeight(m_savedRowHeight);
    SetTitleRowHeight((m_exOptions & exoWrapTitles) ? WrappedTitleHeight() : QFontMetrics(TitleFont()).height() + 4);
    if (m_exOptions & exoLoadAllRecords)
        m_rowCount = std::max(m_rowCount, dataSet->RecordCount() + 1);
    SetColumnAttributes();
}

void TVoDaoDBGrid::RowHeightsChanged()
{
    if (!(m_exOptions & exoRowSizing))
        return;
    // The row the user dragged gives every row its height.
    const int standard = DefaultRowHeight();
    const int first = std::max(0, rowAt(0));
    const int last = rowAt(viewport()->height() - 1) < 0 ? Model().rowCount() - 1 : rowAt(viewport()->height() - 1);
    for (int row = first; row <= last; ++row) {
        if (RowHeight(row) == standard)
            continue;
        m_savedRowHeight = RowHeight(row);
        SetDefaultRowHeight(m_savedRowHeight);
        break;
    }
    if (m_exOptions & exoWrapTitles)
        SetTitleRowHeight(WrappedTitleHeight());
}

// ---------------------------------------------------------------- select all

void TVoDaoDBGrid::SelectAllClick()
{
    TVoDaoTable* table = OpenTable();
    if (!table || table->IsEmpty() || table->IsUniDirectional())
        return;
    if (!(Options() & dgMultiSelect)) {
        SetOptions(Options() | dgMultiSelect);
        m_selectAllSwitchedOn = true;
    }
    SelectedRows().Clear();
    std::vector<TBookmark> all;
    {
        HeldGrid held(*this);
        if (std::unique_ptr<TRowReader> reader = table->CreateRowReader()) {
            all.reserve(size_t(std::max(0, table->RecordCount())));
            table->ReadRows(*reader, 0, INT_MAX, [&](int, const TBookmark& bookmark) { all.push_back(bookmark); });
        }
    }
    SelectedRows().Assign(std::move(all));
}

void TVoDaoDBGrid::DeselectAllClick()
{
    TVoDaoTable* table = OpenTable();
    if (!table || table->IsEmpty() || table->IsUniDirectional())
        return;
    if (!(Options() & dgMultiSelect)) {
        m_selectAllSwitchedOn = false;
        return;
    }
    SelectedRows().Clear();
    viewport()->update();
    if (m_selectAllSwitchedOn) {
        SetOptions(Options() & ~dgMultiSelect);
        m_selectAllSwitchedOn = false;
    }
}
