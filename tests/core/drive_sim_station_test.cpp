// The simulated drive's answers without a line: frame decoding, refusals, the
// factory-default reset and the running state.
#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "link/modbus_port.h"
#include "drive-sim/virtual_drive.h"
#include "drive-sim/virtual_station.h"

#include <gtest/gtest.h>

using namespace kolt;
using namespace kolt::sim;

namespace {

std::string Ask(VirtualStation& s, const std::string& frame, SimClock::time_point now = SimClock::now()) {
    const auto decoded = DecodeFrame(frame);
    if (!decoded) return "<ignored>";
    return s.Answer(*decoded, frame, now);
}

std::string Frame(const ModbusRequest& r) {
    char buf[kFrameBufferSize] = {};
    return std::string(buf, static_cast<std::size_t>(BuildRequest(r, buf)));
}

}  // namespace

TEST(DriveSimFrames, DecodeRejectsWhatADriveWouldIgnore) {
    EXPECT_TRUE(DecodeFrame(":01080000A5371B\r\n"));
    EXPECT_TRUE(DecodeFrame(":01080000a5371b\r\n"));        // either case
    EXPECT_FALSE(DecodeFrame(":01080000A5371C\r\n"));       // LRC
    EXPECT_FALSE(DecodeFrame(":01080000A5371\r\n"));        // odd digit count
    EXPECT_FALSE(DecodeFrame(":01080000A5371B\n"));         // no CR
    EXPECT_FALSE(DecodeFrame(":0108G000A5371B\r\n"));       // not hex
    EXPECT_FALSE(DecodeFrame(":00\r\n"));
    EXPECT_FALSE(DecodeFrame(""));
    EXPECT_EQ(EncodeFrame(1, 0x83, "\x52"), ":0183522A\r\n");
}

TEST(DriveSimStation, ReadsAnswerFactoryDefaultsVersionAndModel) {
    VirtualStation s(3, 7, 12, true);
    EXPECT_EQ(Ask(s, Frame(ModbusRequest::Capacity(3))), ":0303020007F1\r\n");
    EXPECT_EQ(Ask(s, Frame(ModbusRequest::Echo(3))), Frame(ModbusRequest::Echo(3)));
    for (const auto& p : AllParams()) {
        const std::int32_t expected = p.number == 53 ? 12 : DefaultValue(p.number, 7, true);
        EXPECT_EQ(s.ParamValue(p.number), expected) << p.code;
    }
    VirtualStation s60(1, 0, 12, false);
    EXPECT_EQ(s60.ParamValue(7), 6000);
}

TEST(DriveSimStation, RefusesWhatADriveRefuses) {
    VirtualStation s(1, 0, 12, true);
    const auto code = [&](const ModbusRequest& r) {
        const std::string reply = Ask(s, Frame(r));
        return reply.size() == 11 ? reply.substr(3, 4) : "normal";
    };
    EXPECT_EQ(code(ModbusRequest::WriteParam(1, 0, 3)), "9055");     // F00 read-only
    EXPECT_EQ(code(ModbusRequest::WriteParam(1, 149, 3)), "9055");   // C49 read-only
    EXPECT_EQ(code(ModbusRequest::WriteParam(1, 1, 0)), "9054");     // F01 below 0.1 s
    EXPECT_EQ(code(ModbusRequest::WriteParam(1, 1, 9991)), "9054");  // above 999.0 s
    EXPECT_EQ(code(ModbusRequest::WriteParam(1, 52, 15)), "9054");   // F52 takes 0, 10, 20
    EXPECT_EQ(code(ModbusRequest::WriteReg(1, 0x0200, 1)), "8652");  // no such register
    EXPECT_EQ(code(ModbusRequest::WriteReg(1, 0x00F3, 1)), "8655");  // monitor values are read-only
    EXPECT_EQ(code(ModbusRequest::WriteReg(1, 0x00E7, 5001)), "8654"); // above F07
    EXPECT_EQ(Ask(s, ":010300500001AB\r\n").substr(3, 4), "8352");     // 0x0050 holds nothing
    EXPECT_EQ(Ask(s, ":010300000000FC\r\n").substr(3, 4), "8353");     // zero registers
    EXPECT_EQ(Ask(s, ":01050000FF00FB\r\n").substr(3, 4), "8551");     // function 05
    EXPECT_EQ(Ask(s, ":01080001A5371A\r\n").substr(3, 4), "8851");     // echo sub-function 1
    // Function 10 whose byte count does not match the quantity.
    EXPECT_EQ(Ask(s, ":011000010002020000EA\r\n").substr(3, 4), "9053");
    EXPECT_EQ(s.ParamValue(1), 50);
    EXPECT_EQ(s.ParamValue(0), 0);
    EXPECT_EQ(s.WritesAccepted(), 0);
    EXPECT_EQ(code(ModbusRequest::WriteParam(1, 1, 9990)), "normal");
    EXPECT_EQ(s.ParamValue(1), 9990);
}

TEST(DriveSimStation, FactoryDefaultWriteResetsTheDrive) {
    VirtualStation s(1, 4, 21, true);
    s.SetParamValue(1, 123);
    Ask(s, Frame(ModbusRequest::WriteParam(1, 52, 20)));
    EXPECT_EQ(s.ParamValue(1), 50);
    EXPECT_EQ(s.ParamValue(7), 6000);
    EXPECT_EQ(s.ParamValue(52), 0);
    EXPECT_EQ(s.ParamValue(53), 21);  // the version is the drive's own
    Ask(s, Frame(ModbusRequest::WriteParam(1, 52, 10)));
    EXPECT_EQ(s.ParamValue(7), 5000);
}

TEST(DriveSimStation, RunsRampsAndTrips) {
    VirtualStation s(1, 5, 12, true);
    const auto t0 = SimClock::now();
    Ask(s, Frame(ModbusRequest::WriteReg(1, kRegFreqCommand, 3000)), t0);
    Ask(s, Frame(ModbusRequest::WriteReg(1, kRegControlWord, 0x0001 | 0x0002 | (1 << 5) | (1 << 12))), t0);
    EXPECT_EQ(s.ReadRegister(kRegStatusWord, t0), 0x0003);
    EXPECT_EQ(s.ReadRegister(kRegTerminals, t0), 0x0081);  // S1 and RY1
    EXPECT_EQ(s.ReadRegister(kRegMonitorBlock, t0), 3000);
    // F01 is 5.0 s from 0 to the maximum output frequency: after 1 s a fifth of it.
    const int maxFreq = s.ParamValue(117);
    EXPECT_EQ(s.OutputFrequency(t0 + std::chrono::seconds(1)), maxFreq / 5);
    EXPECT_EQ(s.OutputFrequency(t0 + std::chrono::seconds(30)), 3000);
    EXPECT_GT(*s.ReadRegister(kRegMonitorBlock + 2, t0 + std::chrono::seconds(30)), 0);  // output voltage
    EXPECT_GT(*s.ReadRegister(kRegMonitorBlock + 4, t0 + std::chrono::seconds(30)), 0);  // current
    // The set frequency stays within the limits F08..F07.
    s.SetParamValue(7, 2000);
    EXPECT_EQ(s.ReadRegister(kRegMonitorBlock, t0), 2000);

    s.SetFault(7);
    EXPECT_EQ(s.ReadRegister(kRegFaultCode, t0 + std::chrono::seconds(31)), 7);
    EXPECT_EQ(s.OutputFrequency(t0 + std::chrono::seconds(31)), 0);
    Ask(s, Frame(ModbusRequest::WriteReg(1, kRegControlWord, 0x0008)), t0 + std::chrono::seconds(32));
    EXPECT_EQ(s.Fault(), 0);
    EXPECT_EQ(s.ControlWord(), 0);  // the reset bit does not stick
    EXPECT_EQ(s.ReadRegister(kRegStatusWord, t0 + std::chrono::seconds(32)), 0);
}

TEST(DriveSimArguments, ParsesSwitches) {
    DriveSimOptions o;
    std::string message;
    ASSERT_TRUE(ParseSimArguments({"--stations", "1,3,5-7", "--model", "5", "--baud", "9600", "--silent", "2",
                                   "--bad-lrc", "3", "--silent-after", "10", "--delay-ms", "20", "--hz60", "--check-baud"},
                                  o, message))
        << message;
    EXPECT_EQ(o.stations, (std::vector<int>{1, 3, 5, 6, 7}));
    EXPECT_EQ(o.model, 5);
    EXPECT_EQ(o.baud, 9600);
    EXPECT_EQ(o.silent, std::set<int>{2});
    EXPECT_EQ(o.badLrc, std::set<int>{3});
    EXPECT_EQ(o.silentAfter, 10);
    EXPECT_EQ(o.delayMs, 20);
    EXPECT_FALSE(o.hz50);
    EXPECT_TRUE(o.checkBaud);

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--model", "11"}, {"--stations", "0"}, {"--stations", "1,,2"}, {"--stations", "255"},
             {"--baud"}, {"--frobnicate", "1"}, {"--delay-ms", "-1"}, {"stray"}}) {
        DriveSimOptions d;
        EXPECT_FALSE(ParseSimArguments(bad, d, message)) << bad[0];
        EXPECT_FALSE(message.empty());
    }
}

TEST(DriveSimStation, AnyWellFormedFrameGetsAWellFormedAnswer) {
    // Random functions, registers, counts and lengths, all with a correct LRC.
    VirtualStation s(1, 3, 12, true);
    unsigned seed = 12345;
    auto next = [&]() { return (seed = seed * 1103515245u + 12345u) >> 16; };
    const std::uint8_t functions[] = {0x03, 0x06, 0x08, 0x10, 0x01, 0x2B, 0x83};
    for (int i = 0; i < 5000; ++i) {
        std::string data;
        const unsigned length = next() % 12;
        for (unsigned k = 0; k < length; ++k) data.push_back(static_cast<char>(next() % 4 == 0 ? next() : next() % 3));
        const std::string frame = EncodeFrame(1, functions[next() % 7], data);
        const auto decoded = DecodeFrame(frame);
        ASSERT_TRUE(decoded) << frame;
        const std::string reply = s.Answer(*decoded, frame, SimClock::now());
        const auto back = DecodeFrame(reply);
        ASSERT_TRUE(back) << frame << " -> " << reply;
        EXPECT_EQ(back->address, 1);
    }
}
