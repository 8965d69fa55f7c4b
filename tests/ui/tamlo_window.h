#pragma once
// The compact program's main dialog on the simulated demo module, with
// dialogs that answer themselves.
#include <QTest>
#include <fstream>
#include <memory>

#include "tamlo/tamlo_dialog.h"
#include "pages/file_page.h"
#include "app/app_flags.h"
#include "sim/demo.h"
#include "ui/program_window.h"

namespace korvex::test {

inline void WriteBytes(const QString& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class TamloWindow : public ProgramWindow {
protected:
    void SetUp() override {
        SetCyrillicAllowed(0);
        sim.module.Memory() = MakeDemoMemory(CompactProfile());
        MakeModel(CompactProfile());
        dialog = std::make_unique<MainDialog>(*model);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    QWidget* Window() override { return dialog.get(); }
    void ChoosePage(PageId id) override { Click(dialog->PageButton(id)); }

    std::vector<std::uint8_t> ModuleImage() const { return sim.Image(CompactProfile()); }

    std::unique_ptr<MainDialog> dialog;  // destroyed before the model it uses
};

}  // namespace korvex::test
