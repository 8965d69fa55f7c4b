#include "cli/utf8_console.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#include <io.h>
#include <shellapi.h>
#endif

namespace korvex::cli {

#ifdef _WIN32
namespace {

std::string Utf8FromWide(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.pop_back();  // the terminating zero
    return text;
}

}  // namespace
#endif

Utf8Arguments::Utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) values_.push_back(Utf8FromWide(wide[i]));
        LocalFree(wide);
    }
    if (values_.empty())
#endif
        values_.assign(argv, argv + argc);
    for (std::string& value : values_) pointers_.push_back(value.data());
    pointers_.push_back(nullptr);
}

std::string EnvironmentText(const char* name) {
#ifdef _WIN32
    const std::string narrow(name);
    const std::wstring wide(narrow.begin(), narrow.end());  // the names asked for are ASCII
    const wchar_t* value = _wgetenv(wide.c_str());
    return value ? Utf8FromWide(value) : std::string();
#else
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
#endif
}

void WriteText(std::FILE* stream, std::string_view utf8) {
#ifdef _WIN32
    std::fflush(stream);  // whatever stdio holds goes first
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) && !utf8.empty()) {
        const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
        DWORD written = 0;
        if (WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)) return;
    }
#endif
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

}  // namespace korvex::cli
