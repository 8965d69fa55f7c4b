#pragma once
#include <QString>

#include "pages/file_page_texts.h"
#include "app/page.h"

namespace korvex {

class ModuleBox;
struct StartCommand;
class ProjectBox;
class SoundBox;
class TransferStatus;

// The first page: the port, the module transfers, project files and the
// voice slots. It lays out four boxes, each with a job of its own: the
// project box (project files), the module box (the port and the
// transfers), the sound box (the voice slots) and the transfer status (the
// status line and the bar). Everything follows the profile, so the compact
// program uses the same page with its own slots, messages and English texts.
class FilePage : public Page {
    Q_OBJECT
public:
    FilePage(AppModel& model, QWidget* parent = nullptr);
    ~FilePage() override;

    // The port the list's current entry stands for: "COMn", a device path, or
    // "demo" for the simulated module.
    QString SelectedPortName() const;
    QString VersionText() const;
    // True while a transfer runs inside one of the button handlers.
    bool TransferRunning();

    // Chooses the bus timing of the link (fast or spec) for
    // this and later ports, from the page's own switch or the window's menu.
    void SetFastTransfer(bool on);
    // Chooses the demo module's pace for the next port opened (a choice of
    // kDemoPaceModels, app/demo_pace.h), from the page's own list or the
    // window's menu; remembered for the next session.
    void SetDemoPace(int choice);

    // Project Open and Save, also the window's File menu commands. Save
    // asks for the file; true once the settings are saved.
    void OpenProject();
    bool SaveProject();
    // The project file named on the program's command line, opened once
    // the window's event loop runs, so that a message about the file
    // stands over the window.
    void OpenAtStart(const StartCommand& start);
    // Saves into the project file the settings belong to, or asks for one
    // when none is named (the window's question before closing).
    bool SaveEdits();

signals:
    // The port was opened or closed; the Log page follows it.
    void PortStateChanged(bool open);
    // A configuration was read from the module or loaded from a project
    // file; the host reloads the pages that show it.
    void ConfigurationLoaded();

private:
    const FilePageTexts& texts_;
    TransferStatus* status_ = nullptr;
    SoundBox* sound_ = nullptr;
    ProjectBox* project_ = nullptr;
    ModuleBox* module_ = nullptr;
};

}  // namespace korvex
