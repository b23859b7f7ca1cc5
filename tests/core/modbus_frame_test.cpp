// Request frames and the judgement of replies, without a line.
#include "link/modbus_port.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace kolt;

namespace {

std::string Build(const ModbusRequest& r) {
    char buf[kFrameBufferSize];
    std::memset(buf, '#', sizeof buf);
    const int n = BuildRequest(r, buf);
    EXPECT_EQ(n, RequestLength(r.kind));
    EXPECT_EQ(buf[n], '#');  // only the frame, no terminator
    return std::string(buf, static_cast<std::size_t>(n));
}

}  // namespace

TEST(ModbusFrame, LiteralRequestFrames) {
    const std::vector<std::pair<ModbusRequest, std::string>> cases = {
        {ModbusRequest::Echo(1), ":01080000A5371B\r\n"},         {ModbusRequest::Capacity(1), ":010300000001FB\r\n"},
        {ModbusRequest::Version(1), ":0103002C0001CF\r\n"},      {ModbusRequest::ControlWord(1), ":010300E6000115\r\n"},
        {ModbusRequest::MonitorBlock(0x12), ":120300F20009F0\r\n"},
        {ModbusRequest::FaultBlock(1), ":010300EF00030A\r\n"},
        {ModbusRequest::FrequencyLimits(254), ":FE0300080002F5\r\n"},
        {ModbusRequest::ReadParam(2, 130), ":0203008A000170\r\n"},  // C30 at register 138
        {ModbusRequest::WriteParam(1, 1, 0), ":011000010001020000EB\r\n"},
        {ModbusRequest::WriteReg(1, 0x00E7, 5000), ":010600E7138877\r\n"},
        {ModbusRequest::WriteReg(1, 0xE6, 0xFFFF), ":010600E6FFFF15\r\n"}};
    for (const auto& [request, frame] : cases) EXPECT_EQ(Build(request), frame);
    EXPECT_EQ(Build(ModbusRequest::WriteParam(1, 7, 6000)).substr(15, 4), "1770");
    char frame[kFrameBufferSize] = ":0100FF";  // byte sum a multiple of 256 gives 00
    EXPECT_EQ(FinishFrame(frame, 7), 11);
    EXPECT_EQ(std::string(frame, 11), ":0100FF00\r\n");
}

TEST(ModbusReply, ResultsAndExceptionTexts) {
    const std::vector<std::pair<std::string, int>> results = {
        {":0103020005F5\r\n", kNormalReply}, {":0503020005F1\r\n", kNormalReply},  // another station's counts
        {":0183522A\r\n", kExceptionReply},  {":0183027A\r\n", kExceptionReply},
        {":0103020A00F0\r\n", kNormalReply}, {":0103020005F6\r\n", kBadFrame},  // wrong LRC
        {":0103020A00f0\r\n", kBadFrame},    {":0103020a00F0\r\n", kBadFrame},  // lower-case LRC, data
        {":0\r\n", kBadFrame},               {":", kBadFrame},                    // short
    };
    for (const auto& [reply, result] : results)
        EXPECT_EQ(CheckReply(reply.c_str(), static_cast<int>(reply.size())), result) << reply;
    const std::vector<std::pair<std::string, std::string>> texts = {
        {":0183522A\r\n", "Address Error !"},       {":0183027A\r\n", ""},
        {":0183512B\r\n", "Function Code Error !"}, {":01835329\r\n", "Data Amount Error !"},
        {":01905419\r\n", "Data Over Range !"},     {":01865522\r\n", "Write Mode Error !"}, {":01835\r\n", ""}};
    for (const auto& [reply, text] : texts) EXPECT_EQ(ExceptionText(reply.c_str()), text) << reply;
}

TEST(ModbusReply, RegistersAreReadOnlyFromTheCharactersReceived) {
    // A longer reply left over in the buffer does not lend its characters.
    char buf[kFrameBufferSize] = ":0103041388000000000000000000000000000000000000\r\n";
    std::memcpy(buf, ":0103020005F5\r\n", 15);
    std::uint16_t v = 0;
    ASSERT_TRUE(ReplyRegisterOf(buf, 15, 0, v));
    EXPECT_EQ(v, 5);
    EXPECT_FALSE(ReplyRegisterOf(buf, 15, 1, v));
    EXPECT_FALSE(ReplyRegisterOf(buf, 15, -1, v));
}

TEST(ModbusReply, ACallerTakesANormalReplyOnlyWhenItCarriesTheRegistersAskedFor) {
    struct Case { RequestKind kind; const char* reply; int result; };
    // The monitor block's nine registers: the transaction tests.
    const Case cases[] = {
        {RequestKind::ReadCapacity, ":0103020005F5\r\n", kNormalReply},
        {RequestKind::ReadFrequencyLimits, ":0103020005F5\r\n", kBadFrame},  // one register where the limits take two
        {RequestKind::ReadFrequencyLimits, ":010304138800005D\r\n", kNormalReply},
        {RequestKind::ReadFaultBlock, ":0183522A\r\n", kExceptionReply},
        {RequestKind::ReadCapacity, ":0103020005F6\r\n", kBadFrame},
    };
    for (const Case& c : cases) {
        char buf[kFrameBufferSize + 1] = {};
        const int count = static_cast<int>(std::strlen(c.reply));
        std::memcpy(buf, c.reply, static_cast<std::size_t>(count));
        EXPECT_EQ(JudgeReply(c.kind, buf, count), c.result) << c.reply;
    }
}
