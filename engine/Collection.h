#pragma once
// DAO's collections: items by position or by name (without regard to case);
// a missing item raises 3265.
#include "engine/JetErrors.h"

#include <functional>
#include <memory>
#include <string>
#include <strings.h>
#include <vector>

namespace dao {

template <class T> class Collection {
public:
    using Refresher = std::function<std::vector<std::shared_ptr<T>>()>;

    Collection() = default;
    explicit Collection(Refresher refresher) : refresher_(std::move(refresher)) {}

    int count() const
    {
        load();
        return static_cast<int>(items_.size());
    }
    std::shared_ptr<T> item(int index) const
    {
        load();
        if (index < 0 || index >= static_cast<int>(items_.size()))
            throw jet::itemNotFound();
        return items_[index];
    }
    std::shared_ptr<T> item(const std::string& name) const
    {
        if (auto found = find(name))
            return found;
        throw jet::itemNotFound();
    }
    std::shared_ptr<T> operator[](int index) const { return item(index); }
    std::shared_ptr<T> operator[](const std::string& name) const { return item(name); }
    std::shared_ptr<T> find(const std::string& name) const
    {
        load();
        for (const auto& i : items_)
            if (strcasecmp(i->name().c_str(), name.c_str()) == 0)
                return i;
        return nullptr;
    }
    bool contains(const std::string& name) const { return find(name) != nullptr; }

    void append(std::shared_ptr<T> item)
    {
        load();
        items_.push_back(std::move(item));
    }
    void removeItem(const std::string& name)
    {
        load();
        for (auto it = items_.begin(); it != items_.end(); ++it)
            if (strcasecmp((*it)->name().c_str(), name.c_str()) == 0) {
                items_.erase(it);
                return;
            }
        throw jet::itemNotFound();
    }
    // Re-reads the items from their source.
    void refresh()
    {
        if (refresher_) {
            items_ = refresher_();
            loaded_ = true;
        }
    }
    void clear()
    {
        items_.clear();
        loaded_ = !refresher_;
    }

    auto begin() const
    {
        load();
        return items_.begin();
    }
    auto end() const { return items_.end(); }

private:
    void load() const
    {
        if (!loaded_ && refresher_) {
            items_ = refresher_();
        }
        loaded_ = true;
    }
    Refresher refresher_;
    mutable std::vector<std::shared_ptr<T>> items_;
    mutable bool loaded_ = false;
};

} // namespace dao
