#include "frame_receiver.h"

namespace kolt::sim {

FrameReceiver::Event FrameReceiver::Take(char c) {
    if (c == ':') {
        const bool cut = inFrame_;
        frame_.assign(1, c);
        inFrame_ = true;
        return cut ? Event::BeginCut : Event::Begin;
    }
    if (!inFrame_) return Event::None;
    frame_.push_back(c);
    if (c == '\n') {
        inFrame_ = false;
        return Event::Complete;
    }
    if (frame_.size() > kMaxFrameLength) {
        inFrame_ = false;
        frame_.clear();
        return Event::Overlong;
    }
    return Event::None;
}

}  // namespace kolt::sim
