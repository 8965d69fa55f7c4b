#include "app/project_state.h"

namespace korvex {

void ProjectState::Unnamed(const ConfigSettings& settings) {
    file_.clear();
    stored_ = settings;
    emit Changed();
}

void ProjectState::Named(const QString& path, const ConfigSettings& settings) {
    file_ = path;
    stored_ = settings;
    emit Changed();
}

void ProjectState::Written(const ConfigSettings& settings) {
    if (!file_.isEmpty()) return;
    stored_ = settings;
    emit Changed();
}

}  // namespace korvex
