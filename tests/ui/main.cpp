#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/program_settings.h"

namespace {

// What a program remembers (the port, the file dialogs' folder) lives in a
// folder of the test program's own and starts empty in every test, so that
// no test sees what another chose, nor a person's own settings.
class ForgetProgramSettings final : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { korvex::ProgramSettings().clear(); }
};

}  // namespace

int main(int argc, char** argv) {
    // Widget tests run without a display unless a platform is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ForgetProgramSettings);
    return RUN_ALL_TESTS();
}
