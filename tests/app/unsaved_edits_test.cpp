// Both programs, one code path: the title names the project file the
// settings belong to and marks unsaved edits with "*"; a close (close box,
// Exit, or one put off until a transfer has ended) asks first whether to
// save them, and Cancel or a save that did not happen keeps the window.
#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QFile>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWindow>

#include "model/project_file.h"
#include "app/qt_paths.h"
#include "korvex/frame_texts.h"
#include "tamlo/tamlo_texts.h"
#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

// What the tests need of either program's window, in the same words.
struct KorvexProgram : KorvexWindow {
    void SetUp() override {
        KorvexWindow::SetUp();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    QString Caption() const { return QString::fromUtf8(kFrameRussian.title); }
    QString AskSaveFile() const { return QString::fromUtf8(kFrameRussian.askSaveFile); }
    QString AskSaveNew() const { return QString::fromUtf8(kFrameRussian.askSaveNew); }
    QString Discard() const { return QStringLiteral("Не сохранять"); }
};

struct TamloProgram : TamloWindow {
    QString Caption() const { return QString::fromUtf8(kTamloTexts.caption); }
    QString AskSaveFile() const { return QString::fromUtf8(kTamloTexts.askSaveFile); }
    QString AskSaveNew() const { return QString::fromUtf8(kTamloTexts.askSaveNew); }
    QString Discard() const { return QStringLiteral("Don't Save"); }
};

template <class Program>
class UnsavedEdits : public Program {
protected:
    // The title as the window system shows it, "*" in place of "[*]".
    QString Title() {
        QCoreApplication::processEvents();  // the mark follows once the input has been handled
        return this->Window()->windowHandle()->title();
    }
    QString Named(const QString& file, bool modified) {
        return file + (modified ? QStringLiteral("*") : QString()) + QStringLiteral(" \u2014 ") + this->Caption();
    }
    // Phone 1 typed on the Phones page and stored by going back to the File page.
    void EditPhone(const QString& digits) {
        this->ChoosePage(PageId::Phones);
        this->Type("number1", digits);
        this->ChoosePage(PageId::File);
    }
    QString Path(const char* name) { return QDir(dir.path()).filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

using Programs = ::testing::Types<KorvexProgram, TamloProgram>;
struct ProgramNames {
    template <class T>
    static std::string GetName(int) {
        return std::is_same_v<T, KorvexProgram> ? "Korvex" : "Tamlo";
    }
};
TYPED_TEST_SUITE(UnsavedEdits, Programs, ProgramNames);

TYPED_TEST(UnsavedEdits, TheTitleNamesTheProjectFileAndMarksEdits) {
    const QString caption = this->Caption();
    EXPECT_EQ(this->Title(), caption);
    EXPECT_FALSE(this->Window()->isWindowModified());

    this->EditPhone("4951234567");
    EXPECT_EQ(this->Title(), caption + "*");

    // Saved: the file is named and nothing is unsaved.
    this->dialogs->answers.push_back(this->Path("site.rom"));
    this->Click("projectSave");
    EXPECT_EQ(this->Title(), this->Named("site.rom", false));

    // An edit marks it; the same edit undone by hand leaves nothing to save.
    this->EditPhone("4957654321");
    EXPECT_EQ(this->Title(), this->Named("site.rom", true));
    this->EditPhone("4951234567");
    EXPECT_EQ(this->Title(), this->Named("site.rom", false));
    this->EditPhone("4957654321");

    // A read from the module belongs to no file: the program's name alone.
    // The edit it replaces is given up when asked.
    this->OpenDemo();
    this->dialogs->saveChoice = Dialogs::SaveChoice::Discard;
    this->Click("readData");
    EXPECT_EQ(this->Title(), caption);
    // Edits written to the module (and verified) are stored there.
    this->EditPhone("4950000001");
    EXPECT_EQ(this->Title(), caption + "*");
    this->dialogs->answerYes = true;
    this->Click("writeData");
    EXPECT_EQ(this->Title(), caption);

    // Opened: named again. An edit written to the module is still missing
    // from the file, so it stays marked.
    this->dialogs->answers.push_back(this->Path("site.rom"));
    this->Click("projectOpen");
    EXPECT_EQ(this->Title(), this->Named("site.rom", false));
    EXPECT_EQ(this->model->settings.phones[0].substr(1), "4951234567");
    this->EditPhone("4950000002");
    this->Click("writeData");
    EXPECT_EQ(this->Title(), this->Named("site.rom", true));

    // A file of another size loads in part and is not taken as the project:
    // a save into it would cut it to a project's size.
    this->dialogs->TakeTexts();
    QFile part(this->Path("part.rom"));
    ASSERT_TRUE(part.open(QIODevice::WriteOnly));
    part.write(QByteArray(100, '\0'));
    part.close();
    this->dialogs->answers.push_back(part.fileName());
    this->Click("projectOpen");
    EXPECT_EQ(this->Title(), caption);
    EXPECT_EQ(this->dialogs->TakeTexts().size(), 1);  // "loaded 100 bytes of ..."
    // Asked before the read and before this open, over the edits of site.rom.
    EXPECT_EQ(this->dialogs->saveQuestions, QStringList(2, this->AskSaveFile().arg("site.rom")));
}

// A "[*]" in a file name is part of the name, not the mark.
TYPED_TEST(UnsavedEdits, AFileNameIsShownAsItIs) {
    this->ChoosePage(PageId::File);
    this->dialogs->answers.push_back(this->Path("a[*]b.rom"));
    this->Click("projectSave");
    EXPECT_EQ(this->Title(), this->Named("a[*]b.rom", false));
    this->EditPhone("4951234567");
    EXPECT_EQ(this->Title(), this->Named("a[*]b.rom", true));
}

TYPED_TEST(UnsavedEdits, NothingUnsavedClosesWithoutAsking) {
    this->OpenDemo();
    this->Click("readData");
    // Fields visited without a change are no edit.
    this->ChoosePage(PageId::Phones);
    this->Type("number1", this->template Find<QLineEdit>("number1")->text());
    this->ChoosePage(PageId::File);
    EXPECT_TRUE(this->Window()->close());
    EXPECT_TRUE(this->dialogs->saveQuestions.isEmpty());
    EXPECT_FALSE(this->model->link.IsOpen());
}

TYPED_TEST(UnsavedEdits, CancelKeepsTheWindowAndDiscardCloses) {
    this->OpenDemo();
    this->EditPhone("4951234567");
    // Typed but not yet stored when the close comes: it counts.
    this->ChoosePage(PageId::Phones);
    this->Type("number2", "4957654321");

    this->dialogs->saveChoice = Dialogs::SaveChoice::Cancel;
    EXPECT_FALSE(this->Window()->close());
    EXPECT_EQ(this->dialogs->saveQuestions, QStringList{this->AskSaveNew()});
    EXPECT_EQ(this->dialogs->discardLabels, QStringList{this->Discard()});
    EXPECT_TRUE(this->Window()->isVisible());
    EXPECT_TRUE(this->model->link.IsOpen());
    EXPECT_EQ(this->model->settings.phones[1].substr(1), "4957654321");
    EXPECT_TRUE(this->dialogs->questions.empty());  // no file dialog

    this->dialogs->saveChoice = Dialogs::SaveChoice::Discard;
    EXPECT_TRUE(this->Window()->close());
    EXPECT_FALSE(this->Window()->isVisible());
    EXPECT_FALSE(this->model->link.IsOpen());
    EXPECT_TRUE(this->dialogs->questions.empty());
}

TYPED_TEST(UnsavedEdits, SaveWritesTheNamedFileThenCloses) {
    const QString path = this->Path("site.rom");
    this->ChoosePage(PageId::File);
    this->dialogs->answers.push_back(path);
    this->Click("projectSave");
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    this->EditPhone("4951234567");

    this->dialogs->saveChoice = Dialogs::SaveChoice::Save;
    EXPECT_TRUE(this->Window()->close());
    EXPECT_EQ(this->dialogs->saveQuestions, QStringList{this->AskSaveFile().arg("site.rom")});
    EXPECT_EQ(this->dialogs->questions.size(), 1u);  // only the first save asked for a name
    EXPECT_FALSE(this->Window()->isVisible());

    // The file now holds the edit.
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_NE(after.readAll(), before);
    std::vector<std::uint8_t> image(this->model->profile.imageSize, 0);
    ConfigSettings saved;
    ASSERT_TRUE(LoadProject(FsPath(path), this->model->profile, image, saved).Ok());
    EXPECT_EQ(saved.phones[0].substr(1), "4951234567");
}

TYPED_TEST(UnsavedEdits, SaveWithoutAFileAsksForOneAndASaveThatFailsKeepsTheWindow) {
    this->EditPhone("4951234567");
    this->dialogs->saveChoice = Dialogs::SaveChoice::Save;

    // The file dialog cancelled.
    EXPECT_FALSE(this->Window()->close());
    EXPECT_EQ(this->dialogs->questions.size(), 1u);
    EXPECT_TRUE(this->dialogs->questions[0].save);
    EXPECT_TRUE(this->Window()->isVisible());

    // A name that cannot be written: a folder holds it.
    const QString blocked = this->Path("blocked.rom");
    ASSERT_TRUE(QDir().mkpath(blocked));
    this->dialogs->answers.push_back(blocked);
    EXPECT_FALSE(this->Window()->close());
    EXPECT_EQ(this->dialogs->TakeTexts().size(), 1);
    EXPECT_TRUE(this->Window()->isVisible());
    EXPECT_EQ(this->Title(), this->Caption() + "*");

    // A name that can: saved, then closed.
    this->dialogs->answers.push_back(this->Path("saved.rom"));
    EXPECT_TRUE(this->Window()->close());
    EXPECT_FALSE(this->Window()->isVisible());
    EXPECT_TRUE(QFile::exists(this->Path("saved.rom")));
    EXPECT_EQ(this->dialogs->saveQuestions.size(), 3);
}

// A close put off until a stopped transfer has ended asks about the edits
// then, and Cancel still keeps the window with its port.
TYPED_TEST(UnsavedEdits, AClosePutOffByATransferAsksOnceItHasEnded) {
    this->OpenDemo();
    this->EditPhone("4951234567");
    this->dialogs->saveChoice = Dialogs::SaveChoice::Cancel;
    this->dialogs->chooseGo = true;  // stop and close
    bool closedAtOnce = true;
    int questionsDuring = -1;
    this->ClickAndActInside("readSound", [&] {
        closedAtOnce = this->Window()->close();
        questionsDuring = static_cast<int>(this->dialogs->saveQuestions.size());
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !this->dialogs->saveQuestions.empty(); }));
    EXPECT_FALSE(closedAtOnce);
    EXPECT_EQ(questionsDuring, 0);
    EXPECT_EQ(this->dialogs->saveQuestions, QStringList{this->AskSaveNew()});
    EXPECT_TRUE(this->Window()->isVisible());
    EXPECT_TRUE(this->model->link.IsOpen());
}

// The real question: Save is the default, Escape cancels, and Discard
// carries the program's own word.
TEST(SaveQuestion, SaveIsTheDefaultAndEscapeCancels) {
    Dialogs dialogs;
    QStringList buttons;
    bool saveIsDefault = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons()) buttons << b->text();
        saveIsDefault = box->defaultButton() != nullptr && box->defaultButton() == box->button(QMessageBox::Save);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(dialogs.AskSave(nullptr, QStringLiteral("Save?"), QStringLiteral("Don't Save")),
              Dialogs::SaveChoice::Cancel);
    EXPECT_EQ(buttons.size(), 3);
    EXPECT_TRUE(buttons.contains(QStringLiteral("Don't Save"))) << buttons.join('|').toStdString();
    EXPECT_TRUE(saveIsDefault);
}

// Tamlo's Exit button is a close like the close box: it asks too.
TEST_F(TamloWindow, ExitAsksBeforeUnsavedEditsAreLost) {
    ChoosePage(PageId::Phones);
    Type("number1", "4951234567");
    dialogs->saveChoice = Dialogs::SaveChoice::Cancel;
    Click("exit");
    EXPECT_EQ(dialogs->saveQuestions.size(), 1);
    EXPECT_TRUE(dialog->isVisible());
    dialogs->saveChoice = Dialogs::SaveChoice::Discard;
    Click("exit");
    EXPECT_FALSE(dialog->isVisible());
}

}  // namespace
}  // namespace korvex::test

namespace korvex::test {
namespace {

// Ctrl+Q is a close as the close box is: it asks too.
TEST_F(TamloWindow, CtrlQQuitsAndAsksAboutUnsavedEditsFirst) {
    ChoosePage(PageId::Phones);
    Type("number1", "4951234567");
    dialogs->saveChoice = Dialogs::SaveChoice::Cancel;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(dialogs->saveQuestions.size(), 1);
    EXPECT_TRUE(dialog->isVisible());
    dialogs->saveChoice = Dialogs::SaveChoice::Discard;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(dialog->isVisible());
}

}  // namespace
}  // namespace korvex::test
