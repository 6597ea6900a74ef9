#include "framework/ui/TBookmarkList.h"

#include "framework/data/TDataSet.h"

#include <algorithm>

TBookmarkList::TBookmarkList(std::function<TDataSet*()> dataSet, std::function<void()> changed)
    : m_dataSet(std::move(dataSet)), m_changed(std::move(changed))
{
}

std::vector<TBookmark>::const_iterator TBookmarkList::Find(const TBookmark& bookmark) const
{
    const TDataSet* dataSet = m_dataSet();
    return std::lower_bound(m_items.begin(), m_items.end(), bookmark,
                            [dataSet](const TBookmark& a, const TBookmark& b) {
                                return dataSet ? dataSet->CompareBookmarks(a, b) < 0 : a < b;
                            });
}

bool TBookmarkList::Contains(const TBookmark& bookmark) const { return IndexOf(bookmark) >= 0; }

int TBookmarkList::IndexOf(const TBookmark& bookmark) const
{
    if (bookmark.isEmpty() || m_items.empty())
        return -1;
    const auto at = Find(bookmark);
    return at != m_items.end() && *at == bookmark ? int(at - m_items.begin()) : -1;
}

void TBookmarkList::Select(const TBookmark& bookmark, bool selected)
{
    if (bookmark.isEmpty())
        return;
    const auto at = Find(bookmark);
    const bool present = at != m_items.end() && *at == bookmark;
    if (present == selected)
        return;
    if (selected)
        m_items.insert(at, bookmark);
    else
        m_items.erase(at);
    if (m_changed)
        m_changed();
}

void TBookmarkList::Clear()
{
    if (m_items.empty())
        return;
    m_items.clear();
    if (m_changed)
        m_changed();
}

bool TBookmarkList::CurrentRowSelected() const
{
    TDataSet* dataSet = m_dataSet();
    if (!dataSet || !dataSet->Active() || dataSet->IsEmpty())
        return false;
    return Contains(dataSet->GetBookmark());
}

void TBookmarkList::SetCurrentRowSelected(bool selected)
{
    TDataSet* dataSet = m_dataSet();
    if (!dataSet || !dataSet->Active() || dataSet->IsEmpty())
        return;
    Select(dataSet->GetBookmark(), selected);
}

void TBookmarkList::Assign(std::vector<TBookmark> bookmarks)
{
    const TDataSet* dataSet = m_dataSet();
    std::stable_sort(bookmarks.begin(), bookmarks.end(), [dataSet](const TBookmark& a, const TBookmark& b) {
        return dataSet ? dataSet->CompareBookmarks(a, b) < 0 : a < b;
    });
    bookmarks.erase(std::unique(bookmarks.begin(), bookmarks.end()), bookmarks.end());
    m_items = std::move(bookmarks);
    if (m_changed)
        m_changed();
}
