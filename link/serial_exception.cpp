#include "link/serial_exception.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace korvex {

std::string SystemErrorText(std::uint32_t code) {
#ifdef _WIN32
    char buf[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buf, sizeof buf, nullptr);
    std::string text(buf, n);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
#else
    // strerror_r (GNU) never fails; an unknown code yields "Unknown error N".
    char buf[256] = {};
    const char* text = strerror_r(static_cast<int>(code), buf, sizeof buf);
    std::string s = text ? text : "";
    if (s.rfind("Unknown error", 0) == 0) return {};
    return s;
#endif
}

CSerialException::CSerialException(std::uint32_t code)
    : std::runtime_error(SystemErrorText(code)), code_(code) {}

bool CSerialException::GetErrorMessage(char* buffer, std::size_t size) const {
    if (buffer == nullptr || size == 0) return false;
    std::string text = SystemErrorText(code_);
    if (text.empty()) {
        buffer[0] = '\0';
        return false;
    }
    std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return true;
}

std::string CSerialException::Message() const {
    std::string text = SystemErrorText(code_);
    if (text.empty()) text = "error " + std::to_string(code_);
    return text;
}

void ThrowSerialException(std::uint32_t code) {
    if (code == 0) {
#ifdef _WIN32
        code = GetLastError();
#else
        code = static_cast<std::uint32_t>(errno);
#endif
    }
    throw CSerialException(code);
}

}  // namespace korvex
