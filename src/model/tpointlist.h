#pragma once

#include "tpoint3f.h"

#include <vector>

namespace loomscope {

// The points of one colour block. A list is a plain value: a copy has points of its own, so a
// design read on a worker thread (thumbnails, pictures) never shares points with another and
// scaling one design never moves the points of another.
class TPointList {
public:
    TPointList() = default;
    explicit TPointList(std::vector<TPoint3F> points) : points_(std::move(points)) {}

    std::size_t size() const { return points_.size(); }
    bool empty() const { return points_.empty(); }
    TPoint3F& operator[](std::size_t i) { return points_[i]; }
    const TPoint3F& operator[](std::size_t i) const { return points_[i]; }
    TPoint3F* data() { return points_.data(); }
    const TPoint3F* data() const { return points_.data(); }
    auto begin() { return points_.begin(); }
    auto end() { return points_.end(); }
    auto begin() const { return points_.cbegin(); }
    auto end() const { return points_.cend(); }
    void push_back(const TPoint3F& p) { points_.push_back(p); }

private:
    std::vector<TPoint3F> points_;
};

} // namespace loomscope
