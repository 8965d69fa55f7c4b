// Both programs, every page: each control a person can reach tells a
// screen reader what it is, by an accessible name, a label that names it
// as its buddy, or its own text. The image-only play button included.
#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"
#include "ui/window_controls.h"

namespace korvex::test {
namespace {

struct KorvexNames : KorvexWindow {
    static constexpr int kPages = CKorvexView::kPageCount;
};
struct TamloNames : TamloWindow {
    static constexpr int kPages = MainDialog::kPageCount;
};

template <class Program>
class AccessibleNames : public Program {};

using Programs = ::testing::Types<KorvexNames, TamloNames>;
struct ProgramNames {
    template <class T>
    static std::string GetName(int) {
        return std::is_same_v<T, KorvexNames> ? "Korvex" : "Tamlo";
    }
};
TYPED_TEST_SUITE(AccessibleNames, Programs, ProgramNames);

TYPED_TEST(AccessibleNames, EveryControlOnEveryPageHasOne) {
    // Read first, so that the lists and tables hold what they show at work.
    this->OpenDemo();
    this->Click("readData");
    this->Click("readSound");
    ASSERT_TRUE(this->dialogs->TakeTexts().isEmpty());
    for (int id = 1; id <= TypeParam::kPages; ++id) {
        this->ChoosePage(PageId(id));
        const QList<QWidget*> controls = ShownControls(this->Window());
        ASSERT_GT(controls.size(), 5) << id;
        for (QWidget* control : controls)
            EXPECT_FALSE(SpokenName(control).trimmed().isEmpty())
                << "page " << id << ": " << control->metaObject()->className() << " "
                << control->objectName().toStdString();
    }
}

}  // namespace
}  // namespace korvex::test
