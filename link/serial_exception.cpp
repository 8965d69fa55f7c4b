#include "link/serial_exception.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace korvex {

std::string SystemErrorText(std::uint32_t code) {
#ifdef _WIN32
    // Wide, then UTF-8 like every other text of the program: the ANSI call
    // would give code page bytes in the user's language.
    wchar_t wide[512] = {};
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), wide, 512, nullptr);
    std::string text;
    if (n > 0) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
        text.resize(static_cast<std::size_t>(size > 0 ? size : 0));
        if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(n), text.data(), size, nullptr, nullptr);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
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
