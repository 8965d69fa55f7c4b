// The compact program's main dialog: its caption and buttons, the page
// buttons (only Zones reloads its page), keys that end nothing, and the
// port closed with the window.
#include <QApplication>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <functional>

#include "tamlo/tamlo_app.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

using TamloDialog = TamloWindow;

int VisiblePages(const MainDialog& dialog) {
    int visible = 0;
    for (int id = 1; id <= MainDialog::kPageCount; ++id) visible += dialog.GetPage(id)->isVisible();
    return visible;
}

TEST_F(TamloDialog, StartsWithCaptionButtonsInRowAndNoPageShown) {
    EXPECT_EQ(dialog->windowHandle()->title(), QStringLiteral("Configurator, 4 zones"));

    // The dialog's own buttons, left to right.
    QList<QPushButton*> row = dialog->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
    std::sort(row.begin(), row.end(), [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    QStringList texts;
    for (QPushButton* b : row) texts << b->text();
    EXPECT_EQ(texts, (QStringList{"File", "Phones", "Messages", "Zones", "Properties", "&Help", "Exit"}));
    for (QPushButton* b : row) {
        EXPECT_EQ(b->isCheckable(), b->objectName() != "exit" && b->objectName() != "help") << b->text().toStdString();
        EXPECT_FALSE(b->isChecked()) << b->text().toStdString();
    }

    for (int id = 1; id <= MainDialog::kPageCount; ++id) {
        ASSERT_NE(dialog->GetPage(id), nullptr) << id;
        EXPECT_EQ(int(dialog->GetPage(id)->Id()), id);
        EXPECT_EQ(dialog->GetPage(id)->parentWidget(), Find<QWidget>("pageHost")) << id;
    }
    EXPECT_EQ(dialog->GetPage(0), nullptr);
    EXPECT_EQ(dialog->GetPage(6), nullptr);
    EXPECT_EQ(VisiblePages(*dialog), 0);
    for (const std::string& phone : model->settings.phones) EXPECT_EQ(phone, "-");

    // A caption, a close box, and the boxes that minimise and maximise it.
    const Qt::WindowFlags flags = dialog->windowFlags();
    for (Qt::WindowType box :
         {Qt::WindowTitleHint, Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint})
        EXPECT_TRUE(flags & box) << box;
}

TEST_F(TamloDialog, EnterAndEscapeEndNothing) {
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    ChoosePage(PageId::Phones);
    // Wherever the focus is: the dialog, a page field, the Exit button, a
    // page button whose page is not shown.
    const std::vector<QWidget*> targets = {dialog.get(), Find<QWidget>("number1"), Button("exit"),
                                           Button("pageZones")};
    for (QWidget* target : targets) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            target->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(target, key);
            EXPECT_TRUE(dialog->isVisible()) << target->objectName().toStdString() << " " << key;
        }
    }
    // Nor does Enter press a page's button that has the focus.
    ChoosePage(PageId::File);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        Button("projectOpen")->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(Button("projectOpen"), key);
    }
    EXPECT_TRUE(dialogs->questions.empty());
    ChoosePage(PageId::Phones);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_FALSE(dialog->GetPage(int(PageId::Zones))->isVisible());
    EXPECT_TRUE(dialog->GetPage(int(PageId::Phones))->isVisible());
}

// The close box (and Alt+F4, the same request) ends the program as Exit
// does, and closes the port.
TEST_F(TamloDialog, TheCloseBoxEndsTheProgramAsExitDoes) {
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    OpenDemo();
    EXPECT_TRUE(dialog->close());
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
    EXPECT_FALSE(model->link.IsOpen());
}

// What a page shows of the settings, and a change to them made behind the
// page's back: the page shows it only once it has reloaded.
struct PageProbe {
    PageId page;
    bool reloads;
    std::function<void(ConfigSettings&)> change;
    std::function<QString(MainDialog&)> shown;
    QString changed;
};

QString TextOf(MainDialog& dialog, const char* name) { return dialog.findChild<QLineEdit*>(name)->text(); }

const PageProbe kProbes[] = {
    {PageId::File, false, nullptr, nullptr, {}},
    {PageId::Phones, false, [](ConfigSettings& s) { s.phones[0] = "-5550001"; },
     [](MainDialog& d) { return TextOf(d, "number1"); }, "5550001"},
    {PageId::Messages, false, [](ConfigSettings& s) { s.texts[7] = "Probe"; },
     [](MainDialog& d) { return TextOf(d, "text8"); }, "Probe"},
    {PageId::Zones, true, [](ConfigSettings& s) { s.zoneType[0] = true; },
     [](MainDialog& d) { return d.findChild<QComboBox*>("alarm")->currentText(); }, "Break"},
    {PageId::Properties, false, [](ConfigSettings& s) { s.pgmPassword = "probe"; },
     [](MainDialog& d) { return TextOf(d, "password"); }, "probe"},
};

TEST_F(TamloDialog, PageButtonsShowTheirPageAndOnlyZonesReloads) {
    std::vector<QString> before;
    for (const PageProbe& probe : kProbes) before.push_back(probe.shown ? probe.shown(*dialog) : QString());

    for (int twice = 0; twice < 2; ++twice) {
        for (std::size_t i = 0; i < std::size(kProbes); ++i) {
            const PageProbe& probe = kProbes[i];
            SCOPED_TRACE(dialog->PageButton(probe.page)->objectName().toStdString());
            if (probe.change) probe.change(model->settings);
            ChoosePage(probe.page);
            EXPECT_EQ(VisiblePages(*dialog), 1);
            EXPECT_TRUE(dialog->GetPage(int(probe.page))->isVisible());
            for (const PageProbe& other : kProbes)
                EXPECT_EQ(dialog->PageButton(other.page)->isChecked(), other.page == probe.page);
            if (probe.shown) {
                EXPECT_EQ(probe.shown(*dialog), probe.reloads ? probe.changed : before[i]);
            }
        }
    }
    // The changes were there to be shown: a reload of every page shows them.
    dialog->RefreshAllPages();
    for (const PageProbe& probe : kProbes) {
        if (probe.shown) {
            EXPECT_EQ(probe.shown(*dialog), probe.changed)
                << dialog->PageButton(probe.page)->objectName().toStdString();
        }
    }
}

TEST_F(TamloDialog, ZonesReloadsAlsoWhenItIsAlreadyShown) {
    ChoosePage(PageId::Zones);
    model->settings.phones[1] = "+4471234";
    model->settings.zoneActions[0][0] = 0x12;  // zone 1, action 1: text 1 to phone 2
    ChoosePage(PageId::Zones);
    EXPECT_EQ(Find<QComboBox>("smsPhone")->currentText(), QStringLiteral("#2"));
    EXPECT_EQ(Find<QLineEdit>("smsPhoneShown")->text(), QStringLiteral("+4471234"));
}

TEST_F(TamloDialog, AValueTypedIsStoredWhenAPageButtonTakesTheFocus) {
    ChoosePage(PageId::Phones);
    Type("number2", "5551234");
    EXPECT_EQ(model->settings.phones[1], "-");
    ChoosePage(PageId::Messages);
    EXPECT_EQ(model->settings.phones[1], "-5551234");
    EXPECT_FALSE(dialog->GetPage(int(PageId::Phones))->isVisible());
}

// Only the Messages page sets the Cyrillic flag, from the line that takes
// the focus; choosing a page leaves it as it is.
TEST_F(TamloDialog, TheCyrillicFlagFollowsTheMessagesLineFocusedLast) {
    model->settings.cyrillic[4] = true;
    dialog->RefreshAllPages();
    ChoosePage(PageId::Messages);
    Find<QLineEdit>("text5")->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(CyrillicAllowed(), 1);
    ChoosePage(PageId::Properties);
    EXPECT_EQ(CyrillicAllowed(), 1);
    ChoosePage(PageId::Messages);
    Find<QLineEdit>("text1")->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(CyrillicAllowed(), 0);
}

TEST_F(TamloDialog, ExitEndsTheDialogAndClosesThePortAsItsDestructionDoes) {
    OpenDemo();
    QSignalSpy accepted(dialog.get(), &QDialog::accepted);
    int savesBefore = sim.saves;
    Click("exit");
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(model->link.IsOpen());
    EXPECT_GT(sim.saves, savesBefore);  // the module behind the port was closed

    // A dialog taken down with its port open closes it too.
    dialog->show();
    OpenDemo();
    savesBefore = sim.saves;
    dialog.reset();
    EXPECT_FALSE(model->link.IsOpen());
    EXPECT_GT(sim.saves, savesBefore);
}

TEST(TamloApp, RunsTheDialogModallyUntilExitThenReportsFailure) {
    TestModule sim;
    CTamloApp app(sim.Opener());
    EXPECT_EQ(app.Model().profile.kind, ModuleKind::Compact);
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        wasModal = QApplication::activeModalWidget() == &app.Dialog();
        QTest::mouseClick(app.Dialog().findChild<QPushButton*>("exit"), Qt::LeftButton);
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(app.Dialog().isVisible());

    // A read or a project load reloads the settings pages through the application.
    app.Model().settings.texts[6] = "Seventh";
    app.RefreshAllPages();
    EXPECT_EQ(app.Dialog().findChild<QLineEdit*>("text7")->text(), QStringLiteral("Seventh"));
}

}  // namespace
}  // namespace korvex::test
