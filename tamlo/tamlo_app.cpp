#include "tamlo/tamlo_app.h"

#include "link/profile.h"

namespace korvex {

CTamloApp::CTamloApp(PortOpener opener) : model_(CompactProfile(), std::move(opener)), dialog_(model_) {}

bool CTamloApp::InitInstance() {
    dialog_.exec();
    return false;
}

}  // namespace korvex
