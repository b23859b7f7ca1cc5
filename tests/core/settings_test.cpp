#include "app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace kolt {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kolt_settings_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        path_ = (dir_ / "koltinf.ini").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void WriteRaw(const std::string& text) {
        std::ofstream(path_, std::ios::binary) << text;
    }
    std::string ReadRaw() {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    KoltSettings Read(const std::string& text) {
        WriteRaw(text);
        KoltSettings s;
        EXPECT_TRUE(ReadSettingsFile(path_, s));
        return s;
    }

    fs::path dir_;
    std::string path_;
};

constexpr const char* kHead = "[KOLT]\r\nVersion=v1.2.080324\r\n[System]\r\n";

TEST_F(SettingsFileTest, WriterProducesTheTableLinesWithCrLf) {
    KoltSettings s;
    s.comPort = 3;
    s.baudRate = 9600;
    s.dataBits = 7;
    s.parity = 2;
    s.stopBits = 2;
    s.printTitle = 0;
    s.onlineEdit = 1;
    s.hz50 = 0;
    s.definiteCount = 2;
    s.definiteKinds[0] = 1;
    s.definiteNumbers[0] = 7;
    s.definiteKinds[1] = 2;
    s.definiteNumbers[1] = 25;
    EXPECT_EQ(SettingsFileText(s),
              "[KOLT]\r\nVersion=v1.2.080324\r\n[System]\r\nComPort=3\r\nBaudRate=9600\r\n"
              "DataLengthBits=7\r\nParityBit=2\r\nStopBits=2\r\nPrint Title=0\r\nPrint FxxFlag=1\r\n"
              "Print CxxFlag=1\r\nOnLineEdit=1\r\nFreq50HzFlag=0\r\n[Definite Parameter]\r\n"
              "2\r\n1\r\n07\r\n2\r\n25\r\n");
}

TEST_F(SettingsFileTest, EmptyDefiniteListEndsAfterTheCountLine) {
    KoltSettings s;
    std::string text = SettingsFileText(s);
    const std::string tail = "[Definite Parameter]\r\n0\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(SettingsFileTest, RoundTripThroughTheFile) {
    KoltSettings s;
    s.comPort = 8;
    s.baudRate = 4800;
    s.parity = 1;
    s.printF = 0;
    s.printC = 0;
    s.definiteCount = kDefiniteMax;
    for (int i = 0; i < kDefiniteMax; ++i) {
        s.definiteKinds[i] = 1 + i % 2;
        s.definiteNumbers[i] = i % 56;
    }
    ASSERT_TRUE(WriteSettingsFile(path_, s));
    KoltSettings r;
    ASSERT_TRUE(ReadSettingsFile(path_, r));
    EXPECT_EQ(r.comPort, 8);
    EXPECT_EQ(r.baudRate, 4800);
    EXPECT_EQ(r.parity, 1);
    EXPECT_EQ(r.printF, 0);
    EXPECT_EQ(r.printC, 0);
    EXPECT_EQ(r.printTitle, 1);
    EXPECT_EQ(r.definiteCount, kDefiniteMax);
    EXPECT_EQ(r.definiteKinds, s.definiteKinds);
    EXPECT_EQ(r.definiteNumbers, s.definiteNumbers);
    // Written again it is byte for byte the same file.
    EXPECT_EQ(ReadRaw(), SettingsFileText(r));
}

TEST_F(SettingsFileTest, MissingFileKeepsStartValues) {
    KoltSettings s;
    s.baudRate = 1234;
    EXPECT_FALSE(ReadSettingsFile((dir_ / "absent.ini").string(), s));
    EXPECT_EQ(s.baudRate, 1234);
    EXPECT_EQ(s.comPort, 1);
}

TEST_F(SettingsFileTest, LinesWithPlainLfAreReadToo) {
    KoltSettings s = Read("[KOLT]\nV\n[System]\nComPort=4\nBaudRate=19200\n");
    EXPECT_EQ(s.comPort, 4);
    EXPECT_EQ(s.baudRate, 19200);
}

TEST_F(SettingsFileTest, ForeignHeaderOrMissingSectionStopsReading) {
    KoltSettings a = Read("[KOLT] \r\nV\r\n[System]\r\nComPort=5\r\n");
    EXPECT_EQ(a.comPort, 1);
    KoltSettings b = Read("[KOLT]\r\nV\r\n[Sys]\r\nComPort=5\r\n");
    EXPECT_EQ(b.comPort, 1);
    // Without "ComPort=" on line 4 nothing after it is read either.
    KoltSettings c = Read(std::string(kHead) + "BaudRate=9600\r\nBaudRate=4800\r\n");
    EXPECT_EQ(c.comPort, 1);
    EXPECT_EQ(c.baudRate, 38400);
}

TEST_F(SettingsFileTest, ComPortOutsideOneToEightBecomesOne) {
    EXPECT_EQ(Read(std::string(kHead) + "ComPort=0\r\n").comPort, 1);
    EXPECT_EQ(Read(std::string(kHead) + "ComPort=9\r\n").comPort, 1);
    EXPECT_EQ(Read(std::string(kHead) + "ComPort=-2\r\n").comPort, 1);
    EXPECT_EQ(Read(std::string(kHead) + "ComPort=  7xyz\r\n").comPort, 7);
    // One character before the key: the value text is "=3", which gives 0, hence COM 1.
    EXPECT_EQ(Read(std::string(kHead) + "xComPort=3\r\n").comPort, 1);
}

TEST_F(SettingsFileTest, KeysAreTriedOnlyAtTheirOwnLine) {
    KoltSettings s = Read(std::string(kHead) +
                          "ComPort=2\r\nDataLengthBits=7\r\nBaudRate=9600\r\nParityBit=2\r\nStopBits=2\r\n"
                          "Freq50HzFlag=0\r\nPrint FxxFlag=0\r\nPrint CxxFlag=0\r\nOnLineEdit=1\r\nPrint Title=0\r\n");
    EXPECT_EQ(s.comPort, 2);
    EXPECT_EQ(s.baudRate, 38400);  // swapped with data bits: both keep their values
    EXPECT_EQ(s.dataBits, 8);
    EXPECT_EQ(s.parity, 2);
    EXPECT_EQ(s.stopBits, 2);
    EXPECT_EQ(s.printTitle, 1);
    EXPECT_EQ(s.printF, 0);
    EXPECT_EQ(s.printC, 0);
    EXPECT_EQ(s.onlineEdit, 1);
    EXPECT_EQ(s.hz50, 1);
}

TEST_F(SettingsFileTest, ValuesConvertLikeAtoiAndFlagsBecomeZeroOrOne) {
    KoltSettings s = Read(std::string(kHead) +
                          "ComPort=1\r\nBaudRate=abc\r\nDataLengthBits= -7\r\nParityBit=+1x\r\nStopBits=\r\n"
                          "Print Title=2\r\nPrint FxxFlag=-1\r\nPrint CxxFlag=0\r\nOnLineEdit=x\r\n");
    EXPECT_EQ(s.baudRate, 0);
    EXPECT_EQ(s.dataBits, -7);
    EXPECT_EQ(s.parity, 1);
    EXPECT_EQ(s.stopBits, 0);
    EXPECT_EQ(s.printTitle, 1);
    EXPECT_EQ(s.printF, 1);
    EXPECT_EQ(s.printC, 0);
    EXPECT_EQ(s.onlineEdit, 0);
    EXPECT_EQ(s.hz50, 1);  // past the end of the file: an empty line, so it keeps its value
}

std::string FullHead() {
    return std::string(kHead) +
           "ComPort=1\r\nBaudRate=38400\r\nDataLengthBits=8\r\nParityBit=0\r\nStopBits=0\r\n"
           "Print Title=1\r\nPrint FxxFlag=1\r\nPrint CxxFlag=1\r\nOnLineEdit=0\r\nFreq50HzFlag=1\r\n"
           "[Definite Parameter]\r\n";
}

TEST_F(SettingsFileTest, DefiniteCountIsBoundedToTheList) {
    std::string entries;
    for (int i = 0; i < 310; ++i) entries += "2\r\n" + std::to_string(i % 56) + "\r\n";
    KoltSettings big = Read(FullHead() + "310\r\n" + entries);
    EXPECT_EQ(big.definiteCount, kDefiniteMax);
    EXPECT_EQ(big.definiteKinds[kDefiniteMax - 1], 2);
    EXPECT_EQ(big.definiteNumbers[kDefiniteMax - 1], (kDefiniteMax - 1) % 56);

    KoltSettings negative = Read(FullHead() + "-4\r\n1\r\n07\r\n");
    EXPECT_EQ(negative.definiteCount, 0);
    EXPECT_EQ(negative.definiteKinds[0], 0);

    // A count larger than the entries present reads empty lines as 0.
    KoltSettings shortList = Read(FullHead() + "2\r\n1\r\n07\r\n");
    EXPECT_EQ(shortList.definiteCount, 2);
    EXPECT_EQ(shortList.definiteNumbers[0], 7);
    EXPECT_EQ(shortList.definiteKinds[1], 0);
}

TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFileAlone) {
    WriteRaw("old content");
    KoltSettings s;
    // A path whose folder does not exist cannot be written.
    EXPECT_FALSE(WriteSettingsFile((dir_ / "no" / "koltinf.ini").string(), s));
    // A read-only folder refuses the temporary file; the old file stays.
    if (::geteuid() != 0) {
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(WriteSettingsFile(path_, s));
        fs::permissions(dir_, fs::perms::owner_all);
        EXPECT_EQ(ReadRaw(), "old content");
    }
    // No temporary files are left behind.
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir_)) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_TRUE(WriteSettingsFile(path_, s));
    EXPECT_EQ(ReadRaw(), SettingsFileText(s));
}

}  // namespace
}  // namespace kolt
