// The virtual drive: one or more simulated stations on a pseudo-terminal. A thread
// reads request frames from the master side and answers them, paced at the baud rate,
// so that a CModbusPort opened on SlavePath() sees what a bus of real drives would give.
#pragma once

#include "virtual_station.h"

#include <atomic>
#include <deque>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

struct termios;

namespace kolt::sim {

// A fault that shows in a station's fault register from `seconds` after start.
struct FaultPlan {
    int station = 1;
    int code = 1;
    double seconds = 0;
};

// A parameter a station starts with instead of its factory default.
struct ParamPreset {
    int station = 1;
    int number = 0;
    std::int32_t value = 0;  // stored form
};

// A station that refuses reads of more than one register taking in `reg`
// (kEveryBlock: any parameter register).
struct BlockRefusal {
    int station = 1;
    int reg = kEveryBlock;
};

struct DriveSimOptions {
    std::vector<int> stations{1};
    int model = 0;
    int version = 12;     // F53: 12 reads as 1.2
    bool hz50 = true;
    int baud = 38400;     // pacing of the replies; 0 sends them at once
    int bitsPerChar = 10; // start + 8 data + stop
    std::set<int> silent;  // stations that never answer
    std::set<int> badLrc;  // stations whose replies carry a wrong LRC
    long silentAfter = -1; // stop answering after this many replies (-1: never)
    int delayMs = 0;       // extra time before each reply
    // Answer only while the line runs at our baud rate, as a real drive hears only
    // garbage otherwise. Off by default: tests may link at any rate.
    bool checkBaud = false;
    // Serve the bus over raw TCP as well, on this loopback address ("127.0.0.1:0"
    // picks a free port); "" for the pseudo-terminal only.
    std::string listenHost;
    int listenPort = -1;
    int segment = 0;     // send replies over TCP in segments of this many bytes (0: a reply in one)
    bool join = false;   // each reply goes out twice in one segment, as a gateway that repeats
    bool echo = false;   // return each request's bytes before the reply (a half-duplex adapter)
    std::vector<FaultPlan> faults;
    std::vector<ParamPreset> presets;
    std::vector<BlockRefusal> blockRefusals;
};

class VirtualDrive {
public:
    explicit VirtualDrive(DriveSimOptions options);
    ~VirtualDrive();
    VirtualDrive(const VirtualDrive&) = delete;
    VirtualDrive& operator=(const VirtualDrive&) = delete;

    // Opens the pseudo-terminal and starts answering. False (with Error()) on failure.
    bool Start();
    void Stop();
    bool Running() const { return thread_.joinable(); }
    const std::string& SlavePath() const { return slavePath_; }
    // The TCP port served (--listen), -1 without one.
    int ListenPort() const { return boundPort_; }
    // The line settings of the pseudo-terminal as whoever opened it set them.
    bool LineAttributes(termios& tio) const;
    const std::string& Error() const { return error_; }

    // Counters: complete frames seen, frames for our stations, replies sent,
    // frames dropped as garbage (bad LRC, malformed, too long). A reply counts as
    // sent once it is decided, before its first character is on the line; a frame
    // counts once its LF has been read.
    long FramesSeen() const { return framesSeen_; }
    long RequestsForUs() const { return requestsForUs_; }
    long RepliesSent() const { return repliesSent_; }
    long FramesRejected() const { return framesRejected_; }

    // Fault switches; they may be changed while running.
    void SetSilent(int station, bool on);
    void SetBadLrc(int station, bool on);
    void SetSilentAfter(long replies);
    void SetDelayMs(int ms);
    // Leaves the next n requests for our stations unanswered, then answers again.
    void SetIgnoreNext(long n);
    // A station leaves reads (function 03) that start at `startRegister`
    // unanswered while on, and answers everything else.
    void SetIgnoreReads(int station, std::uint16_t startRegister, bool on);
    // A station's replies carry `address` instead of its own (0: its own), as
    // a drive set to the wrong address behind a converter would answer.
    void SetReplyAddress(int station, int address);

    // The well-formed frames heard on the line, for any station, in order
    // (without CR LF); the latest kFramesKept of them, so a drive left running
    // for days does not grow. Logged before a frame is answered.
    static constexpr std::size_t kFramesKept = 20000;
    std::vector<std::string> FramesHeard();
    void ClearFramesHeard();
    // Sends the next n replies ms later than usual (late replies), then on time again.
    void SetLateNext(long n, int ms);

    // Runs f on a station's state under the drive's lock (false when no such station).
    bool WithStation(int address, const std::function<void(VirtualStation&)>& f);
    std::int32_t ParamValue(int address, int number);
    // Thread-safe: a test may change a value while the drive answers.
    void SetParamValue(int address, int number, std::int32_t value);
    // See BlockRefusal; may be changed while running.
    void SetRefuseBlocks(int address, int reg, bool on);
    // See VirtualStation::SetKeepValue; may be changed while running.
    void SetKeepValue(int address, int number, bool on);
    void SetFault(int address, int code);

    // Seconds one character takes on the line at the configured baud rate.
    double CharTime() const;

private:
    void Run();
    void HandleFrame(const std::string& frame, SimClock::time_point firstChar);
    void SendPaced(const std::string& reply, SimClock::time_point notBefore);
    bool Listen();
    void Accept();
    void Output(const char* bytes, std::size_t length);

    DriveSimOptions options_;
    std::map<int, std::unique_ptr<VirtualStation>> stations_;
    std::mutex mutex_;
    int master_ = -1;
    int slave_ = -1;    // kept open so the line stays up between clients
    int stopFd_ = -1;
    int listenFd_ = -1;
    int clientFd_ = -1;  // the TCP client, -1 while none
    int outFd_ = -1;     // where the reply to the frame in hand goes
    int boundPort_ = -1;
    long ignoreNext_ = 0;
    std::set<std::pair<int, std::uint16_t>> ignoredReads_;
    std::map<int, int> replyAddress_;
    std::deque<std::string> heard_;
    long lateNext_ = 0;
    int lateMs_ = 0;
    std::string slavePath_;
    std::string error_;
    std::thread thread_;
    std::atomic<long> framesSeen_{0};
    std::atomic<long> requestsForUs_{0};
    std::atomic<long> repliesSent_{0};
    std::atomic<long> framesRejected_{0};
};

// "--stations 1,3 --model 5 ..." -> options; false with a message on a bad argument.
bool ParseSimArguments(const std::vector<std::string>& args, DriveSimOptions& options, std::string& message);
// "3:11@2.5" -> station 3, fault 11, 2.5 s after start ("@..." optional: at once).
bool ParseFaultPlan(const std::string& text, FaultPlan& plan);
// "3:F07=45.00" -> station 3, F07, 4500: the value as the parameter shows it
// (its decimals, at most as many as its format has; 0..65535 in stored form).
bool ParseParamPreset(const std::string& text, ParamPreset& preset);
// "3" -> station 3, every run; "3:0064" -> station 3, the run holding register 0x0064.
bool ParseBlockRefusal(const std::string& text, BlockRefusal& refusal);
// "1,3,5-7" -> {1,3,5,6,7}; stations must be 1..254. False when the text is not such a list.
bool ParseStationList(const std::string& text, std::vector<int>& stations);

}  // namespace kolt::sim
