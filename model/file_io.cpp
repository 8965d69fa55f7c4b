#include "model/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "link/path_text.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace korvex {
namespace {

namespace fs = std::filesystem;

FileOutcome Failure(FileStep step, const fs::path& path, int error) {
    if (error == 0) error = EIO;  // a failure must never read as success
    return FileOutcome{step, PathToUtf8(path), std::strerror(error), error};
}

FileOutcome Success(const fs::path& path) { return FileOutcome{FileStep::None, PathToUtf8(path), {}, 0}; }

int SyncFile(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file));
#else
    return fsync(fileno(file));
#endif
}

// Makes the rename itself durable; a failure here leaves the new file in place.
void SyncDirectory([[maybe_unused]] const fs::path& dir) {
#ifndef _WIN32
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

// Creates a new file next to target under a name nobody else uses.
std::FILE* CreateTemporary(const fs::path& target, fs::path& tempPath, int& error) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(random()));
        tempPath = target;
        tempPath += suffix;
        errno = 0;
        if (std::FILE* file = OpenFile(tempPath, "wbx").release()) return file;
        error = errno;
        if (error != EEXIST) return nullptr;
    }
    return nullptr;
}

}  // namespace

FileBytes ReadFileBytes(const fs::path& path, std::size_t maxBytes) {
    FileBytes result;
    errno = 0;
    std::FILE* file = OpenFile(path, "rb").release();
    if (!file) {
        result.outcome = Failure(FileStep::Open, path, errno);
        return result;
    }
    constexpr std::size_t kChunk = 65536;
    while (result.bytes.size() < maxBytes) {
        const std::size_t want = std::min(kChunk, maxBytes - result.bytes.size());
        const std::size_t had = result.bytes.size();
        result.bytes.resize(had + want);
        errno = 0;
        const std::size_t got = std::fread(result.bytes.data() + had, 1, want, file);
        result.bytes.resize(had + got);
        if (got < want) {
            if (std::ferror(file)) {
                const int error = errno;
                std::fclose(file);
                result.bytes.clear();
                result.outcome = Failure(FileStep::Read, path, error);
                return result;
            }
            break;  // end of file
        }
    }
    std::fclose(file);
    result.outcome = Success(path);
    return result;
}

FileOutcome WriteFileAtomic(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(path, ec)) {
        const fs::path resolved = fs::weakly_canonical(path, ec);
        if (!ec) target = resolved;
    }

    fs::path tempPath;
    int error = 0;
    std::FILE* file = CreateTemporary(target, tempPath, error);
    if (!file) return Failure(FileStep::Create, path, error);

    const auto fail = [&](int failure) {
        std::error_code ignored;
        fs::remove(tempPath, ignored);
        return Failure(FileStep::Write, path, failure);
    };
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        const int failure = errno;
        std::fclose(file);
        return fail(failure);
    }
    errno = 0;
    if (std::fflush(file) != 0 || SyncFile(file) != 0) {
        const int failure = errno;
        std::fclose(file);
        return fail(failure);
    }
    errno = 0;
    if (std::fclose(file) != 0) return fail(errno);

    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::is_regular_file(old)) fs::permissions(tempPath, old.permissions(), ec);

    fs::rename(tempPath, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(tempPath, ignored);
        return FileOutcome{FileStep::Write, PathToUtf8(path), ec.message(), ec.value()};
    }
    SyncDirectory(target.parent_path());
    return Success(path);
}

}  // namespace korvex
