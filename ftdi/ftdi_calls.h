#pragma once
#include <memory>
#include <string>
#include <vector>

namespace korvex {

// An FTDI chip on the USB bus that can run synchronous bit-bang mode.
struct FtdiDevice {
    std::string chip;    // "FT232R", "FT-X"
    std::string serial;  // the chip's serial number, as its port list shows it
};

// The few libftdi calls the bit-bang port makes, behind one seam so that
// its failures are tested with libftdi's own return codes and no device.
// Each returns what the libftdi call returns: 0 or more when it worked, a
// negative code when not.
class FtdiCalls {
public:
    virtual ~FtdiCalls() = default;
    // FT232R and FT-X chips present (the vendor's USB id, their product ids).
    virtual int FindAll(std::vector<FtdiDevice>& found) = 0;
    // Opens the chip with this serial (empty: the first found), detaching
    // its serial driver; Close gives it back.
    virtual int Open(const std::string& serial) = 0;
    virtual int SetBitmode(unsigned char outputs, unsigned char mode) = 0;
    virtual int SetBaudrate(int baud) = 0;
    // How long the chip holds a packet short of full before it sends it, ms.
    virtual int SetLatencyTimer(unsigned char ms) = 0;
    virtual int Write(const unsigned char* data, int size) = 0;
    // May return fewer bytes than asked for, 0 when none has come yet.
    virtual int Read(unsigned char* data, int size) = 0;
    virtual int Close() = 0;
    // libftdi's words for the last failure.
    virtual std::string ErrorString() = 0;
};

// The calls on libftdi1 (Linux) or on FTDI's D2XX library loaded when the
// program runs (Windows); nullptr where there is neither.
std::unique_ptr<FtdiCalls> MakeFtdiCalls();

// libftdi's return codes the port tells apart.
inline constexpr int kFtdiNotFound = -3;       // ftdi_usb_open_desc: usb device not found
inline constexpr int kFtdiCannotOpen = -4;     // unable to open device (no permission)
inline constexpr int kFtdiCannotClaim = -5;    // unable to claim device: another program holds it
inline constexpr int kFtdiDetachFailed = -11;  // libusb_detach_kernel_driver() failed
inline constexpr int kFtdiDeviceGone = -666;   // USB device unavailable

}  // namespace korvex
