#include "model/project_file.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "model/image_codec.h"

namespace korvex {

void LoadImageBytes(const Profile& profile, std::span<const std::uint8_t> fileBytes,
                    std::span<std::uint8_t> readImage) {
    std::fill(readImage.begin(), readImage.end(), std::uint8_t{0});
    const std::size_t n = std::min({fileBytes.size(), readImage.size(), profile.imageSize});
    std::copy_n(fileBytes.begin(), n, readImage.begin());
}

FileOutcome LoadProject(const std::filesystem::path& path, const Profile& profile, std::span<std::uint8_t> readImage,
                        ConfigSettings& settings) {
    FileBytes file = ReadFileBytes(path, profile.imageSize);
    if (!file.outcome.Ok()) return file.outcome;
    LoadImageBytes(profile, file.bytes, readImage);
    UnpackImage(profile, readImage, settings);
    return file.outcome;
}

FileOutcome SaveProject(const std::filesystem::path& path, const Profile& profile, ConfigSettings& settings,
                        std::span<const std::uint8_t> readImage, std::span<std::uint8_t> writeImage, Date date) {
    if (writeImage.size() < profile.imageSize) throw std::length_error("SaveProject: writeImage is too small");
    // Packed aside, so that a failed save changes nothing.
    ConfigSettings packed = settings;
    std::vector<std::uint8_t> image(profile.imageSize);
    PackImage(profile, packed, readImage, image, date);
    FileOutcome outcome = WriteFileAtomic(path, image);
    if (!outcome.Ok()) return outcome;
    settings = std::move(packed);
    std::fill(writeImage.begin(), writeImage.end(), std::uint8_t{0});
    std::copy(image.begin(), image.end(), writeImage.begin());
    return outcome;
}

}  // namespace korvex
