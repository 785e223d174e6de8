#include <fstream>

#include <gtest/gtest.h>

#include "serial/serial_device_scan.h"
#include "serial/temp_port_map.h"

namespace fs = std::filesystem;

namespace {

// A /dev and /sys tree of plain files and links, enough for the scan's decisions.
class SerialDeviceScanTest : public testing::Test {
protected:
    SerialDeviceScanTest() : roots{dir.path() / "dev", dir.path() / "sys"}
    {
        fs::create_directories(roots.dev / "serial" / "by-id");
    }

    void device(const std::string& name) { std::ofstream(roots.dev / name) << ""; }

    void byId(const std::string& name, const std::string& kernelName)
    {
        fs::create_symlink("../../" + kernelName, roots.dev / "serial" / "by-id" / name);
    }

    // A ttyS entry in sysfs: with or without a bound driver, with a UART type or none.
    void uart(const std::string& name, bool hasDriver, std::optional<int> type)
    {
        device(name);
        const fs::path entry = roots.sys / "class" / "tty" / name;
        fs::create_directories(hasDriver ? entry / "device" / "driver" : entry / "device");
        if (type) {
            std::ofstream(entry / "type") << *type << "\n";
        }
    }

    TempDir dir;
    serial::ScanRoots roots;
};

TEST_F(SerialDeviceScanTest, FindsRealUartsThenAcmThenUsbInNumberOrder)
{
    uart("ttyS10", true, 4);  // 16550A
    uart("ttyS2", true, 4);
    uart("ttyS0", true, 0);             // PORT_UNKNOWN: the kernel's empty placeholder
    uart("ttyS1", false, 4);            // no driver bound
    uart("ttyS3", true, std::nullopt);  // no type in sysfs and no ioctl on a plain file
    device("ttyUSB10");
    device("ttyUSB2");
    device("ttyACM0");
    device("ttyUSBx");  // not a device number
    device("ttyS");
    device("tty0");
    device("console");

    EXPECT_EQ(
        serial::ScanSerialDevices(roots),
        (std::vector<fs::path>{roots.dev / "ttyS2", roots.dev / "ttyS10", roots.dev / "ttyACM0",
                               roots.dev / "ttyUSB2", roots.dev / "ttyUSB10"}));
}

TEST_F(SerialDeviceScanTest, UsbDevicesAreNamedByTheirByIdLink)
{
    device("ttyUSB0");
    device("ttyUSB1");
    device("ttyACM0");
    byId("usb-FTDI_FT232R_A100-if00-port0", "ttyUSB1");
    byId("usb-Modem_ACM_42-if00", "ttyACM0");
    byId("usb-Modem_ACM_42-if00-alt", "ttyACM0");  // a second name: the first in order wins
    byId("usb-Gone-if00", "ttyUSB9");              // dangling, ignored

    const fs::path byIdDir = roots.dev / "serial" / "by-id";
    EXPECT_EQ(serial::ScanSerialDevices(roots),
              (std::vector<fs::path>{byIdDir / "usb-Modem_ACM_42-if00", roots.dev / "ttyUSB0",
                                     byIdDir / "usb-FTDI_FT232R_A100-if00-port0"}));
}

TEST_F(SerialDeviceScanTest, MissingFoldersGiveNothing)
{
    EXPECT_TRUE(serial::ScanSerialDevices({dir.path() / "no-dev", dir.path() / "no-sys"}).empty());
}

}  // namespace
