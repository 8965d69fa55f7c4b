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
#include "app/transfer_report.h"
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
        ExpectToldOnce(module);
    }

    // One warning in the program's words; the file and the system's reason beneath.
    void ExpectToldOnce(const FolderModule& module) {
        RecordingDialogs& dialogs = *this->dialogs;
        ASSERT_EQ(dialogs.messages.size(), 1u) << dialogs.TakeTexts().join('\n').toStdString();
        EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Warning);
        EXPECT_EQ(dialogs.messages[0].text, QtText(TransferTextsFor(this->model->profile).memoryNotKept));
        const std::string detail = dialogs.messages[0].detail.toStdString();
        EXPECT_TRUE(detail.starts_with(PathToUtf8(module.file) + ": ")) << detail;
        EXPECT_TRUE(detail.ends_with(std::strerror(ENOENT))) << detail;
    }

    // A module whose file cannot be kept still takes the write: the status
    // line says it was written, the edits count as the module's, and the
    // failure is told once for the transfers and the close that follow.
    void ExpectWritesToldAsWrittenAndTheFailureOnce() {
        AppModel& model = *this->model;
        FolderModule module(model.profile);
        model.link.SetOpener(module.Opener());
        this->OpenDemo();
        model.settings.phones[0] = "4951234567";
        fs::remove_all(module.folder);
        this->Click("writeData");
        const QString status = this->template Find<QLabel>("status")->text();
        EXPECT_TRUE(status.startsWith(QtText(TransferTextsFor(model.profile).writeConfig))) << status.toStdString();
        this->Click("readData");
        EXPECT_TRUE(model.settings.phones[0].ends_with("4951234567")) << "the module holds the write";
        this->Click("openPort");
        EXPECT_FALSE(model.link.IsOpen());
        ExpectToldOnce(module);
    }
};

const auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

using KorvexClosePort = ClosePort<KorvexWindow>;
TEST_P(KorvexClosePort, StoresTheModuleOrTellsWhyNot) { ExpectCloseStoresOrTells(); }
using KorvexUnkeptModule = ClosePort<KorvexWindow>;
TEST_F(KorvexUnkeptModule, IsToldOnceAndItsWritesStillCount) { ExpectWritesToldAsWrittenAndTheFailureOnce(); }
INSTANTIATE_TEST_SUITE_P(Window, KorvexClosePort, ::testing::ValuesIn(kCases), kCaseName);

using TamloClosePort = ClosePort<TamloWindow>;
TEST_P(TamloClosePort, StoresTheModuleOrTellsWhyNot) { ExpectCloseStoresOrTells(); }
using TamloUnkeptModule = ClosePort<TamloWindow>;
TEST_F(TamloUnkeptModule, IsToldOnceAndItsWritesStillCount) { ExpectWritesToldAsWrittenAndTheFailureOnce(); }
INSTANTIATE_TEST_SUITE_P(Window, TamloClosePort, ::testing::ValuesIn(kCases), kCaseName);

}  // namespace
}  // namespace korvex::test
