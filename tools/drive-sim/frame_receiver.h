// Cuts the characters a drive hears on the line into request frames: each runs
// from ':' up to and including its LF. Characters outside a frame are noise.
#pragma once

#include <cstddef>
#include <string>

namespace kolt::sim {

class FrameReceiver {
public:
    // Longest frame taken in; anything longer is line noise and is dropped.
    static constexpr std::size_t kMaxFrameLength = 600;

    enum class Event {
        None,      // noise outside a frame, or one more character of a frame
        Begin,     // ':' began a frame
        BeginCut,  // ':' began a frame and cut short the one before it (dropped)
        Complete,  // LF ended a frame: Frame() holds it, ':' to LF
        Overlong,  // the frame ran past kMaxFrameLength and was dropped
    };

    Event Take(char c);
    const std::string& Frame() const { return frame_; }

private:
    std::string frame_;
    bool inFrame_ = false;
};

}  // namespace kolt::sim
