#include "model/file_io.h"

#include <algorithm>
#include <array>
#include <atomic>
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

// The temporary files being written now, as plain byte strings, so that a
// signal handler can remove them without allocating. A few slots cover the
// writes one program makes at the same time.
struct PendingSlot {
    std::atomic<bool> used{false};
    char path[4096] = {};
};
std::array<PendingSlot, 8> pendingSlots;

// Remembers a temporary file until Forget(); a path too long to keep is
// simply not removed on a signal.
class PendingTemporary {
public:
    explicit PendingTemporary(const fs::path& path) {
        const std::string text = path.string();
        if (text.size() >= sizeof(PendingSlot::path)) return;
        for (PendingSlot& slot : pendingSlots) {
            bool expected = false;
            if (!slot.used.compare_exchange_strong(expected, true)) continue;
            std::memcpy(slot.path, text.c_str(), text.size() + 1);
            slot_ = &slot;
            return;
        }
    }
    ~PendingTemporary() { Forget(); }
    PendingTemporary(const PendingTemporary&) = delete;
    PendingTemporary& operator=(const PendingTemporary&) = delete;
    void Forget() {
        if (!slot_) return;
        slot_->path[0] = '\0';
        slot_->used.store(false);
        slot_ = nullptr;
    }

private:
    PendingSlot* slot_ = nullptr;
};

// Creates a new file next to target under a short name nobody else uses.
// The name does not grow with the target's, so a target whose name is as
// long as the system allows still gets its temporary file.
std::FILE* CreateTemporary(const fs::path& target, fs::path& tempPath, int& error) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, ".kx%012llx.tmp", static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
        tempPath = target.parent_path() / name;
        errno = 0;
        if (std::FILE* file = OpenFile(tempPath, "wbx").release()) return file;
        error = errno;
        if (error != EEXIST) return nullptr;
    }
    return nullptr;
}

// A device, a FIFO or a terminal takes the bytes as they come: it cannot be
// replaced, and renaming a file over it would destroy it.
FileOutcome WriteInPlace(const fs::path& path, std::span<const std::uint8_t> bytes) {
    errno = 0;
    std::FILE* file = OpenFile(path, "wb").release();
    if (!file) return Failure(FileStep::Create, path, errno);
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        const int failure = errno;
        std::fclose(file);
        return Failure(FileStep::Write, path, failure);
    }
    errno = 0;
    if (std::fflush(file) != 0) {
        const int failure = errno;
        std::fclose(file);
        return Failure(FileStep::Write, path, failure);
    }
    errno = 0;
    if (std::fclose(file) != 0) return Failure(FileStep::Write, path, errno);
    return Success(path);
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

std::string FileOutcome::Message() const { return path + ": " + reason; }

fs::path FollowLinks(const fs::path& path) {
    fs::path target = path;
    std::error_code ec;
    // As many links as the system follows itself before it gives up.
    for (int hop = 0; hop < 40 && fs::is_symlink(target, ec); ++hop) {
        const fs::path link = fs::read_symlink(target, ec);
        if (ec) break;
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return target;
}

FileOutcome WriteFileAtomic(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    // A link is followed, also one whose file is not there yet: replacing the
    // link itself would leave the file it names as it was.
    const fs::path target = FollowLinks(path);

    // What the name finally stands for, links followed: only a regular file
    // or a new name is replaced atomically.
    const fs::file_status existing = fs::status(path, ec);
    if (!ec && fs::exists(existing)) {
        if (fs::is_directory(existing)) return Failure(FileStep::Write, path, EISDIR);
        if (!fs::is_regular_file(existing)) return WriteInPlace(path, bytes);
    }

    fs::path tempPath;
    int error = 0;
    std::FILE* file = CreateTemporary(target, tempPath, error);
    if (!file) {
        FileOutcome failed = Failure(FileStep::Create, path, error);
        failed.besideExisting = !ec && fs::exists(existing);
        return failed;
    }
    PendingTemporary pending(tempPath);

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

FileOutcome CheckWritable(const fs::path& path, std::size_t probeBytes) {
    std::error_code ec;
    const fs::file_status existing = fs::status(path, ec);
    if (!ec && fs::exists(existing)) {
        if (fs::is_directory(existing)) return Failure(FileStep::Write, path, EISDIR);
        if (!fs::is_regular_file(existing)) return Success(path);
    }
    const fs::path target = FollowLinks(path);
    fs::path tempPath;
    int error = 0;
    std::FILE* file = CreateTemporary(target, tempPath, error);
    if (!file) {
        FileOutcome failed = Failure(FileStep::Create, path, error);
        failed.besideExisting = !ec && fs::exists(existing);
        return failed;
    }
    PendingTemporary pending(tempPath);
    const std::vector<std::uint8_t> zeros(probeBytes, 0);
    errno = 0;
    int failure = 0;
    if ((!zeros.empty() && std::fwrite(zeros.data(), 1, zeros.size(), file) != zeros.size()) ||
        std::fflush(file) != 0 || SyncFile(file) != 0)
        failure = errno;
    errno = 0;
    if (std::fclose(file) != 0 && failure == 0) failure = errno ? errno : EIO;
    std::error_code ignored;
    fs::remove(tempPath, ignored);
    if (failure != 0) return Failure(FileStep::Write, path, failure);
    return Success(path);
}

void RemovePendingTemporaryFiles() noexcept {
    for (PendingSlot& slot : pendingSlots) {
        if (!slot.used.load() || slot.path[0] == '\0') continue;
#ifdef _WIN32
        std::remove(slot.path);
#else
        ::unlink(slot.path);
#endif
    }
}

}  // namespace korvex
