#include "pages/file_page.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "widgets/waveform_view.h"
#include "app/start_command.h"
#include "app/transfer_locks.h"
#include "pages/module_box.h"
#include "pages/project_box.h"
#include "pages/sound_box.h"
#include "pages/transfer_status.h"

namespace korvex {

FilePage::FilePage(AppModel& model, QWidget* parent)
    : Page(PageId::File, model, parent), texts_(FilePageTextsFor(model.profile)) {
    status_ = new TransferStatus(model.profile, texts_, model.transfers, this);
    sound_ = new SoundBox(model, texts_, *status_, this);
    project_ = new ProjectBox(model, texts_, this);
    module_ = new ModuleBox(model, texts_, *status_, *sound_, this);

    // The parts are made in the order they are placed, which is the Tab order.
    auto* top = new QVBoxLayout(this);
    top->addLayout(module_->MakePortRow());
    top->addWidget(sound_->MakeWaveform(), 1);
    auto* groups = new QHBoxLayout;
    QWidget* projectGroup = project_->MakeGroup();
    groups->addWidget(projectGroup);
    groups->addWidget(module_->MakeGroup());
    QWidget* soundGroup = sound_->MakeGroup();
    groups->addWidget(soundGroup);
    top->addLayout(groups);
    top->addWidget(status_->MakeLine());
    top->addWidget(status_->MakeBar());

    connect(module_, &ModuleBox::PortStateChanged, this, &FilePage::PortStateChanged);
    connect(module_, &ModuleBox::ConfigurationLoaded, this, &FilePage::ConfigurationLoaded);
    connect(project_, &ProjectBox::ConfigurationLoaded, this, &FilePage::ConfigurationLoaded);
    module_->UpdateEnables();
    // A transfer works on copies and hands its results over when it has
    // ended: what it reads or writes stays as it was meanwhile.
    LockDuring(model.transfers, Locked::Settings, projectGroup);
    LockDuring(model.transfers, Locked::Sound, soundGroup);
}

FilePage::~FilePage() = default;

QString FilePage::SelectedPortName() const { return module_->SelectedPortName(); }

QString FilePage::VersionText() const { return module_->VersionText(); }

bool FilePage::TransferRunning() { return Model().transfers.Running(); }

void FilePage::SetFastTransfer(bool on) { module_->SetFastTransfer(on); }

void FilePage::SetDemoPace(int choice) { module_->SetDemoPace(choice); }

void FilePage::OpenProject() { project_->OpenProject(); }

bool FilePage::SaveProject() { return project_->SaveProject(); }

void FilePage::OpenAtStart(const StartCommand& start) {
    if (start.project.isEmpty()) return;
    QTimer::singleShot(0, this, [this, path = start.project] { project_->OpenProjectFile(path); });
}

bool FilePage::SaveEdits() { return project_->SaveEdits(); }

}  // namespace korvex
