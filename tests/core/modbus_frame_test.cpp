// Request frames, the LRC and the judgement of replies, without a line.
#include "link/modbus_port.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <cstring>
#include <string>

using namespace kolt;

namespace {

std::string Build(const ModbusRequest& r) {
    char buf[kFrameBufferSize] = {};
    const int n = BuildRequest(r, buf);
    return std::string(buf, static_cast<std::size_t>(n));
}

int Judge(const std::string& reply) { return CheckReply(reply.c_str(), static_cast<int>(reply.size())); }

}  // namespace

TEST(ModbusFrame, LiteralRequestFrames) {
    EXPECT_EQ(Build(ModbusRequest::Echo(1)), ":01080000A5371B\r\n");
    EXPECT_EQ(Build(ModbusRequest::Capacity(1)), ":010300000001FB\r\n");
    EXPECT_EQ(Build(ModbusRequest::WriteParam(1, 1, 0)), ":011000010001020000EB\r\n");
    EXPECT_EQ(Build(ModbusRequest::Version(1)), ":0103002C0001CF\r\n");
    EXPECT_EQ(Build(ModbusRequest::MonitorBlock(0x12)), ":120300F20009F0\r\n");
    EXPECT_EQ(Build(ModbusRequest::FrequencyLimits(254)), ":FE0300080002F5\r\n");
    EXPECT_EQ(Build(ModbusRequest::ControlWord(1)), ":010300E6000115\r\n");
    EXPECT_EQ(Build(ModbusRequest::FaultBlock(1)), ":010300EF00030A\r\n");
    // C30 sits at register 138 (0x008A).
    EXPECT_EQ(Build(ModbusRequest::ReadParam(2, 130)), ":0203008A000170\r\n");
    EXPECT_EQ(Build(ModbusRequest::WriteReg(1, 0x00E7, 5000)), ":010600E7138877\r\n");
}

TEST(ModbusFrame, LengthsAndCapacitiesFollowTheKind) {
    for (const auto& r : {ModbusRequest::Echo(7), ModbusRequest::ReadParam(7, 52), ModbusRequest::WriteReg(7, 0xE6, 1)}) {
        EXPECT_EQ(Build(r).size(), 17u);
        EXPECT_EQ(RequestLength(r.kind), 17);
    }
    EXPECT_EQ(Build(ModbusRequest::WriteParam(9, 155, 3)).size(), 23u);
    EXPECT_EQ(RequestLength(RequestKind::WriteParameter), 23);
    EXPECT_EQ(ReceiveCapacity(RequestKind::ReadMonitorBlock), 80);
    EXPECT_EQ(ReceiveCapacity(RequestKind::EchoTest), 17);
    EXPECT_EQ(ReceiveCapacity(RequestKind::WriteParameter), 17);
    EXPECT_EQ(ReplyRegisterCount(RequestKind::ReadMonitorBlock), 9);
    EXPECT_EQ(ReplyRegisterCount(RequestKind::WriteRegister), 0);
}

TEST(ModbusFrame, BuilderWritesNoTerminatorAndOnlyTheFrame) {
    char buf[kFrameBufferSize];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(CModbusPort::BuildEchoTest(buf, 1), 17);
    EXPECT_EQ(buf[17], '#');
}

TEST(ModbusFrame, LrcRules) {
    // Byte sum a multiple of 256 gives 00.
    char frame[kFrameBufferSize] = ":0100FF";
    EXPECT_EQ(FinishFrame(frame, 7), 11);
    EXPECT_EQ(std::string(frame, 11), ":0100FF00\r\n");
    // Characters that are no upper-case hex digit count as 0 when building.
    char odd[kFrameBufferSize] = ":01x3zz";
    FinishFrame(odd, 7);
    EXPECT_EQ(std::string(odd + 7, 2), "FC");  // bytes 01, 03, 00
}

TEST(ModbusFrame, ValuesAreFourDigitWords) {
    // 65535 fits; the builder takes the first four characters of "%04X".
    EXPECT_EQ(Build(ModbusRequest::WriteReg(1, 0xE6, 0xFFFF)).substr(9, 4), "FFFF");
    EXPECT_EQ(Build(ModbusRequest::WriteParam(1, 7, 6000)).substr(15, 4), "1770");
}

TEST(ModbusFrame, RegistersOfParameters) {
    EXPECT_EQ(RegisterOfParameter(0), 0);
    EXPECT_EQ(RegisterOfParameter(6), 6);
    EXPECT_EQ(RegisterOfParameter(7), 8);
    EXPECT_EQ(RegisterOfParameter(115), 7);  // C15 between F06 and F07
    EXPECT_EQ(RegisterOfParameter(55), 0);
    EXPECT_EQ(RegisterOfParameter(99), 0);
    EXPECT_EQ(RegisterOfParameter(156), 0);
    EXPECT_EQ(RegisterOfParameter(131), 139);
    EXPECT_EQ(RegisterOfParameter(53), 0x2C);
}

TEST(ModbusFrame, HexDigitValue) {
    EXPECT_EQ(HexDigitValue('0'), 0);
    EXPECT_EQ(HexDigitValue('9'), 9);
    EXPECT_EQ(HexDigitValue('A'), 10);
    EXPECT_EQ(HexDigitValue('F'), 15);
    EXPECT_EQ(HexDigitValue('a'), 0);
    EXPECT_EQ(HexDigitValue('G'), 0);
    EXPECT_EQ(HexDigitValue(':'), 0);
}

TEST(ModbusReply, ResultsOfTheCheck) {
    EXPECT_EQ(Judge(":0103020005F5\r\n"), kNormalReply);
    EXPECT_EQ(Judge(":0183522A\r\n"), kExceptionReply);
    EXPECT_EQ(ExceptionText(":0183522A\r\n"), "Address Error !");
    // Exception code 02 is none of ours: result 3, no text.
    EXPECT_EQ(Judge(":0183027A\r\n"), kExceptionReply);
    EXPECT_EQ(ExceptionText(":0183027A\r\n"), "");
    // Another station's well-formed reply counts.
    EXPECT_EQ(Judge(":0503020005F1\r\n"), kNormalReply);
    // Wrong LRC, lower-case LRC digits, lower-case data digits, too short.
    EXPECT_EQ(Judge(":0103020005F6\r\n"), kBadFrame);
    EXPECT_EQ(Judge(":0103020A00ec\r\n"), kBadFrame);
    EXPECT_EQ(Judge(":0103020a00EC\r\n"), kBadFrame);
    EXPECT_EQ(Judge(":0\r\n"), kBadFrame);
    EXPECT_EQ(Judge(":"), kBadFrame);
    // Upper-case version of the lower-case cases is fine.
    EXPECT_EQ(Judge(":0103020A00F0\r\n"), kNormalReply);
}

TEST(ModbusReply, ExceptionTexts) {
    EXPECT_EQ(ExceptionText(":0183512B\r\n"), "Function Code Error !");
    EXPECT_EQ(ExceptionText(":01835329\r\n"), "Data Amount Error !");
    EXPECT_EQ(ExceptionText(":01905419\r\n"), "Data Over Range !");
    EXPECT_EQ(ExceptionText(":01865522\r\n"), "Write Mode Error !");
    EXPECT_EQ(ExceptionText(":01835\r\n"), "");
}

TEST(ModbusReply, RegistersAreReadOnlyFromTheCharactersReceived) {
    const char* reply = ":010304138800005D\r\n";
    const int count = static_cast<int>(std::strlen(reply));
    std::uint16_t v = 0;
    ASSERT_TRUE(ReplyRegisterOf(reply, count, 0, v));
    EXPECT_EQ(v, 5000);
    ASSERT_TRUE(ReplyRegisterOf(reply, count, 1, v));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(ReplyRegisterOf(reply, count, 2, v));
    EXPECT_FALSE(ReplyRegisterOf(reply, count, -1, v));
    // A longer buffer left over from before does not lend its characters.
    char buf[kFrameBufferSize] = ":0103121388000000000000000000000000000000000000\r\n";
    std::memcpy(buf, ":0103020005F5\r\n", 15);
    ASSERT_TRUE(ReplyRegisterOf(buf, 15, 0, v));
    EXPECT_EQ(v, 5);
    EXPECT_FALSE(ReplyRegisterOf(buf, 15, 1, v));
}

TEST(ModbusReply, ArbitraryBuffersAreJudgedWithoutReadingPastTheCount) {
    unsigned seed = 7;
    auto next = [&]() { return (seed = seed * 1103515245u + 12345u) >> 16; };
    const char alphabet[] = ":0123456789ABCDEFabcdef\r\n\x80 ";
    for (int i = 0; i < 20000; ++i) {
        const int count = static_cast<int>(next() % (kReadCapacity + 1));
        // Exactly count characters on the heap, so a read beyond them is caught by the sanitizers.
        std::vector<char> reply(static_cast<std::size_t>(std::max(count, 7)), '\0');
        for (int k = 0; k < count; ++k) reply[static_cast<std::size_t>(k)] = alphabet[next() % (sizeof alphabet - 1)];
        if (count > 0 && next() % 2) reply[0] = ':';
        const int result = CheckReply(reply.data(), count);
        EXPECT_TRUE(result >= kBadFrame && result <= kExceptionReply);
        std::uint16_t v;
        for (int k = 0; k < 20; ++k) ReplyRegisterOf(reply.data(), count, k, v);
    }
}
