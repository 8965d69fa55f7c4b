#include "link/path_text.h"

#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace korvex {

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

FileHandle OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    // The C runtime every Windows has does not know "x": an exclusive
    // create goes through _wopen.
    if (std::strchr(mode, 'x') != nullptr) {
        const int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd < 0) return nullptr;
        std::FILE* file = _fdopen(fd, "wb");
        if (file == nullptr) _close(fd);
        return FileHandle(file);
    }
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return FileHandle(_wfopen(path.c_str(), wideMode.c_str()));
#else
    return FileHandle(std::fopen(path.c_str(), mode));
#endif
}

}  // namespace korvex
