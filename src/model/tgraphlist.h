#pragma once

#include "tgraphobject.h"

#include <vector>

namespace loomscope {

// An ordered list of colour blocks that does not own them.
class TGraphlist {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }
    TGraphObject* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    TGraphObject* First() const { return items_.front(); }
    TGraphObject* Last() const { return items_.back(); }

    // Appends the block unless this very object is already listed; returns its index.
    int Add(TGraphObject* item);
    // Appends a block known not to be listed yet (a freshly made one), without the search.
    void append(TGraphObject* item) { items_.push_back(item); }
    void Delete(int index);
    void Clear() { items_.clear(); }
    void reserve(std::size_t count) { items_.reserve(count); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<TGraphObject*> items_;
};

} // namespace loomscope
