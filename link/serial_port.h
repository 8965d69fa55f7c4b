#pragma once
#include <cstdint>
#include <string>

#include "link/modem_lines.h"
#include "link/serial_exception.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace korvex {

// The one COM port of the program. Every failing system call throws
// CSerialException with the system's error code. No characters are ever
// sent: the port only drives DTR and RTS and samples CTS.
class CSerialPort final : public ModemLines {
public:
    enum Parity { ParityEven = 0, ParityMark = 1, ParityNone = 2, ParityOdd = 3, ParitySpace = 4 };
    enum StopBits { StopOne = 0, StopOneAndHalf = 1, StopTwo = 2 };
    enum Flow { FlowNone = 0, FlowCtsRts = 1, FlowCtsDtr = 2, FlowDsrRts = 3, FlowDsrDtr = 4, FlowXonXoff = 5 };

    CSerialPort() = default;
    ~CSerialPort() override { Close(); }
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // `device` is "COMn" (the platform's n-th serial port) or a device path.
    void Open(const std::string& device, std::uint32_t baud, int parity, int dataBits, int stopBits, int flow,
              bool overlapped = false);
    void Close() noexcept;
    bool IsOpen() const;

    void SetRts() override;
    void ClearRts() override;
    void SetDtr() override;
    void ClearDtr() override;
    std::uint32_t ReadModemStatus() override;  // kMsCtsOn when CTS is on

    void SetEventMask(std::uint32_t mask);
    void FlushOutput();
    void PurgeInput();
    void PurgeOutput();

private:
#ifdef _WIN32
    void ReadState(DCB& dcb);
    void WriteState(const DCB& dcb);
    void Escape(DWORD function);
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#else
    void SetLines(int bits, bool on);
    int fd_ = -1;
#endif
    bool overlapped_ = false;
};

#ifdef _WIN32
inline constexpr const char* kSerialDevicePrefix = "\\\\.\\COM";
#else
inline constexpr const char* kSerialDevicePrefix = "/dev/ttyS";
#endif

// The device path a port name stands for: "COMn" maps to the platform's n-th
// serial port (/dev/ttyS(n-1) here, \\.\COMn on Windows); anything else is
// taken as a path.
std::string DevicePathFor(const std::string& portName);

// The link: the port opened with the fixed settings (19200 8N1, no flow
// control), purged and flushed.
class SerialLink {
public:
    // 0 when the port is open, 1 when opening failed (LastError() says why).
    // A step that fails after the port opened closes it again.
    [[nodiscard]] int OpenLink(const std::string& portName);
    void CloseLink();
    bool PortOpen() const { return portOpen_; }
    CSerialPort& Port() { return port_; }
    const std::string& LastError() const { return lastError_; }

private:
    CSerialPort port_;
    bool portOpen_ = false;
    std::string lastError_;
};

}  // namespace korvex
