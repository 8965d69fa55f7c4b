// Closing the window or the port closes the port after a simulated module kept in a file
// has stored what changed; a store that fails is told, in both programs,
// rather than lost with the port.
#include <QTemporaryDir>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "link/path_text.h"
#include "sim/demo.h"
#include "sim/port_factory.h"
#include "app/qt_paths.h"
#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

namespace fs = std::filesystem;

// Every port name opens one simulated module, kept in a file in a folder of
// its own that the test may take away while the port is open (a memory
// stick pulled out).
struct FolderModule {
    explicit FolderModule(const Profile& profile) {
        fs::create_directories(folder);
        const auto memory = MakeDemoMemory(profile);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(memory.data()), static_cast<std::streamsize>(memory.size()));
    }
    PortOpener Opener() const {
        return [file = file](const std::string&, const Profile& profile) {
            return OpenModulePort(std::string(kSimPortPrefix) + PathToUtf8(file), profile);
        };
    }
    std::uint8_t StoredLastByte() const {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        return bytes.empty() ? 0 : static_cast<std::uint8_t>(bytes.back());
    }

    QTemporaryDir dir;
    fs::path folder = FsPath(dir.path()) / "stick";
    fs::path file = folder / "module.bin";
};

struct CloseCase {
    const char* name;
    bool folderGone;
    bool byPortButton;  // the File page's port button rather than the window's close
};
void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

const CloseCase kCases[] = {{"Stored", false, false},
                            {"FolderGone", true, false},
                            {"PortButtonFolderGone", true, true}};

// Either program's window with its port open on a module of its own.
// Its memory changes as a transfer's would and then the window closes, or
// the port alone. A store that goes through says nothing and leaves the
// change in the file; one that fails names the file and the system's
// reason. The port closes either way.
template <class Program>
class ClosePort : public Program, public ::testing::WithParamInterface<CloseCase> {
protected:
    void ExpectCloseStoresOrTells() {
        const CloseCase& c = this->GetParam();
        AppModel& model = *this->model;
        RecordingDialogs& dialogs = *this->dialogs;
        QWidget* window = this->Window();
        FolderModule module(model.profile);
        model.link.SetOpener(module.Opener());
        this->OpenDemo();
        SimulatedModule* simulated = model.link.Simulated();
        ASSERT_NE(simulated, nullptr);
        const std::uint8_t changed = simulated->Memory().back() ^ 0x5A;
        simulated->Memory().back() = changed;
        if (c.folderGone) fs::remove_all(module.folder);

        if (c.byPortButton) {
            this->Click("openPort");
        } else {
            EXPECT_TRUE(window->close());
        }
        EXPECT_FALSE(model.link.IsOpen());
        EXPECT_EQ(window->isVisible(), c.byPortButton);
        if (!c.folderGone) {
            EXPECT_TRUE(dialogs.messages.empty()) << dialogs.TakeTexts().join('\n').toStdString();
            EXPECT_EQ(module.StoredLastByte(), changed);
            return;
        }
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Warning);
        const std::string text = dialogs.messages[0].text.toStdString();
        EXPECT_TRUE(text.starts_with(PathToUtf8(module.file) + ": ")) << text;
        EXPECT_TRUE(text.ends_with(std::strerror(ENOENT))) << text;
    }
};

const auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

using KorvexClosePort = ClosePort<KorvexWindow>;
TEST_P(KorvexClosePort, StoresTheModuleOrTellsWhyNot) { ExpectCloseStoresOrTells(); }
INSTANTIATE_TEST_SUITE_P(Window, KorvexClosePort, ::testing::ValuesIn(kCases), kCaseName);

using TamloClosePort = ClosePort<TamloWindow>;
TEST_P(TamloClosePort, StoresTheModuleOrTellsWhyNot) { ExpectCloseStoresOrTells(); }
INSTANTIATE_TEST_SUITE_P(Window, TamloClosePort, ::testing::ValuesIn(kCases), kCaseName);

}  // namespace
}  // namespace korvex::test
