// The simulated drive's answers without a line: defaults, refusals and the running state.
#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "link/modbus_port.h"
#include "drive-sim/virtual_drive.h"
#include "drive-sim/virtual_station.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kolt;
using namespace kolt::sim;

namespace {

std::string Ask(VirtualStation& s, const std::string& frame, SimClock::time_point now = SimClock::now()) {
    const auto decoded = DecodeFrame(frame);
    return decoded ? s.Answer(*decoded, frame, now) : "<ignored>";
}

std::string Frame(const ModbusRequest& r) {
    char buf[kFrameBufferSize] = {};
    return std::string(buf, static_cast<std::size_t>(BuildRequest(r, buf)));
}

}  // namespace

TEST(DriveSimStation, AnswersWithFactoryDefaultsAndRefusesWhatADriveRefuses) {
    VirtualStation s7(3, 7, 12, true);
    EXPECT_EQ(Ask(s7, Frame(ModbusRequest::Capacity(3))), ":0303020007F1\r\n");
    EXPECT_EQ(Ask(s7, Frame(ModbusRequest::Echo(3))), Frame(ModbusRequest::Echo(3)));
    for (const auto& p : AllParams())
        EXPECT_EQ(s7.ParamValue(p.number), p.number == 53 ? 12 : DefaultValue(p.number, 7, true)) << p.code;

    VirtualStation s(1, 0, 12, true);
    const std::vector<std::pair<std::string, std::string>> refusals = {
        // F00 and C49 read-only; F01 outside 0.1..999.0 s; F52 takes only 0, 10, 20.
        {Frame(ModbusRequest::WriteParam(1, 0, 3)), "9055"}, {Frame(ModbusRequest::WriteParam(1, 149, 3)), "9055"},
        {Frame(ModbusRequest::WriteParam(1, 1, 0)), "9054"}, {Frame(ModbusRequest::WriteParam(1, 52, 15)), "9054"},
        // No such register, monitor values read-only, frequency command above F07.
        {Frame(ModbusRequest::WriteReg(1, 0x0200, 1)), "8652"}, {Frame(ModbusRequest::WriteReg(1, 0x00F3, 1)), "8655"},
        {Frame(ModbusRequest::WriteReg(1, 0x00E7, 5001)), "8654"},
        // Register 0x0050 holds nothing, zero registers, function 05, echo sub-function 1,
        // function 10 whose byte count does not match the quantity.
        {":010300500001AB\r\n", "8352"}, {":010300000000FC\r\n", "8353"}, {":01050000FF00FB\r\n", "8551"},
        {":01080001A5371A\r\n", "8851"}, {":011000010002020000EA\r\n", "9053"}};
    for (const auto& [frame, code] : refusals) {
        const std::string reply = Ask(s, frame);
        EXPECT_EQ(reply.size() == 11 ? reply.substr(3, 4) : reply, code) << frame;
    }
    EXPECT_EQ(std::make_tuple(s.ParamValue(1), s.WritesAccepted()), std::make_tuple(50, 0));
    EXPECT_EQ(Ask(s, Frame(ModbusRequest::WriteParam(1, 1, 9990))).size(), 17u);
    EXPECT_EQ(s.ParamValue(1), 9990);
    // Write requests are counted per register, taken or refused, by function 10 or 06; a read is no write.
    Ask(s, Frame(ModbusRequest::WriteParam(1, 7, 5000)));
    Ask(s, Frame(ModbusRequest::WriteReg(1, 0x0008, 5000)));
    Ask(s, Frame(ModbusRequest::ReadParam(1, 53)));
    // F00 and F52 refused above, F07 taken twice, F53 only read.
    EXPECT_EQ(std::make_tuple(s.WriteRequestsTo(0x0000), s.WriteRequestsTo(0x002B), s.WriteRequestsTo(0x0008),
                              s.WriteRequestsTo(0x002C)),
              std::make_tuple(1, 1, 2, 0));
}

TEST(DriveSimStation, RunsRampsAndTrips) {
    VirtualStation s(1, 5, 12, true);
    const auto t0 = SimClock::now();
    const auto at = [&](int seconds) { return t0 + std::chrono::seconds(seconds); };
    Ask(s, Frame(ModbusRequest::WriteReg(1, kRegFreqCommand, 3000)), t0);
    Ask(s, Frame(ModbusRequest::WriteReg(1, kRegControlWord, 0x0001 | 0x0002 | (1 << 5) | (1 << 12))), t0);
    EXPECT_EQ(std::make_tuple(s.ReadRegister(kRegStatusWord, t0), s.ReadRegister(kRegTerminals, t0)),
              std::make_tuple(0x0003, 0x0081));  // running forward; S1 and RY1
    // F01 is 5.0 s from 0 to the maximum output frequency: after 1 s a fifth of it.
    EXPECT_EQ(s.OutputFrequency(at(1)), s.ParamValue(117) / 5);
    EXPECT_EQ(s.OutputFrequency(at(30)), 3000);
    EXPECT_GT(*s.ReadRegister(kRegMonitorBlock + 4, at(30)), 0);  // current
    s.SetFault(7);
    EXPECT_EQ(std::make_tuple(s.ReadRegister(kRegFaultCode, at(31)), s.OutputFrequency(at(31))), std::make_tuple(7, 0));
    Ask(s, Frame(ModbusRequest::WriteReg(1, kRegControlWord, 0x0008)), at(32));
    EXPECT_EQ(std::make_tuple(s.Fault(), s.ControlWord()), std::make_tuple(0, 0));  // the reset bit does not stick
}

TEST(DriveSimStation, AScheduledFaultTripsARunningDriveUntilAReset) {
    VirtualStation s(2, 5, 12, true);
    const auto t0 = SimClock::now();
    const auto at = [&](int seconds) { return t0 + std::chrono::seconds(seconds); };
    s.ScheduleFault(11, at(10));
    Ask(s, Frame(ModbusRequest::WriteReg(2, kRegFreqCommand, 3000)), t0);
    Ask(s, Frame(ModbusRequest::WriteReg(2, kRegControlWord, 0x0001)), t0);
    EXPECT_EQ(std::make_tuple(s.ReadRegister(kRegFaultCode, at(9)), s.OutputFrequency(at(9))), std::make_tuple(0, 3000));
    // Due: the very next request sees the trip, and the run command is gone.
    EXPECT_EQ(Ask(s, Frame(ModbusRequest::FaultBlock(2)), at(10)).substr(7, 12), "0000000B0000");
    EXPECT_EQ(s.OutputFrequency(at(10)), 0);
    EXPECT_EQ(s.ControlWord(), 0);
    Ask(s, Frame(ModbusRequest::WriteReg(2, kRegControlWord, 0x0008)), at(11));
    // Reset, and it does not come back.
    EXPECT_EQ(std::make_tuple(s.ReadRegister(kRegFaultCode, at(60)), s.OutputFrequency(at(60))), std::make_tuple(0, 0));
}

TEST(DriveSimOptions, FaultPlans) {
    DriveSimOptions o;
    std::string message;
    ASSERT_TRUE(ParseSimArguments({"--fault", "3:11@2.5", "--fault", "1:35"}, o, message)) << message;
    ASSERT_EQ(o.faults.size(), 2u);
    EXPECT_EQ(std::make_tuple(o.faults[0].station, o.faults[0].code, o.faults[0].seconds), std::make_tuple(3, 11, 2.5));
    EXPECT_EQ(std::make_tuple(o.faults[1].station, o.faults[1].code, o.faults[1].seconds), std::make_tuple(1, 35, 0.0));
    for (const char* bad : {"3", "0:1", "3:x", "3:1@", "3:1@-1", "3:1@2s", "255:1"}) {
        DriveSimOptions other;
        EXPECT_FALSE(ParseSimArguments({"--fault", bad}, other, message)) << bad;
    }
}
