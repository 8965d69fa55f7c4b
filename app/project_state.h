#pragma once
#include <QObject>
#include <QString>

#include "model/config_settings.h"

namespace korvex {

// Where the settings the pages show were last taken from or stored to: a
// project file, named in the window's title, or no file (the module, or
// nothing yet). Unsaved edits are whatever differs from the settings as
// they stood then, so an edit undone by hand leaves nothing to save.
class ProjectState final : public QObject {
    Q_OBJECT
public:
    // Settings no project file holds whole: as the window first shows
    // them, read from the module, or loaded from a file of another size
    // (saving into that file would cut it to a project's size).
    void Unnamed(const ConfigSettings& settings);
    // Opened whole from a project file, or saved into one.
    void Named(const QString& path, const ConfigSettings& settings);
    // Written to the module and verified. With no file named the module is
    // where the settings live, so nothing is left unsaved; a named file
    // still lacks the edits and keeps them marked.
    void Written(const ConfigSettings& settings);

    // The project file's path; empty when none is named.
    const QString& File() const { return file_; }
    bool Modified(const ConfigSettings& settings) const { return !(settings == stored_); }

signals:
    // The file or the stored settings changed: the title is out of date.
    void Changed();

private:
    QString file_;
    ConfigSettings stored_;
};

}  // namespace korvex
