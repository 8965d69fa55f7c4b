#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace korvex {

// Which step of a file operation failed.
enum class FileStep {
    None,    // success
    Open,    // an existing file could not be opened for reading
    Read,    // reading it failed after it was opened
    Create,  // the new file could not be created
    Write,   // writing, flushing or putting it in place failed
};

// What a file operation came to; the caller picks the words and shows them.
struct [[nodiscard]] FileOutcome {
    FileStep failed = FileStep::None;
    std::string path;    // the file as the caller named it
    std::string reason;  // the system's text for the failure (strerror), empty on success
    int errorCode = 0;   // errno value, 0 on success
    // Create failed for the new file beside an existing one that would
    // replace it (its folder takes no new file, as /proc): `reason` is then
    // the system's word for that new file, not for the existing one.
    bool besideExisting = false;
    bool Ok() const { return failed == FileStep::None; }
    std::string Message() const;  // "<path>: <reason>"
};

struct FileBytes {
    FileOutcome outcome;
    std::vector<std::uint8_t> bytes;  // empty unless outcome.Ok()
};

// Reads at most maxBytes from the start of the file.
FileBytes ReadFileBytes(const std::filesystem::path& path,
                        std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// Writes the bytes to a new file beside path, flushes it to the disk and
// renames it over path, so path holds either its old or its new contents,
// never a part. A symbolic link is followed and the file it names replaced
// (one that names no file yet makes it, as a shell's redirection does);
// an existing file's permissions are kept. Something that is not a regular
// file (a character device, a FIFO, a terminal) is written in place, never
// replaced; a folder is refused.
FileOutcome WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Tries whether a file of `probeBytes` can be written where path is to be
// written, before anything else is done: a full disk or an unwritable folder
// fails here with the system's reason. Nothing is left behind; a device or a
// FIFO is taken as writable.
FileOutcome CheckWritable(const std::filesystem::path& path, std::size_t probeBytes = 4096);

// What a name finally stands for: symbolic links followed, also one that
// names a file not there yet (its name is then the answer); anything else
// as given.
std::filesystem::path FollowLinks(const std::filesystem::path& path);

// Removes the temporary file of a write still in progress. Safe to call from
// a signal handler (SIGINT, SIGTERM), so an interrupted program leaves no
// temporary file behind.
void RemovePendingTemporaryFiles() noexcept;

}  // namespace korvex
