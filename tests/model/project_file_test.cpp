#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "model/field_codecs.h"
#include "model/image_codec.h"
#include "model/settings_printer.h"
#include "model/image_layout.h"
#include "model/project_file.h"
#include "link/path_text.h"
#include "model/sample_settings.h"

namespace korvex {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
constexpr Date kDay{2025, 6, 15};

class ProjectFiles : public testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        dir_ = fs::temp_directory_path() / ("korvex-model-" + std::to_string(seed()) + std::to_string(seed()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    static Bytes ReadAll(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static void WriteAll(const fs::path& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<fs::path> Entries() const {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

TEST_F(ProjectFiles, SaveThenLoadRestoresEverySettingForBothProfiles) {
    for (const Profile* profile : {&FullProfile(), &CompactProfile()}) {
        SCOPED_TRACE(profile->name);
        const fs::path path = dir_ / (std::string(profile->name) + ".rom");
        ConfigSettings settings = testing_model::EveryField(*profile);
        settings.zoneActions[1] = {0, 0, 0x82, 0, 0, 0x21, 0, 0};
        const Bytes readImage(profile->imageSize, 0);  // nothing read since start
        Bytes writeImage(profile->imageSize, 0xEE);

        const FileOutcome saved = SaveProject(path, *profile, settings, readImage, writeImage, kDay);
        ASSERT_TRUE(saved.Ok()) << saved.reason;
        EXPECT_EQ(saved.path, path.string());
        EXPECT_EQ(settings.zoneActions[1], (std::array<std::uint8_t, 8>{0x82, 0, 0, 0, 0x21, 0, 0, 0}));
        const Bytes file = ReadAll(path);
        EXPECT_EQ(file, writeImage);
        EXPECT_EQ(Bytes(file.begin(), file.begin() + profile->marker.size()),
                  Bytes(profile->marker.begin(), profile->marker.end()));
        if (profile->kind == ModuleKind::Full) {
            EXPECT_EQ(Bytes(file.begin() + 16, file.begin() + 24), Bytes(8, 0));
        }

        ConfigSettings loaded;
        loaded.comSpeed = settings.comSpeed;
        Bytes loadImage(profile->imageSize, 0xAA);
        const FileOutcome load = LoadProject(path, *profile, loadImage, loaded);
        ASSERT_TRUE(load.Ok()) << load.reason;
        EXPECT_EQ(loaded, settings);
        EXPECT_EQ(loadImage, file);
        EXPECT_EQ(Entries(), std::vector<fs::path>{path.filename()}) << "no temporary file left";
        fs::remove(path);
    }
}

TEST_F(ProjectFiles, LoadReadsAsFarAsTheImageAndZeroFillsTheRest) {
    struct Case {
        const Profile* profile;
        std::size_t fileSize;
    };
    const Case cases[] = {{&FullProfile(), 0}, {&FullProfile(), 300}, {&FullProfile(), 5000},
                          {&CompactProfile(), 0}, {&CompactProfile(), 1120}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.profile->name) + " " + std::to_string(c.fileSize));
        Bytes content(c.fileSize);
        for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<std::uint8_t>(i * 7 + 1);
        const fs::path path = dir_ / "sized.rom";
        WriteAll(path, content);

        Bytes expected(c.profile->imageSize, 0);
        std::copy_n(content.begin(), std::min(content.size(), expected.size()), expected.begin());
        ConfigSettings expectedSettings;
        UnpackImage(*c.profile, expected, expectedSettings);

        Bytes readImage(c.profile->imageSize, 0xAA);
        ConfigSettings settings;
        settings.phones[0] = "+999";
        ASSERT_TRUE(LoadProject(path, *c.profile, readImage, settings).Ok());
        EXPECT_EQ(readImage, expected);
        EXPECT_EQ(settings, expectedSettings);
    }
}

TEST_F(ProjectFiles, FullFileInTheCompactProfileGivesTexts7And8FromZoneNames) {
    const Profile& full = FullProfile();
    ConfigSettings settings = testing_model::EveryField(full);
    // Text 7 at 640 is zone 1's record: sound 2 = two 7-bit octets, then the
    // name "\x02\xC8\x34" = two characters packed as "Hi".
    settings.zoneNames[0] = {"\x02\xC8\x34", 2};
    // Text 8 at 704 starts in zone 6's name bytes 9 and 10 (UCS-2, two data
    // bytes); the pair is zone 7's sound 4 and name byte 0x10: U+0410.
    settings.zoneNames[5] = {"ABCDEFGH\x82\x02", 0};
    settings.zoneNames[6] = {"\x10", 4};
    Bytes readImage(full.imageSize, 0), writeImage(full.imageSize);
    const fs::path path = dir_ / "full.rom";
    ASSERT_TRUE(SaveProject(path, full, settings, readImage, writeImage, kDay).Ok());

    ConfigSettings compact;
    Bytes compactImage(CompactProfile().imageSize);
    ASSERT_TRUE(LoadProject(path, CompactProfile(), compactImage, compact).Ok());
    for (int n = 0; n < 6; ++n) EXPECT_EQ(compact.texts[n], settings.texts[n]) << "text " << n + 1;
    EXPECT_EQ(compact.phones, settings.phones);
    EXPECT_EQ(compact.texts[6], "Hi");
    EXPECT_FALSE(compact.cyrillic[6]);
    EXPECT_EQ(compact.texts[7], "\xC0");
    EXPECT_TRUE(compact.cyrillic[7]);
    EXPECT_EQ(compact.textLimit[7], 31);
    EXPECT_EQ(compactImage, Bytes(writeImage.begin(), writeImage.begin() + 768));
}

TEST_F(ProjectFiles, CyrillicNamesSaveAndLoad) {
    const fs::path path = dir_ / PathFromUtf8("Папка") / PathFromUtf8("проект.rom");
    fs::create_directory(path.parent_path());
    ConfigSettings settings = testing_model::EveryField(FullProfile());
    Bytes readImage(1120, 0), writeImage(1120, 0);
    const FileOutcome saved = SaveProject(path, FullProfile(), settings, readImage, writeImage, kDay);
    ASSERT_TRUE(saved.Ok()) << saved.reason;
    EXPECT_EQ(saved.path, PathToUtf8(path));
    EXPECT_EQ(ReadAll(path), writeImage);
    ConfigSettings loaded;
    Bytes loadedImage(1120, 0);
    ASSERT_TRUE(LoadProject(path, FullProfile(), loadedImage, loaded).Ok());
    EXPECT_EQ(loadedImage, writeImage);
    // A failure names the file in UTF-8 too.
    const FileOutcome missing = LoadProject(dir_ / PathFromUtf8("нет.rom"), FullProfile(), loadedImage, loaded);
    EXPECT_EQ(missing.path, PathToUtf8(dir_) + PathToUtf8(fs::path("/").make_preferred()) + "нет.rom");
}

TEST_F(ProjectFiles, LoadFailuresNameTheFileAndChangeNothing) {
    struct Case {
        const char* name;
        FileStep step;
        int error;
    };
    fs::create_directory(dir_ / "folder.rom");
#ifdef _WIN32
    // Windows refuses to open a folder as a file at all.
    const Case cases[] = {{"missing.rom", FileStep::Open, ENOENT}, {"folder.rom", FileStep::Open, EACCES}};
#else
    const Case cases[] = {{"missing.rom", FileStep::Open, ENOENT}, {"folder.rom", FileStep::Read, EISDIR}};
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = dir_ / c.name;
        Bytes readImage(1120, 0xAA);
        ConfigSettings settings = testing_model::EveryField(FullProfile());
        const ConfigSettings before = settings;
        const FileOutcome outcome = LoadProject(path, FullProfile(), readImage, settings);
        EXPECT_EQ(outcome.failed, c.step);
        EXPECT_EQ(outcome.path, PathToUtf8(path));
        EXPECT_EQ(outcome.errorCode, c.error);
        EXPECT_EQ(outcome.reason, std::strerror(c.error));
        EXPECT_EQ(readImage, Bytes(1120, 0xAA));
        EXPECT_EQ(settings, before);
    }
}

TEST_F(ProjectFiles, SaveFailuresNameTheFileAndChangeNothing) {
    struct Case {
        fs::path path;
        FileStep step;
        int error;
    };
    WriteAll(dir_ / "plain", Bytes{1});
    fs::create_directory(dir_ / "taken.rom");
    fs::create_directory(dir_ / "taken.rom" / "inside");
#ifdef _WIN32
    // Windows says "not found" for a file taken as a folder.
    const Case cases[] = {
        {dir_ / "no-such-folder" / "p.rom", FileStep::Create, ENOENT},
        {dir_ / "plain" / "p.rom", FileStep::Create, ENOENT},
        {dir_ / "taken.rom", FileStep::Write, EISDIR},  // a folder of that name stays
    };
#else
    const Case cases[] = {
        {dir_ / "no-such-folder" / "p.rom", FileStep::Create, ENOENT},
        {dir_ / "plain" / "p.rom", FileStep::Create, ENOTDIR},
        {dir_ / "taken.rom", FileStep::Write, EISDIR},  // a folder of that name stays
        // A folder nobody may create files in, root included (sysfs refuses).
        {"/sys/korvex-project.rom", FileStep::Create, EACCES},
    };
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.string());
        ConfigSettings settings = testing_model::EveryField(FullProfile());
        settings.zoneActions[0] = {0, 0x11, 0, 0, 0, 0, 0, 0};
        const ConfigSettings before = settings;
        Bytes readImage(1120, 0), writeImage(1120, 0xAA);
        const FileOutcome outcome = SaveProject(c.path, FullProfile(), settings, readImage, writeImage, kDay);
        EXPECT_EQ(outcome.failed, c.step);
        EXPECT_EQ(outcome.path, PathToUtf8(c.path));
        EXPECT_EQ(outcome.errorCode, c.error);
        EXPECT_FALSE(outcome.reason.empty());
        EXPECT_EQ(settings, before) << "a failed save compacts nothing";
        EXPECT_EQ(writeImage, Bytes(1120, 0xAA));
    }
    EXPECT_TRUE(fs::is_directory(dir_ / "taken.rom" / "inside"));
    EXPECT_EQ(Entries(), (std::vector<fs::path>{"plain", "taken.rom"}));
}

#ifndef _WIN32
// Windows has no per-process file size limit to make a write fail half way.
TEST_F(ProjectFiles, WriteFailingHalfWayKeepsTheOldFile) {
    const fs::path path = dir_ / "old.rom";
    const Bytes old(768, 0x42);
    WriteAll(path, old);

    // The file layer refuses to grow a file past 512 bytes, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ConfigSettings settings;
    Bytes readImage(1120, 0), writeImage(1120, 0);
    const FileOutcome outcome = SaveProject(path, FullProfile(), settings, readImage, writeImage, kDay);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(outcome.failed, FileStep::Write);
    EXPECT_EQ(outcome.path, path.string());
    EXPECT_EQ(outcome.errorCode, EFBIG);
    EXPECT_EQ(outcome.reason, std::strerror(EFBIG));
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(Entries(), std::vector<fs::path>{"old.rom"}) << "the temporary file is removed";
}
#endif

#ifdef _WIN32
// Windows: no symbolic links without a privilege, and no permissions
// beyond the read-only attribute.
TEST_F(ProjectFiles, SaveReplacesAnOldFile) {
    const fs::path old = dir_ / "old.rom";
    WriteAll(old, Bytes(2000, 0x42));
    ConfigSettings settings = testing_model::EveryField(CompactProfile());
    Bytes writeImage(768);
    ASSERT_TRUE(SaveProject(old, CompactProfile(), settings, {}, writeImage, kDay).Ok());
    EXPECT_EQ(ReadAll(old), writeImage);
    EXPECT_EQ(Entries(), std::vector<fs::path>{"old.rom"}) << "the temporary file is removed";
}
#else
TEST_F(ProjectFiles, SaveReplacesAnOldFileKeepingItsPermissionsAndLinks) {
    const fs::path real = dir_ / "real.rom";
    const fs::path link = dir_ / "link.rom";
    WriteAll(real, Bytes(2000, 0x42));
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real.filename(), link);

    ConfigSettings settings = testing_model::EveryField(CompactProfile());
    Bytes writeImage(768);
    ASSERT_TRUE(SaveProject(link, CompactProfile(), settings, {}, writeImage, kDay).Ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(real), writeImage);
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Entries(), (std::vector<fs::path>{"link.rom", "real.rom"}));
}
#endif

}  // namespace
}  // namespace korvex
