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
