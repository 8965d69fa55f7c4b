#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "link/serial_port.h"
#include "link/two_wire_bus.h"

namespace korvex {
namespace {

#ifdef _WIN32

TEST(SerialPort, ComNamesMapToSerialDevices) {
    EXPECT_EQ(DevicePathFor("COM1"), "\\\\.\\COM1");
    EXPECT_EQ(DevicePathFor("COM12"), "\\\\.\\COM12");
    EXPECT_EQ(DevicePathFor("com3"), "\\\\.\\COM3");
    EXPECT_EQ(DevicePathFor("C:\\ports\\some-port"), "C:\\ports\\some-port");
    EXPECT_EQ(DevicePathFor("COMX"), "COMX");
}

TEST(SerialPort, MissingPortFailsWithTheSystemsText) {
    SerialLink link;
    EXPECT_EQ(link.OpenLink("\\\\.\\COM250"), 1);
    EXPECT_FALSE(link.PortOpen());
    EXPECT_FALSE(link.Port().IsOpen());
    // The system's own words, in UTF-8, after the device.
    const std::string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(link.LastError().find(text), std::string::npos) << link.LastError();
    EXPECT_EQ(link.LastError().rfind("\\\\.\\COM250: ", 0), 0u) << link.LastError();
}

TEST(SerialPort, PulledCableReadsAsADeviceNotConnected) {
    CSerialException e(kPortGoneError);
    EXPECT_EQ(e.Code(), static_cast<std::uint32_t>(ERROR_DEVICE_NOT_CONNECTED));
    EXPECT_NE(e.Message(), SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(e.Message().empty());
}

#else

// A pseudo-terminal stands in for a port: it opens like a tty but its
// modem-control ioctls fail, as a port whose lines cannot be driven does.
class Pty {
public:
    Pty() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) path_ = ::ptsname(master_);
    }
    ~Pty() {
        if (master_ >= 0) ::close(master_);
    }
    const std::string& Path() const { return path_; }

private:
    int master_ = -1;
    std::string path_;
};

std::size_t OpenDescriptors() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

TEST(SerialPort, ComNamesMapToSerialDevices) {
    EXPECT_EQ(DevicePathFor("COM1"), std::string(kSerialDevicePrefix) + "0");
    EXPECT_EQ(DevicePathFor("COM12"), std::string(kSerialDevicePrefix) + "11");
    EXPECT_EQ(DevicePathFor("/tmp/some-port"), "/tmp/some-port");
    EXPECT_EQ(DevicePathFor("COMX"), "COMX");
}

TEST(SerialPort, MissingPortFailsWithoutLeaking) {
    const std::size_t before = OpenDescriptors();
    SerialLink link;
    EXPECT_EQ(link.OpenLink("/nonexistent/port"), 1);
    EXPECT_FALSE(link.PortOpen());
    EXPECT_NE(link.LastError().find(std::strerror(ENOENT)), std::string::npos);
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST(SerialPort, PortHeldByAnotherProgramIsRefused) {
    Pty pty;
    ASSERT_FALSE(pty.Path().empty());
    SerialLink first, second;
    ASSERT_EQ(first.OpenLink(pty.Path()), 0) << first.LastError();
    const std::size_t before = OpenDescriptors();
    EXPECT_EQ(second.OpenLink(pty.Path()), 1);
    EXPECT_FALSE(second.PortOpen());
    EXPECT_EQ(OpenDescriptors(), before);  // the failed open closed what it opened
    first.CloseLink();
    EXPECT_EQ(second.OpenLink(pty.Path()), 0) << second.LastError();
    second.CloseLink();
}

TEST(SerialPort, LineCallsOnAPortWithoutModemControlThrowTheSystemError) {
    Pty pty;
    SerialLink link;
    ASSERT_EQ(link.OpenLink(pty.Path()), 0) << link.LastError();
    TwoWireBus bus(link.Port(), [](auto) {});
    try {
        bus.Start();
        FAIL() << "no exception";
    } catch (const CSerialException& e) {
        EXPECT_EQ(e.Code(), static_cast<std::uint32_t>(ENOTTY));
        EXPECT_EQ(e.Message(), std::strerror(ENOTTY));
        char buf[8];
        EXPECT_TRUE(e.GetErrorMessage(buf, sizeof buf));  // cut to the buffer
        EXPECT_EQ(std::strlen(buf), 7u);
    }
    link.CloseLink();
    EXPECT_FALSE(link.Port().IsOpen());
    link.CloseLink();  // closing a closed link does nothing
}

#endif

TEST(SerialPort, CodeWithoutSystemTextGivesEmptyMessageAndFailure) {
    CSerialException e(999999);
    char buf[32] = "x";
    EXPECT_FALSE(e.GetErrorMessage(buf, sizeof buf));
    EXPECT_EQ(buf[0], '\0');
}

}  // namespace
}  // namespace korvex
