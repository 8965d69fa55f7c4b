// The file dialogs start in the folder of the last file really opened or
// saved: a choice that then failed (a save into /proc) is not remembered,
// so it cannot become the start of every later dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include "app/dialogs.h"

namespace korvex::test {
namespace {

class FileDialogFolder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(used.isValid() && chosen.isValid()); }

    // Opens the save dialog; answers it with `answer` and tells the folder it started in.
    QString SaveDialogStartsIn(const QString& answer) {
        QString startedIn;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            startedIn = dialog->directory().absolutePath();
            dialog->selectFile(answer);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        EXPECT_EQ(dialogs.SaveFileName(nullptr, "Save", "files (*.rom)", "rom"), answer);
        return startedIn;
    }

    Dialogs dialogs;
    QTemporaryDir used, chosen;
};

TEST_F(FileDialogFolder, OnlyAFileUsedMovesTheStartingFolder) {
    dialogs.FileUsed(used.filePath("object.rom"));
    const QString failed = chosen.filePath("failed.rom");
    EXPECT_EQ(SaveDialogStartsIn(failed), QDir(used.path()).absolutePath());
    // The save into `chosen` failed, so nobody reported it used.
    EXPECT_EQ(SaveDialogStartsIn(failed), QDir(used.path()).absolutePath());
    dialogs.FileUsed(failed);
    EXPECT_EQ(SaveDialogStartsIn(failed), QDir(chosen.path()).absolutePath());
}

}  // namespace
}  // namespace korvex::test
