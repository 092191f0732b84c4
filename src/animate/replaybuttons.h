#pragma once

namespace loomscope {

// Which of the replay's play, pause, stop and restart buttons can be pressed in each state.
// Stop differs from pause only in leaving play as the one way on.
struct ReplayButtons {
    bool play = false;
    bool pause = false;
    bool stop = false;
    bool restart = false;
    friend bool operator==(const ReplayButtons&, const ReplayButtons&) = default;

    static constexpr ReplayButtons playing() { return {false, true, true, true}; }
    static constexpr ReplayButtons paused() { return {true, false, true, true}; }
    static constexpr ReplayButtons stopped() { return {true, false, false, false}; }
    static constexpr ReplayButtons finished() { return {false, false, false, true}; }
    // A file with no records: there is nothing to play.
    static constexpr ReplayButtons nothing() { return {}; }
};

} // namespace loomscope
