#pragma once

#include "tpoint3f.h"

#include <memory>
#include <vector>

namespace loomscope {

// The points of one colour block. Copies share the same points (assigning a list does not copy
// them), so a block's list can be handed around and scaled in place.
class TPointList {
public:
    TPointList() : points_(std::make_shared<std::vector<TPoint3F>>()) {}
    explicit TPointList(std::vector<TPoint3F> points)
        : points_(std::make_shared<std::vector<TPoint3F>>(std::move(points)))
    {}

    std::size_t size() const { return points_->size(); }
    bool empty() const { return points_->empty(); }
    TPoint3F& operator[](std::size_t i) { return (*points_)[i]; }
    const TPoint3F& operator[](std::size_t i) const { return (*points_)[i]; }
    TPoint3F* data() { return points_->data(); }
    const TPoint3F* data() const { return points_->data(); }
    auto begin() { return points_->begin(); }
    auto end() { return points_->end(); }
    auto begin() const { return points_->cbegin(); }
    auto end() const { return points_->cend(); }
    void push_back(const TPoint3F& p) { points_->push_back(p); }

    bool sharesWith(const TPointList& other) const { return points_ == other.points_; }

private:
    std::shared_ptr<std::vector<TPoint3F>> points_;
};

} // namespace loomscope
