// First contact in the programs: the other program's module is told and
// left alone by every module button; a damaged marker is asked about once
// the transfer has ended, and written only on Yes, after which the same
// transfer runs again. Both programs.
#include <algorithm>

#include "link/profile.h"
#include "app/qt_paths.h"
#include "app/transfer_report.h"
#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

template <class Program>
class MarkerOnFirstContact : public Program {
protected:
    const Profile& OwnProfile() const { return this->model->profile; }
    const Profile& OtherProfile() const {
        return ProfileFor(OwnProfile().kind == ModuleKind::Full ? ModuleKind::Compact : ModuleKind::Full);
    }
    SimulatedModule& Module() { return this->sim.module; }

    void ExpectTheOtherProgramsModuleToldAndLeftAlone() {
        RecordingDialogs& dialogs = *this->dialogs;
        const Profile& other = OtherProfile();
        std::copy(other.marker.begin(), other.marker.end(), Module().Memory().begin());
        const auto before = Module().Memory();
        dialogs.answerYes = true;  // an empty write or sound asks first: let it through to the module check
        this->OpenDemo();
        for (const char* button : {"readData", "writeData", "readSound", "writeSound", "compare"}) {
            SCOPED_TRACE(button);
            this->Click(button);
            EXPECT_EQ(dialogs.TakeTexts(), QStringList{QtText(OwnProfile().texts.otherProgram)});
            EXPECT_FALSE(dialogs.confirms.contains(QtText(TransferTextsFor(OwnProfile()).confirmWriteMarker)));
            EXPECT_TRUE(Module().Memory() == before);
        }
    }

    void ExpectADamagedMarkerAskedAboutAndWrittenOnlyOnYes() {
        RecordingDialogs& dialogs = *this->dialogs;
        const Profile& own = OwnProfile();
        Module().Memory()[2] ^= 0x20;
        const auto before = Module().Memory();
        const QString question = QtText(TransferTextsFor(own).confirmWriteMarker);
        this->OpenDemo();

        dialogs.answerYes = false;
        this->Click("readData");
        EXPECT_EQ(dialogs.confirms, QStringList{question});
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.TakeTexts().join('\n').toStdString();
        EXPECT_TRUE(Module().Memory() == before);
        EXPECT_FALSE(this->model->settingsLoaded);

        dialogs.confirms.clear();
        dialogs.answerYes = true;
        this->Click("readData");
        EXPECT_EQ(dialogs.confirms, QStringList{question});
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.TakeTexts().join('\n').toStdString();
        EXPECT_TRUE(std::equal(own.marker.begin(), own.marker.end(), Module().Memory().begin()));
        EXPECT_TRUE(std::equal(before.begin() + static_cast<std::ptrdiff_t>(own.marker.size()), before.end(),
                               Module().Memory().begin() + static_cast<std::ptrdiff_t>(own.marker.size())));
        EXPECT_TRUE(this->model->settingsLoaded);  // the read ran again, and through
        EXPECT_TRUE(std::equal(this->model->readImage.begin() + static_cast<std::ptrdiff_t>(own.marker.size()),
                               this->model->readImage.end(),
                               before.begin() + static_cast<std::ptrdiff_t>(own.marker.size())));

        dialogs.confirms.clear();
        this->Click("readData");
        EXPECT_TRUE(dialogs.confirms.empty());  // the marker is there now
    }
};

using KorvexMarker = MarkerOnFirstContact<KorvexWindow>;
TEST_F(KorvexMarker, TheOtherProgramsModuleIsToldAndLeftAlone) { ExpectTheOtherProgramsModuleToldAndLeftAlone(); }
TEST_F(KorvexMarker, ADamagedMarkerIsAskedAboutAndWrittenOnlyOnYes) {
    ExpectADamagedMarkerAskedAboutAndWrittenOnlyOnYes();
}

// The Log page asks the same, after its transfer, and reads once allowed.
TEST_F(KorvexMarker, TheLogPageAsksTooAndReadsOnceAllowed) {
    Module().Memory()[0] = 'X';
    OpenDemo();
    ChoosePage(PageId::Log);
    dialogs->answerYes = true;
    Click("readLog");
    EXPECT_EQ(dialogs->confirms, QStringList{QtText(TransferTextsFor(FullProfile()).confirmWriteMarker)});
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->TakeTexts().join('\n').toStdString();
    EXPECT_EQ(Module().Memory()[0], FullProfile().marker[0]);
}

using TamloMarker = MarkerOnFirstContact<TamloWindow>;
TEST_F(TamloMarker, TheOtherProgramsModuleIsToldAndLeftAlone) { ExpectTheOtherProgramsModuleToldAndLeftAlone(); }
TEST_F(TamloMarker, ADamagedMarkerIsAskedAboutAndWrittenOnlyOnYes) {
    ExpectADamagedMarkerAskedAboutAndWrittenOnlyOnYes();
}

}  // namespace
}  // namespace korvex::test
