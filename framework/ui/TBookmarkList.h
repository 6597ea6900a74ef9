#pragma once
// The selected rows of a data grid, kept as bookmarks of its dataset in the
// dataset's order.
#include "framework/data/DbTypes.h"

#include <functional>
#include <vector>

class TDataSet;

class TBookmarkList {
public:
    // changed is called whenever the selection changes (the grid repaints).
    explicit TBookmarkList(std::function<TDataSet*()> dataSet, std::function<void()> changed = {});

    int Count() const { return int(m_items.size()); }
    const TBookmark& Items(int index) const { return m_items[size_t(index)]; }
    const TBookmark& operator[](int index) const { return Items(index); }
    std::vector<TBookmark>::const_iterator begin() const { return m_items.begin(); }
    std::vector<TBookmark>::const_iterator end() const { return m_items.end(); }
    bool Contains(const TBookmark& bookmark) const;
    int IndexOf(const TBookmark& bookmark) const;
    // Adds or removes one bookmark (an empty one is ignored).
    void Select(const TBookmark& bookmark, bool selected);
    void Clear();
    // Whether the dataset's current record is selected; setting it selects or deselects it.
    bool CurrentRowSelected() const;
    void SetCurrentRowSelected(bool selected);
    // Replaces the selection at once (bookmarks in the dataset's order).
    void Assign(std::vector<TBookmark> bookmarks);

private:
    // The position where bookmark is or belongs.
    std::vector<TBookmark>::const_iterator Find(const TBookmark& bookmark) const;

    std::function<TDataSet*()> m_dataSet;
    std::function<void()> m_changed;
    std::vector<TBookmark> m_items;
};
