// The virtual drive's receiving side: the line's characters cut into frames.
#include "drive-sim/frame_receiver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kolt::sim::FrameReceiver;

namespace {

struct Heard {
    std::vector<std::string> frames;
    int cut = 0;
    int overlong = 0;
};

Heard Listen(const std::string& line) {
    FrameReceiver r;
    Heard h;
    for (char c : line) {
        switch (r.Take(c)) {
        case FrameReceiver::Event::Complete: h.frames.push_back(r.Frame()); break;
        case FrameReceiver::Event::BeginCut: ++h.cut; break;
        case FrameReceiver::Event::Overlong: ++h.overlong; break;
        default: break;
        }
    }
    return h;
}

}  // namespace

TEST(DriveSimReceiver, CutsTheLineIntoFramesFromColonToLf) {
    struct Case {
        std::string line;
        std::vector<std::string> frames;
        int cut;
        int overlong;
    };
    const std::string longBody(598, 'A');
    const std::vector<Case> cases = {
        {":01080000A5371B\r\n", {":01080000A5371B\r\n"}, 0, 0},
        // Noise outside a frame is ignored, a frame cut short by ':' is dropped.
        {"\r\n\x01zz:0103:010300000001FB\r\n", {":010300000001FB\r\n"}, 1, 0},
        {":01\n:02\n", {":01\n", ":02\n"}, 0, 0},
        {"no frame at all\r\n", {}, 0, 0},
        // 600 characters with the LF are taken; one more and the frame is noise,
        // as is everything up to the next ':'.
        {":" + longBody + "\n", {":" + longBody + "\n"}, 0, 0},
        {":" + longBody + "AA\n:01\n", {":01\n"}, 0, 1},
    };
    for (const Case& c : cases) {
        const Heard h = Listen(c.line);
        EXPECT_EQ(h.frames, c.frames) << c.line.substr(0, 40);
        EXPECT_EQ(h.cut, c.cut) << c.line.substr(0, 40);
        EXPECT_EQ(h.overlong, c.overlong) << c.line.substr(0, 40);
    }
}
