// Block reads against the virtual drive: the same values as Read, one request
// per run of registers, the single-read fallback and its memory, failures.
#include "link/block_read.h"

#include "link/read_procedure.h"

#include "link_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

using namespace kolt;
using namespace kolt::testing;

namespace {

constexpr int kF07Slot = 7, kC12Slot = 67, kC25Slot = 80, kF53Slot = 53;

// The five runs of station 3: 0000 x46, 0030 x1, 0064 x61, 00DC x2, 00DF x1.
const std::vector<std::string> kBlockFrames = {":03030000002ECC", ":030300300001C9", ":03030064003D59",
                                               ":030300DC00021C", ":030300DF00011A"};

class BlockRead : public LinkBench {
protected:
    // Stations 1 and 3 of model 5, started as the command line would start them.
    void Start(std::vector<std::string> extra) {
        std::vector<std::string> args = {"--stations", "1,3", "--model", "5", "--baud", "0",
                                         "--set", "3:F07=45.00", "--set", "3:c25=0.3"};
        args.insert(args.end(), extra.begin(), extra.end());
        sim::DriveSimOptions options;
        std::string message;
        ASSERT_TRUE(sim::ParseSimArguments(args, options, message)) << message;
        StartDrive(options);
        LinkStation(1);
        drive->SetParamValue(3, 112, 555);  // C12, changed while the drive runs
        drive->ClearFramesHeard();
    }

    std::vector<std::string> TakeHeard() {
        auto heard = drive->FramesHeard();
        drive->ClearFramesHeard();
        return heard;
    }

    BlockReadMemory memory;
};

std::tuple<int, int, int, int, int> Pinned(const BlockReadResult& r) {
    return {r.values[0], r.values[kF07Slot], r.values[kC12Slot], r.values[kC25Slot], r.values[kF53Slot]};
}

}  // namespace

TEST_F(BlockRead, ReadsEachRunWithOneRequestAndGetsWhatReadGets) {
    Start({});
    const BlockReadResult r = ReadParameterBlocks(port, 3, memory);
    ASSERT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(TakeHeard(), kBlockFrames);
    // F00 the model, F07 and C25 as set at start, C12 as changed, F53 version 1.2.
    EXPECT_EQ(std::make_tuple(Pinned(r), memory.SingleReadBlocks(3).size()),
              std::make_tuple(std::make_tuple(5, 4500, 555, 3, 12), 0u));

    ASSERT_TRUE(ReadParameters(ctx, 3, true, true));
    EXPECT_EQ(std::make_tuple(TakeHeard().size(), r.values == app.staging.values[0]), std::make_tuple(113u, true));
}

TEST_F(BlockRead, ARefusedRunIsReadSinglyAndRememberedForThatStation) {
    Start({"--no-block", "3:0064"});
    BlockReadResult first = ReadParameterBlocks(port, 3, memory);
    ASSERT_TRUE(first.Ok()) << first.message;
    // Four runs by blocks, the refused block once (an exception is not repeated), then its 61 registers.
    const auto heard = TakeHeard();
    EXPECT_EQ(std::make_tuple(heard.size(), std::count(heard.begin(), heard.end(), ":03030064003D59"), Pinned(first),
                              memory.SingleReadBlocks(3)),
              std::make_tuple(4u + 1u + 61u, 1, std::make_tuple(5, 4500, 555, 3, 12), std::set<std::uint16_t>{0x0064}));

    const BlockReadResult again = ReadParameterBlocks(port, 3, memory);
    ASSERT_TRUE(again.Ok()) << again.message;
    const auto heardAgain = TakeHeard();
    EXPECT_EQ(std::make_tuple(heardAgain.size(), std::count(heardAgain.begin(), heardAgain.end(), ":03030064003D59"),
                              again.values == first.values),
              std::make_tuple(4u + 61u, 0, true));

    // Station 1 answers blocks: it is read by blocks and nothing is kept for it.
    ASSERT_TRUE(ReadParameterBlocks(port, 1, memory).Ok());
    EXPECT_EQ(std::make_tuple(TakeHeard().size(), memory.SingleReadBlocks(1).size()), std::make_tuple(5u, 0u));
}

TEST_F(BlockRead, AFailingStationEndsTheReadAtItsFirstParameter) {
    Start({});
    // Silence ends the read; garbled blocks fall back, and their singles are garbled too.
    drive->SetSilent(3, true);
    BlockReadResult r = ReadParameterBlocks(port, 3, memory);
    EXPECT_EQ(std::make_tuple(r.Ok(), r.result, r.failedNumber, r.message, memory.SingleReadBlocks(3).size()),
              std::make_tuple(false, 0, 0, "TIME-OUT !!", 0u));

    drive->SetSilent(3, false);
    drive->SetBadLrc(3, true);
    r = ReadParameterBlocks(port, 3, memory);
    EXPECT_EQ(std::make_tuple(r.Ok(), r.result, r.failedNumber, r.message, memory.SingleReadBlocks(3)),
              std::make_tuple(false, 1, 0, "Check Sum Error !!", std::set<std::uint16_t>{0x0000}));
}

TEST(DriveSimOptions, PresetsAndBlockRefusals) {
    sim::DriveSimOptions o;
    std::string message;
    ASSERT_TRUE(sim::ParseSimArguments({"--stations", "2,3", "--set", "2:C12=12.5", "--no-block", "2", "--no-block",
                                        "3:0x00dc"}, o, message)) << message;
    ASSERT_EQ(std::make_tuple(o.presets.size(), o.blockRefusals.size()), std::make_tuple(1u, 2u));
    EXPECT_EQ(std::make_tuple(o.presets[0].station, o.presets[0].number, o.presets[0].value, o.blockRefusals[0].reg,
                              o.blockRefusals[1].station, o.blockRefusals[1].reg),
              std::make_tuple(2, 112, 125, -1, 3, 0xDC));
    // Too many decimals, no such code, no value, a station not started, bad registers.
    for (const auto& [option, value] : std::vector<std::pair<std::string, std::string>>{
             {"--set", "3:F07=45.001"}, {"--set", "3:F55=1"}, {"--set", "3:F07="}, {"--set", "4:F07=1"},
             {"--no-block", "3:xyz"}, {"--no-block", "3:10000"}, {"--no-block", "4"}}) {
        sim::DriveSimOptions other;
        EXPECT_FALSE(sim::ParseSimArguments({"--stations", "2,3", option, value}, other, message)) << value;
    }
}
