// Both programs, one code path: the command line names a project file,
// which the window opens as its File page's Open does, or asks only for the
// help or the version, or is refused.
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWindow>

#include "model/clock.h"
#include "model/project_file.h"
#include "app/qt_paths.h"
#include "app/start_command.h"
#include "app/start_texts.h"
#include "korvex/frame_texts.h"
#include "tamlo/tamlo_texts.h"
#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

using Action = StartCommand::Action;

StartCommand Parse(QStringList arguments, ModuleKind kind) {
    arguments.prepend(QStringLiteral("program"));
    return ParseStartCommand(arguments, kind);
}

TEST(StartCommand, ReadsTheFileTheHelpAndTheVersion) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString here = QDir::currentPath();  // the folder's name as the system resolves it

    const QString version = QCoreApplication::applicationName() + QStringLiteral(" " KORVEX_VERSION "\n");
    struct Case {
        QStringList arguments;
        Action action;
        QString project;
    };
    const Case cases[] = {
        {{}, Action::Run, {}},
        {{"site.rom"}, Action::Run, here + "/site.rom"},
        {{"sub/../site.rom"}, Action::Run, here + "/site.rom"},
        {{"/tmp/a b.rom"}, Action::Run, "/tmp/a b.rom"},
        {{"--", "-odd.rom"}, Action::Run, here + "/-odd.rom"},
        {{"--version"}, Action::Version, {}},
        {{"site.rom", "--help"}, Action::Help, {}},
        {{"-h"}, Action::Help, {}},
        {{"-v"}, Action::Version, {}},
        {{"--help-all"}, Action::Refused, {}},
        {{"a.rom", "b.rom"}, Action::Refused, {}},
        {{"--port", "demo"}, Action::Refused, {}},
    };
    for (ModuleKind kind : {ModuleKind::Full, ModuleKind::Compact}) {
        const StartTexts& texts = StartTextsFor(kind);
        for (const Case& c : cases) {
            const std::string name = c.arguments.join(' ').toStdString();
            const StartCommand start = Parse(c.arguments, kind);
            EXPECT_EQ(start.action, c.action) << name;
            EXPECT_EQ(start.project, c.project) << name;
            if (c.action == Action::Run) {
                EXPECT_TRUE(start.text.isEmpty()) << name;
            }
            if (c.action == Action::Version) {
                EXPECT_EQ(start.text, version);
            }
            if (c.action == Action::Help) {
                for (const QString& part :
                     {QtText(texts.description), QtText(texts.fileHelp), QtText(texts.helpOption),
                      QtText(texts.versionOption), QStringLiteral("--version"), QStringLiteral("--help"),
                      QLatin1Char('[') + QtText(texts.fileArgument) + QLatin1Char(']')})
                    EXPECT_TRUE(start.text.contains(part)) << name << ": " << part.toStdString();
            }
            // A refusal says why, then how the command line goes.
            if (c.action == Action::Refused) {
                EXPECT_TRUE(start.text.contains(QStringLiteral("--help"))) << name;
            }
        }
        EXPECT_TRUE(Parse({"a.rom", "b.rom"}, kind).text.startsWith(QtText(texts.oneFile)));
        EXPECT_TRUE(Parse({"--port"}, kind).text.contains(QStringLiteral("port")));
    }
    EXPECT_EQ(PrintStartCommand(Parse({"--frobnicate"}, ModuleKind::Compact)), 1);
    ASSERT_TRUE(QDir::setCurrent(cwd));
}

struct KorvexProgram : KorvexWindow {
    QString Caption() const { return QString::fromUtf8(kFrameRussian.title); }
};
struct TamloProgram : TamloWindow {
    QString Caption() const { return QString::fromUtf8(kTamloTexts.caption); }
};

template <class Program>
class StartProject : public Program {
protected:
    FilePage& Page() { return *this->Window()->template findChild<FilePage*>(); }
    QString Path(const char* name) { return QDir(dir.path()).filePath(QString::fromLatin1(name)); }
    // A project of the program's own, holding `settings`, saved at `path`.
    void SaveSample(const QString& path, ConfigSettings settings) {
        const Profile& profile = this->model->profile;
        std::vector<std::uint8_t> readImage(profile.imageSize, 0), writeImage(profile.imageSize, 0);
        ASSERT_TRUE(SaveProject(FsPath(path), profile, settings, readImage, writeImage, Today()).Ok());
    }
    StartCommand Start(const QString& file) {
        return ParseStartCommand({QStringLiteral("program"), file}, this->model->profile.kind);
    }
    QString Title() { return this->Window()->windowHandle()->title(); }
    QTemporaryDir dir;
};

using Programs = ::testing::Types<KorvexProgram, TamloProgram>;
struct ProgramNames {
    template <class T>
    static std::string GetName(int) {
        return std::is_same_v<T, KorvexProgram> ? "Korvex" : "Tamlo";
    }
};
TYPED_TEST_SUITE(StartProject, Programs, ProgramNames);

TYPED_TEST(StartProject, TheFileNamedOnTheCommandLineIsOpened) {
    ConfigSettings sample;
    sample.phones[0] = "+79161234567";
    sample.texts[1] = "Pozhar";
    const QString path = this->Path("site.rom");
    this->SaveSample(path, sample);

    const StartCommand start = this->Start(path);
    ASSERT_EQ(start.action, Action::Run);
    QSignalSpy loaded(&this->Page(), &FilePage::ConfigurationLoaded);
    this->Page().OpenAtStart(start);
    ASSERT_TRUE(loaded.wait());

    EXPECT_EQ(this->model->settings.phones[0], "+79161234567");
    EXPECT_EQ(this->model->settings.texts[1], "Pozhar");
    EXPECT_EQ(this->model->project.File(), path);
    EXPECT_EQ(this->Title(), QStringLiteral("site.rom \u2014 ") + this->Caption());
    // The pages show it: the phone is in its field.
    this->ChoosePage(PageId::Phones);
    EXPECT_TRUE(this->template Find<QLineEdit>("number1")->text().contains(QStringLiteral("9161234567")));
    // Nothing asked on the way, nothing told.
    EXPECT_TRUE(this->dialogs->questions.empty());
    EXPECT_TRUE(this->dialogs->TakeTexts().isEmpty());
}

TYPED_TEST(StartProject, AFileThatCannotBeOpenedIsToldAndLeavesTheSettings) {
    const ConfigSettings before = this->model->settings;
    const QString path = this->Path("missing.rom");
    this->Page().OpenAtStart(this->Start(path));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !this->dialogs->messages.empty(); }));

    const QStringList texts = this->dialogs->TakeTexts();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].contains(path)) << texts[0].toStdString();
    EXPECT_TRUE(this->model->project.File().isEmpty());
    EXPECT_EQ(this->model->settings, before);
    EXPECT_EQ(this->Title(), this->Caption());
}

TYPED_TEST(StartProject, NoFileNamedOpensNothing) {
    QSignalSpy loaded(&this->Page(), &FilePage::ConfigurationLoaded);
    this->Page().OpenAtStart(StartCommand{});
    // A file named after it is opened, and the first left no message.
    const QString path = this->Path("later.rom");
    this->SaveSample(path, ConfigSettings{});
    this->Page().OpenAtStart(this->Start(path));
    ASSERT_TRUE(loaded.wait());
    EXPECT_EQ(loaded.count(), 1);
    EXPECT_TRUE(this->dialogs->questions.empty());
    EXPECT_TRUE(this->dialogs->TakeTexts().isEmpty());
}

}  // namespace
}  // namespace korvex::test
