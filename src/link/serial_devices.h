// The serial devices of this machine as the kernel describes them in sysfs:
// which ones can be opened, what drives them, and the USB adapters' latency timer.
#pragma once

#include <string>
#include <vector>

namespace kolt {

// Where sysfs and the device nodes live: "/sys" and "/dev", or the folders named
// by KOLT_SYSFS_ROOT and KOLT_DEV_ROOT (a fake tree, for tests).
struct DeviceRoots {
    std::string sys = "/sys";
    std::string dev = "/dev";
};
DeviceRoots DefaultDeviceRoots();

struct SerialDevice {
    std::string path;    // the node to open, e.g. /dev/ttyUSB0
    std::string byId;    // its stable name under /dev/serial/by-id, "" when it has none
    std::string driver;  // ftdi_sio, cdc_acm, serial8250, ...
    std::string usbId;   // vendor:product of the USB device it sits on, "" when not on USB
    int latencyMs = -1;  // the adapter's latency_timer, -1 where it has none
    int openError = 0;   // 0 when the user may read and write the node, else errno
};

// ttyUSB*, ttyACM* and ttyS* devices with real hardware behind them, ordered by
// kind and number. The 8250 driver registers a fixed number of ttyS ports whether
// or not a UART is there; those report port type 0 and are left out.
std::vector<SerialDevice> ListSerialDevices(const DeviceRoots& roots);

// For an opened device: when it is a USB adapter whose latency_timer holds
// received bytes for more than 1 ms, sets it to 1 ms. Returns "" when done or
// when there is nothing to do, else one line of advice with the figure found.
std::string LowerAdapterLatency(const std::string& devicePath, const std::string& sysRoot);

}  // namespace kolt
