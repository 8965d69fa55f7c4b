#include "pages/project_box.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "model/clock.h"
#include "model/project_file.h"
#include "app/app_model.h"
#include "app/edits_guard.h"
#include "app/qt_paths.h"
#include "pages/box_helpers.h"
#include "pages/module_tools_texts.h"
#include "pages/report_export.h"

namespace korvex {

ProjectBox::ProjectBox(AppModel& model, const FilePageTexts& texts, QWidget* page)
    : QObject(page), model_(model), texts_(texts), page_(page) {}

QGroupBox* ProjectBox::MakeGroup() {
    auto* group = new QGroupBox(QtText(texts_.project), page_);
    auto* layout = new QVBoxLayout(group);
    QPushButton* open = BoxButton(texts_.projectOpen, "projectOpen", group);
    QPushButton* save = BoxButton(texts_.projectSave, "projectSave", group);
    layout->addWidget(open);
    layout->addWidget(save);
    const ModuleToolsTexts& tools = ModuleToolsTextsFor(model_.profile.kind);
    if (tools.reportOnFilePage) {
        QPushButton* report = BoxButton(tools.report, "report", group);
        layout->addWidget(report);
        connect(report, &QPushButton::clicked, this, [this] { ShowReportChooser(model_, {}, page_); });
    }
    layout->addStretch(1);

    connect(open, &QPushButton::clicked, this, &ProjectBox::OpenProject);
    connect(save, &QPushButton::clicked, this, &ProjectBox::SaveProject);
    return group;
}

void ProjectBox::OpenProject() {
    // Before the file dialog, as before a close: the file replaces every setting.
    if (!SettingsMayGo(model_)) return;
    const QString path = model_.dialogs->OpenFileName(page_, QtText(texts_.openProjectTitle),
                                                      QtText(texts_.projectFilter), QStringLiteral("rom"));
    if (!path.isEmpty()) OpenProjectFile(path);
}

void ProjectBox::OpenProjectFile(const QString& path) {
    AppModel& m = model_;
    const FileOutcome outcome = LoadProject(FsPath(path), m.profile, m.readImage, m.settings);
    if (!outcome.Ok()) {
        TellFileError(outcome.failed == FileStep::Read ? texts_.cannotReadFile : texts_.cannotOpenFile,
                      path.toStdString(), outcome.reason);
        return;
    }
    m.dialogs->FileUsed(path);
    m.settingsLoaded = true;
    // Loaded as far as it goes, but the user learns that it was not a project of this program.
    const qint64 size = QFileInfo(path).size();
    const auto project = static_cast<qint64>(m.profile.imageSize);
    if (size == project) {
        m.project.Named(path, m.settings);
    } else {
        m.project.Unnamed(m.settings);
    }
    emit ConfigurationLoaded();
    if (size != project) {
        const qint64 loaded = std::min(size, project);
        TellWarning(m, page_,
                    std::string(size < project ? texts_.shortProject : texts_.longProject) +
                        std::string(texts_.loadedBytes) + std::to_string(loaded) + std::string(texts_.ofBytes) +
                        std::to_string(std::max(size, project)));
    }
}

bool ProjectBox::SaveProject() {
    const QString path = model_.dialogs->SaveFileName(page_, QtText(texts_.saveProjectTitle),
                                                      QtText(texts_.projectFilter), QStringLiteral("rom"));
    return !path.isEmpty() && SaveProjectTo(path);
}

bool ProjectBox::SaveEdits() {
    const QString file = model_.project.File();
    return file.isEmpty() ? SaveProject() : SaveProjectTo(file);
}

bool ProjectBox::SaveProjectTo(const QString& path) {
    AppModel& m = model_;
    const FileOutcome outcome =
        korvex::SaveProject(FsPath(path), m.profile, m.settings, m.readImage, m.writeImage, Today());
    if (!outcome.Ok()) {
        TellFileError(outcome.failed == FileStep::Write ? texts_.cannotWriteFile : texts_.cannotCreateFile,
                      path.toStdString(), outcome.reason);
        return false;
    }
    m.dialogs->FileUsed(path);
    m.project.Named(path, m.settings);
    return true;
}

void ProjectBox::TellFileError(std::string_view what, const std::string& path, const std::string& reason) {
    QString text = QtText(what) + QStringLiteral(": \"") + QString::fromStdString(path) + QStringLiteral("\"");
    if (!reason.empty()) text += QStringLiteral(" (") + QString::fromStdString(reason) + QStringLiteral(")");
    model_.dialogs->Message(page_, QMessageBox::Critical, text);
}

}  // namespace korvex
