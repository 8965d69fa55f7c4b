// Both programs start with the port whose opening worked last, while it is
// still listed; COM1 otherwise, as before the first run.
#include <functional>

#include "app/program_settings.h"
#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

template <class Program>
class LastPort : public Program {
protected:
    QComboBox* Ports() { return this->template Find<QComboBox>("portList"); }
    QString Selected() { return Ports()->currentData().toString(); }

    // Picks `name`, presses the port button, and closes the port again if it opened.
    void TryOpen(const QString& name) {
        this->ChoosePage(PageId::File);
        Ports()->setCurrentIndex(Ports()->findData(name));
        ASSERT_EQ(Selected(), name);
        this->Click("openPort");
        if (this->model->link.IsOpen()) this->Click("openPort");
    }

    void ExpectTheLastOpenedPortChosen(const std::function<void()>& reopen) {
        EXPECT_EQ(Ports()->currentIndex(), 0);
        EXPECT_EQ(Ports()->itemText(0), QStringLiteral("COM1"));
        const QString demo = QString::fromLatin1(kDemoPortName.data());
        TryOpen(demo);
        reopen();
        EXPECT_EQ(Selected(), demo);
        // A port that did not open (held elsewhere) is not remembered.
        TryOpen(Ports()->itemData(2).toString());
        EXPECT_EQ(this->dialogs->messages.size(), 1u);
        reopen();
        EXPECT_EQ(Selected(), demo);
        // One no longer present leaves COM1 chosen.
        RememberPort(QStringLiteral("/dev/korvex-no-such-port"));
        reopen();
        EXPECT_EQ(Ports()->currentIndex(), 0);
    }
};

using KorvexLastPort = LastPort<KorvexWindow>;
TEST_F(KorvexLastPort, IsChosenAtTheNextStart) {
    ExpectTheLastOpenedPortChosen([this] {
        frame.reset();
        frame = std::make_unique<CMainFrame>(*model);
        frame->show();
    });
}

using TamloLastPort = LastPort<TamloWindow>;
TEST_F(TamloLastPort, IsChosenAtTheNextStart) {
    ExpectTheLastOpenedPortChosen([this] {
        dialog.reset();
        dialog = std::make_unique<MainDialog>(*model);
        dialog->show();
    });
}

}  // namespace
}  // namespace korvex::test
