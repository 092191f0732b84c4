#pragma once

namespace loomscope {

// Turns wheel movement into zoom steps: one step per notch of 120 units, in either direction.
// High-resolution wheels and touchpads report a notch in several small parts; the parts add
// up, and what is left over waits for the next event (a turn back cancels it).
class WheelSteps {
public:
    static constexpr int kNotch = 120;
    // Adds a movement and returns the whole steps it completes: positive away from the user.
    int add(int angleDelta)
    {
        pending_ += angleDelta;
        const int steps = pending_ / kNotch; // towards zero: a part notch waits
        pending_ -= steps * kNotch;
        return steps;
    }
    void reset() { pending_ = 0; }

private:
    int pending_ = 0;
};

} // namespace loomscope
