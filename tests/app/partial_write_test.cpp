// A cable pulled in the middle of a transfer is told with the system's
// text; when the transfer was writing (configuration, sound, log erase) the
// message adds that the module may now hold part of the new data and the
// write should be repeated, in each program's language.
#include <cerrno>

#include "link/serial_exception.h"
#include "sim/demo.h"
#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

struct Cut {
    PageId page;
    const char* button;
    bool writes;
};
void PrintTo(const Cut& cut, std::ostream* out) { *out << cut.button; }

// Calls into the transfer when the cable comes out: past any check a write
// makes first, long before any of these transfers ends.
constexpr std::uint64_t kCallsBeforeThePull = 5000;

void PullCableSoon(SimulatedModule& module) {
    module.GetFaults().pullAfterCalls = module.GetCounters().Total() + kCallsBeforeThePull;
}

QString Expected(bool writes, const char* partial) {
    const QString system = QString::fromStdString(SystemErrorText(EIO));
    return writes ? system + QLatin1Char('\n') + QString::fromUtf8(partial) : system;
}

// Either program on its demo content, everything read first so that no
// write asks whether an empty configuration or sound is meant; the cable
// comes out during the transfer of `GetParam()`.
template <class Program>
class CutDuringTransfer : public Program, public ::testing::WithParamInterface<Cut> {
protected:
    void ExpectCutToldWith(const char* partialWrite) {
        const Cut& c = this->GetParam();
        this->sim.module.Memory() = MakeDemoMemory(this->model->profile);
        this->OpenDemo();
        this->Click("readData");
        this->Click("readSound");
        ASSERT_TRUE(this->dialogs->TakeTexts().isEmpty());
        this->dialogs->answerYes = true;
        this->ChoosePage(c.page);
        PullCableSoon(this->sim.module);
        this->Click(c.button);
        EXPECT_EQ(this->dialogs->TakeTexts(), QStringList{Expected(c.writes, partialWrite)});
    }
};

const auto kButtonName = [](const auto& info) { return std::string(info.param.button); };

using KorvexCut = CutDuringTransfer<KorvexWindow>;
TEST_P(KorvexCut, APulledCableSaysWhatAWriteMayHaveLeft) {
    ExpectCutToldWith("Модуль может теперь хранить часть новых данных; повторите запись.");
}
INSTANTIATE_TEST_SUITE_P(EveryTransfer, KorvexCut,
                         ::testing::Values(Cut{PageId::File, "readData", false}, Cut{PageId::File, "writeData", true},
                                           Cut{PageId::File, "readSound", false}, Cut{PageId::File, "writeSound", true},
                                           Cut{PageId::Log, "readLog", false}, Cut{PageId::Log, "clearLog", true}),
                         kButtonName);

using TamloCut = CutDuringTransfer<TamloWindow>;
TEST_P(TamloCut, APulledCableSaysWhatAWriteMayHaveLeft) {
    ExpectCutToldWith("The module may now hold part of the new data; repeat the write.");
}
INSTANTIATE_TEST_SUITE_P(EveryTransfer, TamloCut,
                         ::testing::Values(Cut{PageId::File, "readData", false}, Cut{PageId::File, "writeData", true},
                                           Cut{PageId::File, "readSound", false},
                                           Cut{PageId::File, "writeSound", true}),
                         kButtonName);

}  // namespace
}  // namespace korvex::test
