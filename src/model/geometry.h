#pragma once

namespace loomscope {

// A point of two 32-bit floats.
struct TPointF {
    float x = 0;
    float y = 0;
    friend bool operator==(const TPointF&, const TPointF&) = default;
};

// A rectangle of four 32-bit floats; y grows downwards, so top < bottom.
struct TRectF {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;

    float width() const { return right - left; }
    float height() const { return bottom - top; }
    TPointF center() const { return {left + (right - left) / 2, top + (bottom - top) / 2}; }
    TRectF translated(float dx, float dy) const
    {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    // Left and top edges inside, right and bottom edges outside.
    bool contains(float x, float y) const
    {
        return x >= left && x < right && y >= top && y < bottom;
    }
    friend bool operator==(const TRectF&, const TRectF&) = default;
};

} // namespace loomscope
