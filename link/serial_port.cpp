#include "link/serial_port.h"

#include <cctype>
#include <cstdlib>

#include "link/path_text.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace korvex {

namespace {
// "COM7" -> 7, anything else -> 0.
int ComNumber(const std::string& name) {
    if (name.size() < 4 || (name.compare(0, 3, "COM") != 0 && name.compare(0, 3, "com") != 0)) return 0;
    int n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
        n = n * 10 + (name[i] - '0');
        if (n > 255) return 0;
    }
    return n;
}
}  // namespace

std::string DevicePathFor(const std::string& portName) {
    const int n = ComNumber(portName);
    if (n == 0) return portName;
#ifdef _WIN32
    return kSerialDevicePrefix + std::to_string(n);
#else
    return kSerialDevicePrefix + std::to_string(n - 1);
#endif
}

#ifdef _WIN32

void CSerialPort::Open(const std::string& device, std::uint32_t baud, int parity, int dataBits, int stopBits,
                       int flow, bool overlapped) {
    Close();
    // Wide: a device path given in UTF-8 may hold any character.
    const std::filesystem::path path = PathFromUtf8(DevicePathFor(device));
    handle_ = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          overlapped ? FILE_FLAG_OVERLAPPED : 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) ThrowSerialException(0);
    overlapped_ = overlapped;

    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ReadState(dcb);
    dcb.BaudRate = baud;
    dcb.ByteSize = static_cast<BYTE>(dataBits);
    static const BYTE kParity[] = {EVENPARITY, MARKPARITY, NOPARITY, ODDPARITY, SPACEPARITY};
    dcb.Parity = kParity[parity];
    static const BYTE kStop[] = {ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS};
    dcb.StopBits = kStop[stopBits];
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutxCtsFlow = (flow == FlowCtsRts || flow == FlowCtsDtr);
    dcb.fOutxDsrFlow = (flow == FlowDsrRts || flow == FlowDsrDtr);
    if (flow == FlowCtsRts || flow == FlowDsrRts) dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    if (flow == FlowCtsDtr || flow == FlowDsrDtr) dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
    dcb.fInX = dcb.fOutX = (flow == FlowXonXoff);
    if (flow == FlowXonXoff) {
        dcb.XonChar = 0x11;
        dcb.XoffChar = 0x13;
        dcb.XonLim = 100;
        dcb.XoffLim = 100;
    }
    WriteState(dcb);
}

void CSerialPort::Close() noexcept {
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    overlapped_ = false;
}

bool CSerialPort::IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

void CSerialPort::ReadState(DCB& dcb) {
    if (!GetCommState(handle_, &dcb)) ThrowSerialException(0);
}
void CSerialPort::WriteState(const DCB& dcb) {
    if (!SetCommState(handle_, const_cast<DCB*>(&dcb))) ThrowSerialException(0);
}
void CSerialPort::Escape(DWORD function) {
    if (!EscapeCommFunction(handle_, function)) ThrowSerialException(0);
}
void CSerialPort::SetRts() { Escape(SETRTS); }
void CSerialPort::ClearRts() { Escape(CLRRTS); }
void CSerialPort::SetDtr() { Escape(SETDTR); }
void CSerialPort::ClearDtr() { Escape(CLRDTR); }
std::uint32_t CSerialPort::ReadModemStatus() {
    DWORD bits = 0;
    if (!GetCommModemStatus(handle_, &bits)) ThrowSerialException(0);
    return (bits & MS_CTS_ON) ? kMsCtsOn : 0;
}
void CSerialPort::SetEventMask(std::uint32_t mask) {
    if (!SetCommMask(handle_, mask)) ThrowSerialException(0);
}
void CSerialPort::FlushOutput() {
    if (!FlushFileBuffers(handle_)) ThrowSerialException(0);
}
void CSerialPort::PurgeInput() {
    if (!PurgeComm(handle_, PURGE_RXCLEAR)) ThrowSerialException(0);
}
void CSerialPort::PurgeOutput() {
    if (!PurgeComm(handle_, PURGE_TXCLEAR)) ThrowSerialException(0);
}

#else  // POSIX

void CSerialPort::Open(const std::string& device, std::uint32_t baud, int parity, int dataBits, int stopBits,
                       int flow, bool overlapped) {
    Close();
    const std::string path = DevicePathFor(device);
    // O_NONBLOCK: do not wait for carrier on open.
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) ThrowSerialException(0);
    overlapped_ = overlapped;
    // Exclusive use: TIOCEXCL keeps other opens of the tty out; the lock also
    // keeps out a second program running as root, which TIOCEXCL lets through.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd_, TIOCEXCL) != 0) ThrowSerialException(0);

    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) ThrowSerialException(0);
    ::cfmakeraw(&tio);
    speed_t speed = B19200;
    switch (baud) {
        case 9600: speed = B9600; break;
        case 38400: speed = B38400; break;
        case 57600: speed = B57600; break;
        case 115200: speed = B115200; break;
        default: speed = B19200; break;
    }
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE);
    tio.c_cflag |= dataBits == 7 ? CS7 : dataBits == 6 ? CS6 : dataBits == 5 ? CS5 : CS8;
    tio.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CSTOPB);
    if (parity == ParityEven) tio.c_cflag |= PARENB;
    if (parity == ParityOdd) tio.c_cflag |= PARENB | PARODD;
    if (stopBits == StopTwo || stopBits == StopOneAndHalf) tio.c_cflag |= CSTOPB;
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    if (flow == FlowCtsRts || flow == FlowCtsDtr || flow == FlowDsrRts || flow == FlowDsrDtr) tio.c_cflag |= CRTSCTS;
    if (flow == FlowXonXoff) {
        tio.c_iflag |= IXON | IXOFF;
        tio.c_cc[VSTART] = 0x11;
        tio.c_cc[VSTOP] = 0x13;
    }
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) ThrowSerialException(0);
}

void CSerialPort::Close() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    overlapped_ = false;
}

bool CSerialPort::IsOpen() const { return fd_ >= 0; }

void CSerialPort::SetLines(int bits, bool on) {
    if (::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits) != 0) ThrowSerialException(0);
}
void CSerialPort::SetRts() { SetLines(TIOCM_RTS, true); }
void CSerialPort::ClearRts() { SetLines(TIOCM_RTS, false); }
void CSerialPort::SetDtr() { SetLines(TIOCM_DTR, true); }
void CSerialPort::ClearDtr() { SetLines(TIOCM_DTR, false); }
std::uint32_t CSerialPort::ReadModemStatus() {
    int bits = 0;
    if (::ioctl(fd_, TIOCMGET, &bits) != 0) ThrowSerialException(0);
    return (bits & TIOCM_CTS) ? kMsCtsOn : 0;
}
// No event mask on POSIX: nothing waits on port events.
void CSerialPort::SetEventMask(std::uint32_t) {
    if (fd_ < 0) ThrowSerialException(EBADF);
}
void CSerialPort::FlushOutput() {
    if (::tcdrain(fd_) != 0) ThrowSerialException(0);
}
void CSerialPort::PurgeInput() {
    if (::tcflush(fd_, TCIFLUSH) != 0) ThrowSerialException(0);
}
void CSerialPort::PurgeOutput() {
    if (::tcflush(fd_, TCOFLUSH) != 0) ThrowSerialException(0);
}

#endif

int SerialLink::OpenLink(const std::string& portName) {
    try {
        port_.Open(portName, 19200, CSerialPort::ParityNone, 8, CSerialPort::StopOne, CSerialPort::FlowNone, false);
        port_.PurgeInput();
        port_.PurgeOutput();
        port_.FlushOutput();
        port_.SetEventMask(5);  // EV_RXCHAR | EV_TXEMPTY
        portOpen_ = true;
        lastError_.clear();
        return 0;
    } catch (const CSerialException& e) {
        // Leave nothing half open: a second try must start clean.
        port_.Close();
        portOpen_ = false;
        lastError_ = DevicePathFor(portName) + ": " + e.Message();
        return 1;
    }
}

void SerialLink::CloseLink() {
    if (!portOpen_) return;
    portOpen_ = false;
    try {
        port_.PurgeInput();
        port_.PurgeOutput();
        port_.FlushOutput();
    } catch (...) {
        port_.Close();
        throw;
    }
    port_.Close();
}

}  // namespace korvex
