// Both programs start with the port whose opening worked last, while it is
// still listed; COM1 otherwise, as before the first run.
#include <QTemporaryDir>
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

// A device the list does not show, typed in: opened by the same path as an
// entry, remembered, and typed in again at the next start while it exists.
template <class Program>
class TypedPort : public LastPort<Program> {
protected:
    void TypeAndOpen(const QString& name) {
        this->ChoosePage(PageId::File);
        QLineEdit* edit = this->Ports()->lineEdit();
        ASSERT_NE(edit, nullptr);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, name);
        this->Click("openPort");
    }
    void ExpectATypedPathOpened(const std::function<void()>& reopen) {
        const QString typed = QStringLiteral("/dev/korvex-typed-port");
        TypeAndOpen(typed);
        ASSERT_EQ(this->dialogs->messages.size(), 1u);  // the test's opener was asked for it, and refused
        EXPECT_EQ(this->dialogs->messages[0].detail, typed + QStringLiteral(": Device or resource busy"));
        EXPECT_FALSE(this->model->link.IsOpen());

        // A simulated module behind a typed name, through the programs' own opener.
        QTemporaryDir dir;
        const QString memory = dir.filePath(QStringLiteral("typed.bin"));
        this->model->link.SetOpener(DefaultPortOpener());
        TypeAndOpen(QStringLiteral("sim:") + memory);
        EXPECT_TRUE(this->model->link.IsOpen()) << this->dialogs->TakeTexts().join('\n').toStdString();
        EXPECT_EQ(korvex::LastPort(), QStringLiteral("sim:") + memory);
        this->Click("openPort");

        // A device path typed last time is there again while it exists.
        RememberPort(QStringLiteral("/dev/null"));
        reopen();
        EXPECT_EQ(this->Ports()->currentText(), QStringLiteral("/dev/null"));
        EXPECT_EQ(this->Selected(), QStringLiteral("COM1"));  // the entry under it is unchanged
    }
};

using KorvexTypedPort = TypedPort<KorvexWindow>;
TEST_F(KorvexTypedPort, OpensThroughTheSameLinkAndIsKept) {
    ExpectATypedPathOpened([this] {
        frame.reset();
        frame = std::make_unique<CMainFrame>(*model);
        frame->show();
    });
    EXPECT_EQ(frame->View()->GetFilePage()->SelectedPortName(), QStringLiteral("/dev/null"));
}

using TamloTypedPort = TypedPort<TamloWindow>;
TEST_F(TamloTypedPort, OpensThroughTheSameLinkAndIsKept) {
    ExpectATypedPathOpened([this] {
        dialog.reset();
        dialog = std::make_unique<MainDialog>(*model);
        dialog->show();
    });
    EXPECT_EQ(dialog->GetFilePage()->SelectedPortName(), QStringLiteral("/dev/null"));
}

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
