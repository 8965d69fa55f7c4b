#pragma once
// The full program's main window on a simulated module, with dialogs that
// answer themselves.
#include <QAction>
#include <QTemporaryDir>
#include <QToolBar>
#include <memory>

#include "pages/file_page.h"
#include "app/app_flags.h"
#include "korvex/korvex_frame.h"
#include "korvex/korvex_view.h"
#include "ui/program_window.h"

namespace korvex::test {

// Settings that differ from a cleared configuration in every page's fields.
inline ConfigSettings SampleSettings() {
    ConfigSettings s;
    s.phones[0] = "+79161234567";
    s.phones[1] = "-84951112233";
    s.texts[0] = "Trevoga zona 1";
    s.texts[1] = "Pozhar";
    s.pgmPassword = "1234";
    s.objectName = "Sklad 7";
    s.smscNumber = "+79168999999";
    s.testSmsCode = 12;
    s.pgmSeconds = 5;
    s.autodialCycles = 4;
    s.zoneType = {true, false, true, false};
    s.zoneActions[0][0] = 0x11;
    s.zoneActions[0][4] = 0x12;
    s.zoneActions[1][0] = 0x21;
    return s;
}

class KorvexWindow : public ProgramWindow {
protected:
    void SetUp() override {
        SetCyrillicAllowed(0);
        sim.Load(FullProfile(), SampleSettings());
        MakeModel(FullProfile());
        frame = std::make_unique<CMainFrame>(*model);
        frame->show();
    }

    QWidget* Window() override { return frame.get(); }
    // The page's toolbar button clicked.
    void ChoosePage(PageId id) override { Click(frame->ToolBar()->widgetForAction(frame->PageAction(int(id)))); }

    CKorvexView& View() { return *frame->View(); }
    FilePage& File() { return *View().GetFilePage(); }

    // The program's own demo module, kept in a fresh data folder.
    void UseRealDemo() {
        ASSERT_TRUE(dataHome.isValid());
        hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        savedDataHome = qgetenv("XDG_DATA_HOME");
        changedDataHome = true;
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
        model->link.SetOpener(DefaultPortOpener());
    }

    void TearDown() override {
        frame.reset();
        model.reset();
        if (!changedDataHome) return;
        if (hadDataHome) {
            qputenv("XDG_DATA_HOME", savedDataHome);
        } else {
            qunsetenv("XDG_DATA_HOME");
        }
    }

    QTemporaryDir dataHome;
    QByteArray savedDataHome;
    bool hadDataHome = false;
    bool changedDataHome = false;
    std::unique_ptr<CMainFrame> frame;
};

}  // namespace korvex::test
