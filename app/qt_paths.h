#pragma once
#include <QFile>
#include <QString>

#include <filesystem>

namespace korvex {

// The one way a path the user chose (a QString) reaches the core: wide on
// Windows, where the 8-bit encoding is the ANSI code page and cannot hold
// every name; the file system's own encoding elsewhere.
inline std::filesystem::path FsPath(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

}  // namespace korvex
