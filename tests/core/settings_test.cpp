#include "base/port_name.h"
#include "base/settings.h"
#include "document_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>
#include <unistd.h>

namespace kolt {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHead = "[KOLT]\r\nVersion=v1.2.080324\r\n[System]\r\n";
constexpr const char* kSystem =
    "ComPort=1\r\nBaudRate=38400\r\nDataLengthBits=8\r\nParityBit=0\r\nStopBits=0\r\nPrint Title=1\r\n"
    "Print FxxFlag=1\r\nPrint CxxFlag=1\r\nOnLineEdit=0\r\nFreq50HzFlag=1\r\n[Definite Parameter]\r\n";

class SettingsFileTest : public ::testing::Test {
protected:
    KoltSettings Read(const std::string& text, KoltSettings s = {}) {
        std::ofstream(path_, std::ios::binary) << text;
        EXPECT_TRUE(ReadSettingsFile(path_, s));
        return s;
    }
    testing::TempDir dir_;
    const std::string path_ = dir_.File("koltinf.ini");
};

TEST_F(SettingsFileTest, WriterProducesTheTableLinesWithCrLf) {
    KoltSettings s{.comPort = 3, .baudRate = 9600, .dataBits = 7, .parity = 2, .stopBits = 2, .printTitle = 0,
                   .onlineEdit = 1, .hz50 = 0};
    EXPECT_EQ(SettingsFileText(s),
              "[KOLT]\r\nVersion=v1.2.080324\r\n[System]\r\nComPort=3\r\nBaudRate=9600\r\n"
              "DataLengthBits=7\r\nParityBit=2\r\nStopBits=2\r\nPrint Title=0\r\nPrint FxxFlag=1\r\n"
              "Print CxxFlag=1\r\nOnLineEdit=1\r\nFreq50HzFlag=0\r\n[Definite Parameter]\r\n0\r\n");
    // F07 and C25; a code page other than the default follows the list.
    std::tie(s.definiteCount, s.definiteKinds[0], s.definiteNumbers[0], s.definiteKinds[1], s.definiteNumbers[1], s.codePage) =
        std::tuple(2, 1, 7, 2, 25, "GBK");
    const std::string text = SettingsFileText(s);
    EXPECT_EQ(text.substr(text.find("[Definite")), "[Definite Parameter]\r\n2\r\n1\r\n07\r\n2\r\n25\r\nTextCodePage=GBK\r\n");
}

TEST_F(SettingsFileTest, LinesAreReadAtTheirOwnPlacesOnly) {
    const std::string head = kHead;
    const KoltSettings start{.comPort = 6};  // so that "not read" and "set to 1" differ
    for (const auto& [text, comPort] : std::vector<std::pair<std::string, int>>{
             {"[KOLT]\nV\n[System]\nComPort=4\n", 4}, {"[KOLT] \r\nV\r\n[System]\r\nComPort=5\r\n", 6},
             {"[KOLT]\r\nV\r\n[Sys]\r\nComPort=5\r\n", 6}, {head + "ComPort=0\r\n", 1}, {head + "ComPort=9\r\n", 1},
             {head + "ComPort=-2\r\n", 1}, {head + "ComPort=  7xyz\r\n", 7},
             {head + "xComPort=3\r\n", 1}})  // the value text is "=3", which gives 0, hence COM 1
        EXPECT_EQ(Read(text, start).comPort, comPort) << text;
    KoltSettings untouched = start;  // a missing file changes nothing
    EXPECT_TRUE(!ReadSettingsFile(dir_.File("absent.ini"), untouched) && untouched.comPort == 6);
    EXPECT_EQ(Read(head + "BaudRate=9600\r\nBaudRate=4800\r\n").baudRate, 38400);  // no ComPort: nothing more

    // Baud rate and data bits swapped: both keep their values; so do the moved 50 Hz flag and title flag.
    KoltSettings s = Read(head + "ComPort=2\r\nDataLengthBits=7\r\nBaudRate=9600\r\nParityBit=2\r\nStopBits=2\r\n"
                                 "Freq50HzFlag=0\r\nPrint FxxFlag=0\r\nPrint CxxFlag=0\r\nOnLineEdit=1\r\nPrint Title=0\r\n");
    EXPECT_EQ(std::tuple(s.comPort, s.baudRate, s.dataBits, s.parity, s.printTitle, s.printF, s.onlineEdit, s.hz50),
              std::tuple(2, 38400, 8, 2, 1, 0, 1, 1));
    // Values convert like atoi, flags become 0 or 1; past the end of the file a line is empty.
    s = Read(head + "ComPort=1\r\nBaudRate=abc\r\nDataLengthBits= -7\r\nParityBit=+1x\r\nStopBits=\r\n"
                    "Print Title=2\r\nPrint FxxFlag=-1\r\nPrint CxxFlag=0\r\nOnLineEdit=x\r\n");
    EXPECT_EQ(std::tuple(s.baudRate, s.dataBits, s.parity, s.stopBits, s.printTitle, s.printF, s.printC, s.onlineEdit,
                         s.hz50),
              std::tuple(0, -7, 1, 0, 1, 1, 0, 0, 1));
}

TEST_F(SettingsFileTest, DefiniteListAndCodePageAfterIt) {
    std::string entries;
    for (int i = 0; i < 310; ++i) entries += "2\r\n" + std::to_string(i % 56) + "\r\n";
    const std::string list = kHead + std::string(kSystem);
    KoltSettings big = Read(list + "310\r\n" + entries);
    EXPECT_EQ(std::tuple(big.definiteCount, big.definiteNumbers[299]), std::tuple(kDefiniteMax, 299 % 56));
    // A negative count reads no entry; missing entries read as empty lines.
    const KoltSettings negative = Read(list + "-4\r\n1\r\n07\r\n"), shortList = Read(list + "2\r\n1\r\n07\r\n");
    EXPECT_EQ(std::tuple(negative.definiteCount, negative.definiteKinds[0], shortList.definiteCount, shortList.definiteNumbers[0],
                         shortList.definiteKinds[1]),
              std::tuple(0, 0, 2, 7, 0));
    // The code page: any name iconv knows, in upper case; an unknown one leaves the default.
    for (const auto& [line, codePage] : std::vector<std::pair<std::string, std::string>>{
             {"TextCodePage=big5\r\n", "BIG5"}, {"TextCodePage=SHIFT_JIS\n", "SHIFT_JIS"},
             {"TextCodePage=KLINGON\r\n", "CP1252"}, {"TextCodePage=\r\n", "CP1252"},
             {"x TextCodePage=GBK\r\n", "CP1252"}})
        EXPECT_EQ(Read(list + "1\r\n1\r\n07\r\n" + line).codePage, codePage) << line;
}

TEST_F(SettingsFileTest, LineOptionsAndNetworkPortsFollowTheFixedLines) {
    const std::string plain = kHead + std::string(kSystem) + "0\r\n";
    // A file at the defaults has none of them, so it stays as it always was.
    EXPECT_EQ(SettingsFileText(KoltSettings{}), plain);
    const std::string extras =
        "ReadTimeoutMs=1500\r\nCharGapMs=300\r\nEcho=1\r\nRS485=1\r\nNetPort=rfc2217://gw-3:2217\r\n"
        "RecentNetPort1=rfc2217://gw-3:2217\r\nRecentNetPort2=tcp://[fe80::1]:4001\r\n";
    KoltSettings s = Read(plain + extras);
    EXPECT_EQ(std::tuple(s.readTimeoutMs, s.charGapMs, s.echo, s.rs485, s.netPort, s.recentNetPorts),
              std::tuple(1500, 300, 1, 1, "rfc2217://gw-3:2217",
                         std::vector<std::string>{"rfc2217://gw-3:2217", "tcp://[fe80::1]:4001"}));
    EXPECT_EQ(SettingsFileText(s), plain + extras);

    // Values a user may have typed: out of range gives the port's default (0),
    // a name that is no network port gives none; the limits themselves hold.
    struct Case {
        std::string lines;
        int readTimeout, charGap, echo;
        std::string netPort;
    };
    for (const Case& c : std::vector<Case>{
             {"ReadTimeoutMs=49\r\nCharGapMs=9\r\nEcho=7\r\nNetPort=COM3\r\n", 0, 0, 1, ""},
             {"ReadTimeoutMs=50\r\nCharGapMs=10\r\nNetPort=tcp://gw:502\r\n", 50, 10, 0, "tcp://gw:502"},
             {"ReadTimeoutMs=10000\r\nCharGapMs=5000\r\nNetPort=tcp://gw\r\n", 10000, 5000, 0, ""},
             {"ReadTimeoutMs=10001\r\nCharGapMs=5001\r\nNetPort=tcp://gw:65536\r\n", 0, 0, 0, ""},
             {"ReadTimeoutMs=-400\r\nCharGapMs=x\r\nNetPort=tcp://a b:1\r\n", 0, 0, 0, ""},
             {"ReadTimeoutMs=1e3\r\nNetPort=tcp://fe80::1:502\r\n", 0, 0, 0, ""},  // IPv6 only in brackets
             {" ReadTimeoutMs=500\r\nNetPort=ftp://gw:21\r\n", 0, 0, 0, ""}}) {
        s = Read(plain + c.lines);
        EXPECT_EQ(std::tuple(s.readTimeoutMs, s.charGapMs, s.echo, s.netPort),
                  std::tuple(c.readTimeout, c.charGap, c.echo, c.netPort)) << c.lines;
    }
    // The recent list in the order of its numbers, gaps, repeats and bad names dropped.
    s = Read(plain + "RecentNetPort3=tcp://a:1\r\nRecentNetPort5=tcp://e:5\r\nRecentNetPort1=tcp://b:2\r\n"
                     "RecentNetPort2=rfc2217://c\r\nRecentNetPort4=tcp://b:2\r\nRecentNetPort=tcp://d:4\r\n");
    EXPECT_EQ(s.recentNetPorts, (std::vector<std::string>{"tcp://b:2", "tcp://a:1"}));

    // A Link through a network port puts it first; a fifth one pushes the oldest
    // out; a COM port leaves the list and clears the port in use.
    for (const char* name : {"tcp://a:1", "tcp://b:2", "tcp://c:3", "tcp://d:4", "tcp://b:2", "rfc2217://e:5"})
        NoteLinkPort(name, s);
    EXPECT_EQ(std::tuple(s.netPort, s.recentNetPorts),
              std::tuple("rfc2217://e:5", std::vector<std::string>{"rfc2217://e:5", "tcp://b:2", "tcp://d:4", "tcp://c:3"}));
    NoteLinkPort("", s);
    EXPECT_EQ(std::tuple(s.netPort, s.recentNetPorts.size()), std::tuple("", 4u));
}

TEST(PortName, NetworkNamesAndTheirKinds) {
    struct Case {
        const char* name;
        PortKind kind;
        const char* host;
        int port;
    };
    for (const Case& c : std::vector<Case>{{"tcp://10.1.2.3:4001", PortKind::RawTcp, "10.1.2.3", 4001},
                                           {"rfc2217://gw.plant:2217", PortKind::Rfc2217, "gw.plant", 2217},
                                           {"tcp://[::1]:65535", PortKind::RawTcp, "[::1]", 65535},
                                           {"tcp://gw:0", PortKind::Local, "", 0},
                                           {"tcp://:502", PortKind::Local, "", 0},
                                           {"tcp://gw:+502", PortKind::Local, "", 0},
                                           {"tcp://u@gw:502", PortKind::Local, "", 0},
                                           {"/dev/ttyUSB0", PortKind::Local, "", 0}}) {
        const auto p = ParseNetworkPort(c.name);
        EXPECT_EQ(PortKindOf(c.name), c.kind) << c.name;
        EXPECT_EQ(p ? std::tuple(p->host, p->port, NetworkPortName(*p)) : std::tuple(std::string(), 0, std::string()),
                  std::tuple(c.host, c.port, p ? c.name : "")) << c.name;
    }
}

TEST_F(SettingsFileTest, WriteNeverLosesTheOldFileAndReadsBack) {
    std::ofstream(path_) << "old content";
    KoltSettings s{.comPort = 8, .baudRate = 4800, .parity = 1, .printF = 0, .definiteCount = kDefiniteMax};
    for (int i = 0; i < kDefiniteMax; ++i) std::tie(s.definiteKinds[i], s.definiteNumbers[i]) = std::pair(1 + i % 2, i % 56);
    s.codePage = "SHIFT_JIS";
    EXPECT_FALSE(WriteSettingsFile(dir_.File("no/koltinf.ini"), s));
    if (::geteuid() != 0) {  // permissions do not stop root
        fs::permissions(dir_.Path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(WriteSettingsFile(path_, s));
        fs::permissions(dir_.Path(), fs::perms::owner_all);
        EXPECT_EQ(testing::ReadBytes(path_), "old content");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 1);  // no temporaries
    ASSERT_TRUE(WriteSettingsFile(path_, s));
    KoltSettings r;
    ASSERT_TRUE(ReadSettingsFile(path_, r));
    EXPECT_EQ(std::pair(SettingsFileText(r), testing::ReadBytes(path_)), std::pair(SettingsFileText(s), SettingsFileText(s)));
}

}  // namespace
}  // namespace kolt
