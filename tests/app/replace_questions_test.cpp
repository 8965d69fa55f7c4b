// Both programs: "Read data" and Open over unsaved edits ask as closing
// does (Save / Don't Save / Cancel), on the window's thread before the
// transfer or the file dialog; a sound loaded and not yet written to the
// module is an unsaved change too, asked about before a close or a sound
// read replaces it.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>
#include <fstream>

#include "model/project_file.h"
#include "voice/voice_wav_maker.h"
#include "app/qt_paths.h"
#include "korvex/frame_texts.h"
#include "tamlo/tamlo_texts.h"
#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

struct KorvexAsks : KorvexWindow {
    void SetUp() override {
        KorvexWindow::SetUp();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    QString AskSaveFile() const { return QString::fromUtf8(kFrameRussian.askSaveFile); }
    QString AskSaveNew() const { return QString::fromUtf8(kFrameRussian.askSaveNew); }
    QString AskSound() const { return QString::fromUtf8(kFrameRussian.askSound); }
};
struct TamloAsks : TamloWindow {
    QString AskSaveFile() const { return QString::fromUtf8(kTamloTexts.askSaveFile); }
    QString AskSaveNew() const { return QString::fromUtf8(kTamloTexts.askSaveNew); }
    QString AskSound() const { return QString::fromUtf8(kTamloTexts.askSound); }
};

template <class Program>
class ReplaceQuestions : public Program {
protected:
    void SetUp() override {
        Program::SetUp();
        // What stands when a question is asked: nothing runs on the bus yet.
        this->dialogs->onQuestion = [this] {
            askedWhileRunning = askedWhileRunning || this->model->transfers.Running() || this->model->link.Busy();
            askedOffThread = askedOffThread || QThread::currentThread() != qApp->thread();
        };
    }
    void EditPhone(const QString& digits) {
        this->ChoosePage(PageId::Phones);
        this->Type("number1", digits);
        this->ChoosePage(PageId::File);
    }
    std::string Phone() const { return this->model->settings.phones[0].substr(1); }
    // A read from the module since the port opened leaves what it holds known.
    bool Read() const { return !this->model->link.HeldImage().empty(); }
    QString Path(const char* name) { return QDir(dir.path()).filePath(QString::fromLatin1(name)); }
    QString SoundFile() {
        const QString path = Path("voice.wav");
        const std::vector<std::uint8_t> wav = MakeWav(Sawtooth(4000));
        std::ofstream(path.toStdString(), std::ios::binary)
            .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
        return path;
    }
    std::string SavedPhone(const QString& path) {
        std::vector<std::uint8_t> image(this->model->profile.imageSize, 0);
        ConfigSettings saved;
        EXPECT_TRUE(LoadProject(FsPath(path), this->model->profile, image, saved).Ok());
        return saved.phones[0].substr(1);
    }
    bool Modified() {
        QCoreApplication::processEvents();
        return this->Window()->isWindowModified();
    }

    QTemporaryDir dir;
    bool askedWhileRunning = false;
    bool askedOffThread = false;
};

using Programs = ::testing::Types<KorvexAsks, TamloAsks>;
struct ProgramNames {
    template <class T>
    static std::string GetName(int) {
        return std::is_same_v<T, KorvexAsks> ? "Korvex" : "Tamlo";
    }
};
TYPED_TEST_SUITE(ReplaceQuestions, Programs, ProgramNames);

TYPED_TEST(ReplaceQuestions, ReadDataOverEditsAsksBeforeTheTransfer) {
    using Choice = Dialogs::SaveChoice;
    struct Case {
        const char* what;
        bool named;  // the settings belong to a project file
        Choice choice;
        bool reads;
    };
    const Case cases[] = {
        {"cancel", false, Choice::Cancel, false},
        {"save without a file, the file dialog cancelled", false, Choice::Save, false},
        {"don't save", false, Choice::Discard, true},
        {"save into the named file", true, Choice::Save, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        this->dialogs->saveQuestions.clear();
        if (this->model->link.IsOpen()) this->Click("openPort");  // closed: nothing known held
        const QString file = this->Path("site.rom");
        if (c.named) {
            this->dialogs->answers.push_back(file);
            this->Click("projectSave");
        }
        this->EditPhone("4951234567");
        ASSERT_TRUE(this->Modified());
        this->OpenDemo();
        this->dialogs->saveChoice = c.choice;
        this->Click("readData");
        EXPECT_EQ(this->dialogs->saveQuestions,
                  QStringList{c.named ? this->AskSaveFile().arg("site.rom") : this->AskSaveNew()});
        EXPECT_EQ(this->Read(), c.reads);
        if (!c.reads) EXPECT_EQ(this->Phone(), "4951234567");  // the edit is kept
        if (c.named) EXPECT_EQ(this->SavedPhone(file), "4951234567");
        if (c.reads) EXPECT_FALSE(this->Modified());
        EXPECT_TRUE(this->dialogs->answers.empty());
    }
    EXPECT_FALSE(this->askedWhileRunning);
    EXPECT_FALSE(this->askedOffThread);

    // Nothing unsaved: the read asks nothing.
    this->dialogs->saveQuestions.clear();
    this->Click("readData");
    EXPECT_TRUE(this->dialogs->saveQuestions.isEmpty());
}

TYPED_TEST(ReplaceQuestions, OpenOverEditsAsksBeforeTheFileDialog) {
    const QString other = this->Path("other.rom");
    this->ChoosePage(PageId::File);
    this->dialogs->answers.push_back(other);
    this->Click("projectSave");  // a project holding no edit
    this->EditPhone("4951234567");

    this->dialogs->saveChoice = Dialogs::SaveChoice::Cancel;
    this->dialogs->questions.clear();
    this->Click("projectOpen");
    EXPECT_EQ(this->dialogs->saveQuestions, QStringList{this->AskSaveFile().arg("other.rom")});
    EXPECT_TRUE(this->dialogs->questions.empty());  // no file dialog
    EXPECT_EQ(this->Phone(), "4951234567");

    this->dialogs->saveChoice = Dialogs::SaveChoice::Discard;
    this->dialogs->answers.push_back(other);
    this->Click("projectOpen");
    ASSERT_EQ(this->dialogs->questions.size(), 1u);
    EXPECT_FALSE(this->dialogs->questions[0].save);
    EXPECT_NE(this->Phone(), "4951234567");  // the file's settings
    EXPECT_FALSE(this->Modified());
    EXPECT_EQ(this->dialogs->saveQuestions.size(), 2);
    EXPECT_FALSE(this->askedWhileRunning);
}

TYPED_TEST(ReplaceQuestions, ASoundLoadedAndNotWrittenIsAnUnsavedChange) {
    this->OpenDemo();
    this->Click("readData");
    ASSERT_FALSE(this->Modified());
    this->dialogs->answers.push_back(this->SoundFile());
    this->Click("soundOpen");
    ASSERT_TRUE(this->dialogs->TakeTexts().isEmpty());
    EXPECT_TRUE(this->Modified());

    // Kept: neither a close nor a sound read takes it away.
    this->dialogs->chooseGo = false;
    EXPECT_FALSE(this->Window()->close());
    EXPECT_TRUE(this->Window()->isVisible());
    const std::vector<std::uint16_t> loaded = this->model->voice.slotLength;
    this->Click("readSound");
    EXPECT_EQ(this->model->voice.slotLength, loaded);
    ASSERT_EQ(this->dialogs->choices.size(), 2u);
    for (const auto& choice : this->dialogs->choices) EXPECT_EQ(choice.text, this->AskSound());
    EXPECT_TRUE(this->dialogs->saveQuestions.isEmpty());  // the settings are as read

    // Written: nothing is unsaved, and the close asks nothing.
    this->Click("writeSound");
    EXPECT_TRUE(this->dialogs->TakeTexts().isEmpty());
    EXPECT_FALSE(this->Modified());
    this->dialogs->choices.clear();
    EXPECT_TRUE(this->Window()->close());
    EXPECT_TRUE(this->dialogs->choices.empty());
    EXPECT_FALSE(this->askedWhileRunning);
}

TYPED_TEST(ReplaceQuestions, ASoundGivenUpIsReplacedByTheRead) {
    this->OpenDemo();
    this->dialogs->answers.push_back(this->SoundFile());
    this->Click("soundOpen");
    ASSERT_TRUE(this->Modified());
    this->dialogs->chooseGo = true;
    this->Click("readSound");
    EXPECT_EQ(this->dialogs->choices.size(), 1u);
    EXPECT_FALSE(this->Modified());
    // The module's sound now: a close asks nothing more.
    EXPECT_TRUE(this->Window()->close());
    EXPECT_EQ(this->dialogs->choices.size(), 1u);
}

}  // namespace
}  // namespace korvex::test
