#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "link/path_text.h"

namespace korvex {
namespace {

namespace fs = std::filesystem;

class PathText : public testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        dir_ = fs::temp_directory_path() / ("korvex-paths-" + std::to_string(seed()) + std::to_string(seed()));
        ASSERT_TRUE(fs::create_directory(dir_));
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    fs::path dir_;
};

TEST_F(PathText, Utf8NamesRoundTripAndNameTheSameFileOnDisk) {
    const std::string names[] = {"проект.rom", "журнал.csv", "звук.wav", "Ёлка ё №5.bin", "plain.rom"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const fs::path path = dir_ / PathFromUtf8("Папка") / PathFromUtf8(name);
        EXPECT_EQ(PathToUtf8(path.filename()), name);
        EXPECT_EQ(PathToUtf8(path.parent_path().filename()), "Папка");
        fs::create_directories(path.parent_path());
        {
            const FileHandle out = OpenFile(path, "wb");
            ASSERT_NE(out, nullptr) << std::strerror(errno);
            ASSERT_GE(std::fputs("abc", out.get()), 0);
        }
        // The system lists the file under the very name given.
        bool listed = false;
        for (const auto& entry : fs::directory_iterator(path.parent_path()))
            listed = listed || PathToUtf8(entry.path().filename()) == name;
        EXPECT_TRUE(listed);
        const FileHandle in = OpenFile(path, "rb");
        ASSERT_NE(in, nullptr);
        char buf[8] = {};
        EXPECT_EQ(std::fread(buf, 1, sizeof buf, in.get()), 3u);
        EXPECT_STREQ(buf, "abc");
    }
}

TEST_F(PathText, ExclusiveCreateRefusesAnExistingFile) {
    const fs::path path = dir_ / PathFromUtf8("новый.tmp");
    ASSERT_NE(OpenFile(path, "wbx"), nullptr);
    errno = 0;
    EXPECT_EQ(OpenFile(path, "wbx"), nullptr);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(OpenFile(dir_ / "missing" / "x", "rb"), nullptr);
    EXPECT_EQ(errno, ENOENT);
}

}  // namespace
}  // namespace korvex
