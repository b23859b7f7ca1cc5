// The serial device listing and the USB adapters' latency timer, against a
// fake sysfs and /dev tree shaped as the kernel and udev lay them out.
#include "as_ordinary_user.h"
#include "cli_run_support.h"
#include "link/serial_port.h"
#include "serial_test_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace kolt::testing {
namespace {

namespace fs = std::filesystem;

class SerialDevicesTest : public CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        fs::permissions(dir_.Path(), fs::perms::all);  // the unprivileged child writes its output here
        const fs::path usb = Sys("devices/pci0000:00/0000:00:14.0/usb1");
        // An FTDI-style adapter: a usb-serial port device below the USB interface.
        Put(usb / "1-1/idVendor", "0403\n");
        Put(usb / "1-1/idProduct", "6001\n");
        ftdi_ = usb / "1-1/1-1:1.0/ttyUSB0";
        Put(ftdi_ / "latency_timer", "16\n");
        Link(Sys("bus/usb-serial/drivers/ftdi_sio"), ftdi_ / "driver");
        Link(Sys("bus/usb-serial"), ftdi_ / "subsystem");
        Tty(ftdi_, "ttyUSB0");
        // A CDC ACM device: the tty hangs straight from the USB interface.
        const fs::path acm = usb / "1-2/1-2:1.0";
        Put(usb / "1-2/idVendor", "2341\n");
        Put(usb / "1-2/idProduct", "0043\n");
        Link(Sys("bus/usb/drivers/cdc_acm"), acm / "driver");
        Link(Sys("bus/usb"), acm / "subsystem");
        Tty(acm, "ttyACM0");
        // 8250 ports behind serial-base port devices: ttyS0 has a UART (type 4),
        // ttyS5 is one of the ports the driver registers without one (type 0).
        const fs::path uart = Sys("devices/platform/serial8250");
        Link(Sys("bus/platform/drivers/serial8250"), uart / "driver");
        Link(Sys("bus/platform"), uart / "subsystem");
        for (const auto& [n, type] : {std::pair{"0", "4\n"}, std::pair{"5", "0\n"}}) {
            const fs::path port = uart / "serial8250:0" / (std::string("serial8250:0.") + n);
            Link(Sys("bus/serial-base/drivers/port"), port / "driver");
            Link(Sys("bus/serial-base"), port / "subsystem");
            Tty(port, std::string("ttyS") + n);
            Put(port / "tty" / (std::string("ttyS") + n) / "type", type);
        }
        Put(Dev("ttyUSB0"), "", 0666);
        Put(Dev("ttyACM0"), "", 0666);
        Put(Dev("ttyS0"), "", 0444);
        Link("../../ttyUSB0", Dev("serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0"));
    }

    fs::path Sys(const std::string& rel) const { return fs::path(dir_.Path()) / "sys" / rel; }
    fs::path Dev(const std::string& rel) const { return fs::path(dir_.Path()) / "dev" / rel; }
    static void Put(const fs::path& file, const std::string& text, int mode = 0644) {
        fs::create_directories(file.parent_path());
        WriteBytes(file.string(), text);
        ::chmod(file.c_str(), static_cast<mode_t>(mode));
    }
    static void Link(const fs::path& target, const fs::path& link) {
        fs::create_directories(link.parent_path());
        fs::create_symlink(target, link);
    }
    // The class/tty entry `name` of a device, as the kernel links it.
    void Tty(const fs::path& device, const std::string& name) {
        Link(device, device / "tty" / name / "device");
        Link(device / "tty" / name, Sys("class/tty/" + name));
    }

    fs::path ftdi_;
};

TEST_F(SerialDevicesTest, PortsCommandListsTheDevicesWithHardwareBehindThem) {
    const std::string shown = AsOrdinaryUser([this] {
        // Relative roots keep the table's columns the same wherever the tree is.
        const fs::path cwd = fs::current_path();
        fs::current_path(dir_.Path());
        const CliRun r = Cli({"ports", "--sysfs", "sys", "--dev", "dev"});
        fs::current_path(cwd);
        return std::to_string(r.status) + "\n" + r.out + "--\n" + r.err;
    });
    EXPECT_EQ(shown,
              "0\n"
              "Device       Driver      USB        Latency  Access              By-id\n"
              "dev/ttyUSB0  ftdi_sio    0403:6001  16 ms    yes                 "
              "dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0\n"
              "dev/ttyACM0  cdc_acm     2341:0043  -        yes                 -\n"
              "dev/ttyS0    serial8250  -          -        no (dialout group)  -\n"
              "--\n"
              "You are not allowed to use dev/ttyS0.\n"
              "Add your user to the dialout group (sudo usermod -aG dialout $USER), then log out and in again.\n");
}

struct NoticePrompts : CUnattendedPrompts {
    std::string notices;
    void Notice(const std::string& text) override { notices += text; }
};

// Opening the adapter lowers a 16 ms latency timer to 1 ms where the user may
// write it; where not, the open says how, once, with the figure it found.
TEST_F(SerialDevicesTest, OpeningAnAdapterLowersItsLatencyTimerOrSaysHow) {
    TestLine line;  // plays the adapter: sysfs knows a pseudo-terminal by its number
    const std::string pts = line.SlavePath();
    const std::string number = fs::path(pts).filename().string();
    ::chmod(pts.c_str(), 0666);
    Link(ftdi_ / "tty/ttyUSB0", Sys("class/tty/" + number));
    const std::string timer = Sys("class/tty/" + number + "/device/latency_timer").string();
    ::setenv("KOLT_SYSFS_ROOT", Sys("").c_str(), 1);

    const std::string advice =
        "The USB adapter " + pts +
        " holds received bytes for 16 ms before passing them on, which slows every reply. "
        "Set it to 1 ms with: echo 1 | sudo tee " + timer + " ; for good, put this line into "
        "/etc/udev/rules.d/99-usb-serial-latency.rules: "
        "ACTION==\"add\", SUBSYSTEM==\"usb-serial\", DRIVER==\"ftdi_sio\", ATTR{latency_timer}=\"1\"";
    const struct {
        int mode;
        std::string timerAfter, notice;
    } cases[] = {{0666, "1", ""}, {0444, "16\n", advice}};
    for (const auto& c : cases) {
        Put(ftdi_ / "latency_timer", "16\n", c.mode);
        const std::string seen = AsOrdinaryUser([&] {
            NoticePrompts prompts;
            CSerialPort port(&prompts);
            if (port.Open(pts, 2048, 2048) != 0) return std::string("open failed");
            const std::string kept = port.AdapterAdvice();
            port.Close();
            return prompts.notices + "|" + kept;
        });
        EXPECT_EQ(seen, c.notice + "|" + c.notice) << "mode " << std::oct << c.mode;
        EXPECT_EQ(ReadBytes(timer), c.timerAfter) << "mode " << std::oct << c.mode;
    }
    ::unsetenv("KOLT_SYSFS_ROOT");
}

}  // namespace
}  // namespace kolt::testing
