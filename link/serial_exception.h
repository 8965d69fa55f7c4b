#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace korvex {

// A failed port call, carrying the system error code (errno here,
// GetLastError on Windows). Thrown by value, caught by reference.
class CSerialException : public std::runtime_error {
public:
    explicit CSerialException(std::uint32_t code);
    std::uint32_t Code() const { return code_; }
    // The system's text for the code; false and an empty buffer when the
    // system has none.
    bool GetErrorMessage(char* buffer, std::size_t size) const;
    std::string Message() const;

private:
    std::uint32_t code_;
};

// The code of a port whose device went away (a pulled USB cable): EIO here,
// ERROR_DEVICE_NOT_CONNECTED on Windows, where 5 would read "Access denied".
#ifdef _WIN32
inline constexpr std::uint32_t kPortGoneError = 1167;
#else
inline constexpr std::uint32_t kPortGoneError = 5;  // EIO
#endif

// Throws CSerialException with `code`, or with the calling thread's last
// system error when `code` is 0.
[[noreturn]] void ThrowSerialException(std::uint32_t code = 0);

// The system's message text for an error code, empty when it has none.
std::string SystemErrorText(std::uint32_t code);

}  // namespace korvex
