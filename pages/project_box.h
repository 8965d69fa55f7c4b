#pragma once
#include <QObject>
#include <QString>
#include <string>
#include <string_view>

#include "pages/file_page_texts.h"

class QGroupBox;
class QPushButton;
class QWidget;

namespace korvex {

struct AppModel;

// The File page's project box: Open and Save of project files (and, where
// the window has no menu for it, the report). It keeps the model's project
// state: which file the settings belong to and what is unsaved.
class ProjectBox : public QObject {
    Q_OBJECT
public:
    ProjectBox(AppModel& model, const FilePageTexts& texts, QWidget* page);

    // The group for the page's layout, made when the page places it, so
    // that the Tab order follows the page.
    QGroupBox* MakeGroup();

    // Asks for a project file and loads it; a file of another size loads as
    // far as it goes and the user is told so. A failure is told.
    void OpenProject();
    // Loads `path` as OpenProject does once the user has chosen it.
    void OpenProjectFile(const QString& path);
    // Asks for the file; true once the settings are saved.
    bool SaveProject();
    // Saves into the project file the settings belong to, or asks for one
    // when none is named (the window's question before closing).
    bool SaveEdits();

signals:
    // A project file was loaded; the host reloads the pages that show it.
    void ConfigurationLoaded();

private:
    bool SaveProjectTo(const QString& path);
    void TellFileError(std::string_view what, const std::string& path, const std::string& reason);

    AppModel& model_;
    const FilePageTexts& texts_;
    QWidget* page_;
};

}  // namespace korvex
