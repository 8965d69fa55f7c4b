// The File page driven by its buttons against a simulated module.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <fstream>

#include "link/serial_exception.h"
#include "link/serial_port.h"
#include "app/wav_player.h"
#include "voice/delta_codec.h"
#include "voice/voice_wav_maker.h"
#include "model/image_codec.h"
#include "ui/key_input.h"
#include "widgets/waveform_view.h"
#include "ui/korvex_window.h"
#include "ui/screenshot.h"

namespace korvex::test {
namespace {

const char* const kModuleButtons[] = {"readData", "writeData", "readSound", "writeSound"};

ConfigSettings Decoded(const std::vector<std::uint8_t>& image) {
    ConfigSettings settings;
    UnpackImage(FullProfile(), image, settings);
    return settings;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const std::vector<std::uint8_t>& bytes) {
    const QString path = dir.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

using FilePageTest = KorvexWindow;

// Counts the paints a widget gets while the File page's transfer runs.
class PaintsDuringTransfer final : public QObject {
public:
    explicit PaintsDuringTransfer(FilePage& page) : page_(page) {}
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && page_.TransferRunning()) ++paints;
        return false;
    }

private:
    FilePage& page_;
};

TEST_F(FilePageTest, PortListHoldsComPortsThenDevicesPresentThenDemo) {
    auto* ports = Find<QComboBox>("portList");
    ASSERT_GE(ports->count(), 5);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ports->itemText(i), QStringLiteral("COM%1").arg(i + 1));
    EXPECT_EQ(ports->itemText(ports->count() - 1), QStringLiteral("Демо-модуль"));
    EXPECT_EQ(ports->itemData(ports->count() - 1).toString(), QStringLiteral("demo"));
    // A device that COM1..COM4 already stand for is not listed twice.
    QStringList paths;
    for (int i = 4; i < ports->count() - 1; ++i) paths << ports->itemData(i).toString();
    for (int n = 1; n <= 4; ++n)
        EXPECT_FALSE(paths.contains(QString::fromStdString(DevicePathFor("COM" + std::to_string(n)))));
    EXPECT_EQ(ports->currentIndex(), 0);
}

TEST_F(FilePageTest, OpeningThePortEnablesTheModuleButtonsAndLocksThePortList) {
    frame->PageAction(int(PageId::File))->trigger();
    auto* ports = Find<QComboBox>("portList");
    for (const char* name : kModuleButtons) EXPECT_FALSE(Button(name)->isEnabled()) << name;
    EXPECT_TRUE(ports->isEnabled());

    OpenDemo();
    EXPECT_EQ(Button("openPort")->text(), QStringLiteral("Закрыть порт"));
    for (const char* name : kModuleButtons) EXPECT_TRUE(Button(name)->isEnabled()) << name;
    EXPECT_FALSE(ports->isEnabled());

    // Closing frees the list for another port.
    Click("openPort");
    EXPECT_FALSE(model->link.IsOpen());
    EXPECT_EQ(Button("openPort")->text(), QStringLiteral("Открыть порт"));
    for (const char* name : kModuleButtons) EXPECT_FALSE(Button(name)->isEnabled()) << name;
    EXPECT_TRUE(ports->isEnabled());
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(FilePageTest, APortHeldElsewhereIsReportedAndNothingChanges) {
    frame->PageAction(int(PageId::File))->trigger();
    Click("openPort");  // COM1: the test opener refuses every real port
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("COM порт не открыт!"));
    EXPECT_TRUE(dialogs->messages[0].detail.contains("busy"));
    EXPECT_FALSE(model->link.IsOpen());
    EXPECT_EQ(Button("openPort")->text(), QStringLiteral("Открыть порт"));
    for (const char* name : kModuleButtons) EXPECT_FALSE(Button(name)->isEnabled()) << name;
}

TEST_F(FilePageTest, ReadEditWriteAndVerifyAgainstTheModule) {
    OpenDemo();
    const std::vector<std::uint8_t> before = sim.Image(FullProfile());

    Click("readData");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_EQ(Find<QLineEdit>("version")->text(), QStringLiteral("1.04"));
    EXPECT_EQ(model->readImage, before);
    EXPECT_EQ(model->settings.phones[0], "+79161234567");
    EXPECT_EQ(model->settings.objectName, "Sklad 7");
    EXPECT_FALSE(Find<QProgressBar>("transferBar")->isVisible());

    // Edit on the pages as the user does: type, tick, and go back to the File page.
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    frame->PageAction(int(PageId::Phones))->trigger();
    auto* number = Find<QLineEdit>("number3");
    number->setFocus(Qt::OtherFocusReason);
    TypeText(number, QStringLiteral("380441234567"));
    QTest::mouseClick(Find<QCheckBox>("international3"), Qt::LeftButton, {}, QPoint(4, 4));
    frame->PageAction(int(PageId::Properties))->trigger();
    auto* cycles = Find<QLineEdit>("cycles");
    cycles->setFocus(Qt::OtherFocusReason);
    cycles->selectAll();
    TypeText(cycles, QStringLiteral("7"));
    frame->PageAction(int(PageId::File))->trigger();
    Click("writeData");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    const std::vector<std::uint8_t> after = sim.Image(FullProfile());
    // Marker, version and signature are never written.
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 24, after.begin()));
    const ConfigSettings inModule = Decoded(after);
    EXPECT_EQ(inModule.phones[2], "+380441234567");
    EXPECT_EQ(inModule.autodialCycles, 7);
    EXPECT_EQ(inModule.phones[0], "+79161234567");

    // A fresh read brings the edits back (the settings cleared here are given up).
    model->settings.Clear();
    dialogs->saveChoice = Dialogs::SaveChoice::Discard;
    Click("readData");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_EQ(model->settings, inModule);
    EXPECT_GE(sim.saves, 3);  // the module's memory is kept after every transfer
}

TEST_F(FilePageTest, SoundLoadedWrittenAndReadBack) {
    QTemporaryDir dir;
    const std::vector<std::uint8_t> wav = korvex::test::MakeWav(korvex::test::Sawtooth(8000), {.rate = 16000});
    dialogs->answers.push_back(WriteFile(dir, "voice.wav", wav));
    OpenDemo();
    auto* slotList = Find<QComboBox>("slotList");
    ASSERT_EQ(slotList->count(), 6);
    EXPECT_EQ(slotList->itemText(5), QStringLiteral("Звук 6"));
    // Into slot 2.
    slotList->setCurrentIndex(1);
    emit slotList->activated(1);
    Click("soundOpen");
    ASSERT_TRUE(dialogs->TakeTexts().isEmpty());
    ASSERT_EQ(dialogs->questions.size(), 1u);
    EXPECT_EQ(dialogs->questions[0].title, QStringLiteral("Загрузить звуковой файл"));
    EXPECT_EQ(dialogs->questions[0].filter, QStringLiteral("files (*.wav *.flac *.ogg *.opus *.mp3)"));
    EXPECT_EQ(dialogs->questions[0].suffix, QStringLiteral("wav"));
    EXPECT_EQ(model->voice.slotLength[1], 1000);
    EXPECT_EQ(Find<QLabel>("memoryText")->text(), QStringLiteral("Свободно 29 кБайт"));
    EXPECT_EQ(Find<QProgressBar>("memoryBar")->value(), 1000);
    const std::vector<std::uint8_t> encoded(model->voice.Area(1).begin(), model->voice.Area(1).begin() + 1000);

    // The window keeps painting while the transfer runs in the handler.
    PaintsDuringTransfer watch(File());
    Find<QProgressBar>("transferBar")->installEventFilter(&watch);
    Find<QLabel>("status")->installEventFilter(&watch);
    Click("writeSound");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_GT(watch.paints, 2);

    // Forget the PC's copy; Read sound must bring it back from the module.
    std::fill(model->voice.Area(1).begin(), model->voice.Area(1).end(), 0);
    model->voice.slotLength[1] = 0;
    Click("readSound");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_EQ(model->voice.slotLength[1], 1000);
    EXPECT_EQ(model->voice.slotRate[1], 16000);
    EXPECT_TRUE(std::equal(encoded.begin(), encoded.end(), model->voice.Area(1).begin()));
    // The list shows the slot that Read sound made current.
    EXPECT_EQ(slotList->currentIndex(), model->voice.currentSlot);
    EXPECT_EQ(model->voice.currentSlot, 0);
    // Choosing slot 2 decodes it at once for the display and Play.
    emit slotList->activated(1);
    EXPECT_EQ(model->wav.SoundLength, 8000u);
}

// Play gives the player the slot as the module will play it: its 1-bit
// data decoded, not the file that was loaded.
TEST_F(FilePageTest, PlayPlaysTheSlotDecodedNotTheFile) {
    QTemporaryDir dir;
    const std::vector<std::uint8_t> samples = korvex::test::Sawtooth(8000);
    dialogs->answers.push_back(WriteFile(dir, "voice.wav", korvex::test::MakeWav(samples, {.rate = 16000})));
    frame->PageAction(int(PageId::File))->trigger();
    Click("soundOpen");
    ASSERT_TRUE(dialogs->TakeTexts().isEmpty());
    ASSERT_EQ(model->voice.slotLength[0], 1000);
    auto* player = File().findChild<WavPlayer*>();
    ASSERT_NE(player, nullptr);
    Click("play");
    std::vector<std::uint8_t> decoded(8000);
    DecodeDelta(std::span<const std::uint8_t>(model->voice.Area(0)).first(1000), FullProfile().codecStep, decoded);
    const QByteArray played = player->Samples();
    EXPECT_EQ(std::vector<std::uint8_t>(played.begin(), played.end()), decoded);
    EXPECT_NE(decoded, samples) << "the decoder cannot follow a sawtooth exactly";
    // An empty slot plays nothing.
    model->voice.slotLength[0] = 0;
    model->wav.SoundLength = 0;
    Click("play");
    EXPECT_TRUE(player->Samples().isEmpty());
}

// Right after a load the waveform shows the slot as the module will play
// it, decoded from its 1-bit data, as Play and a change of slot do.
TEST_F(FilePageTest, TheWaveformShowsTheLoadedSlotDecoded) {
    QTemporaryDir dir;
    const std::vector<std::uint8_t> samples = korvex::test::Sawtooth(8000);
    dialogs->answers.push_back(WriteFile(dir, "voice.wav", korvex::test::MakeWav(samples, {.rate = 16000})));
    frame->PageAction(int(PageId::File))->trigger();
    Click("soundOpen");
    ASSERT_TRUE(dialogs->TakeTexts().isEmpty());
    std::vector<std::uint8_t> decoded(8000);
    DecodeDelta(std::span<const std::uint8_t>(model->voice.Area(0)).first(1000), FullProfile().codecStep, decoded);
    const auto shown = InspectWavImage(model->wav.bytes, model->wav.SoundLength);
    ASSERT_TRUE(shown);
    EXPECT_EQ(std::vector<std::uint8_t>(shown->samples.begin(), shown->samples.end()), decoded);
    EXPECT_EQ(Find<WaveformView>("waveform")->SoundLength(), model->wav.SoundLength);
}

// With no sound output, Play says so on the status line and its button
// keeps the reason as its tip.
TEST_F(FilePageTest, PlayWithNoSoundOutputSaysWhy) {
    QTemporaryDir dir;
    dialogs->answers.push_back(
        WriteFile(dir, "voice.wav", korvex::test::MakeWav(korvex::test::Sawtooth(800), {.rate = 16000})));
    frame->PageAction(int(PageId::File))->trigger();
    Click("soundOpen");
    auto* player = File().findChild<WavPlayer*>();
    ASSERT_NE(player, nullptr);
    player->SetOutputStarter([](const QByteArray&, std::uint32_t, QObject*, std::function<void()>) { return nullptr; });
    Click("play");
    const QString why = QStringLiteral("Нет устройства вывода звука: прослушать звук нельзя");
    EXPECT_TRUE(player->NoOutput());
    EXPECT_TRUE(Find<QLabel>("status")->isVisible());
    EXPECT_EQ(Find<QLabel>("status")->text(), why);
    EXPECT_EQ(Find<QPushButton>("play")->toolTip(), why);
    EXPECT_EQ(Find<QPushButton>("play")->accessibleName(), QStringLiteral("Прослушать"));
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
}

// A file that holds no sound is refused by its name, before the rate a
// conversion goes to is asked, and the slot keeps what it held.
TEST_F(FilePageTest, AFileThatIsNotSoundIsRefusedByNameBeforeAnyQuestion) {
    QTemporaryDir dir;
    frame->PageAction(int(PageId::File))->trigger();
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"notes.txt", std::string(300, 'x') + "\nnot a sound at all\n"},
        {"picture.png", std::string("\x89PNG\r\n\x1a\n") + std::string(200, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model->voice.slotLength[0] = 0;
        dialogs->rateQuestions.clear();
        const QString path = WriteFile(dir, c.name, std::vector<std::uint8_t>(c.bytes.begin(), c.bytes.end()));
        dialogs->answers.push_back(path);
        Click("soundOpen");
        EXPECT_TRUE(dialogs->rateQuestions.empty());
        const QStringList told = dialogs->TakeTexts();
        ASSERT_EQ(told.size(), 1);
        EXPECT_TRUE(told[0].startsWith(QStringLiteral("Не удалось прочитать звук из файла: \"") + path + '"'))
            << told[0].toStdString();
        EXPECT_EQ(model->voice.slotLength[0], 0);
    }
}

TEST_F(FilePageTest, WavFilesOutsideTheModulesFormatAreConvertedOrRefused) {
    QTemporaryDir dir;
    struct Case {
        korvex::test::WavFields fields;
        const char* message;  // empty: converted to 16000 Hz
    };
    const Case cases[] = {
        {{.fmtTag = false}, "Неизвестный формат"},
        {{.rate = 8000}, ""},
        {{.bits = 16}, ""},
        {{.channels = 2}, ""},
        {{.rate = 44100, .bits = 16, .channels = 2}, ""},
    };
    frame->PageAction(int(PageId::File))->trigger();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        model->voice.slotLength[0] = 0;
        dialogs->answers.push_back(WriteFile(dir, "x.wav", korvex::test::MakeWav(korvex::test::Sawtooth(800), c.fields)));
        Click("soundOpen");
        if (*c.message) {
            EXPECT_EQ(dialogs->TakeTexts(), QStringList{QString::fromUtf8(c.message)});
            EXPECT_EQ(model->voice.slotLength[0], 0);
            EXPECT_EQ(Find<QLabel>("memoryText")->text(), QStringLiteral("Память"));
        } else {
            EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
            EXPECT_GT(model->voice.slotLength[0], 0);
            EXPECT_EQ(model->voice.slotRate[0], 16000);
        }
    }
    // A file too long for the memory is offered for cutting: No leaves the
    // slot as it was, Yes fills the free memory. In the module's own format
    // it is told in bytes too and cut as it is (the intake's rule, shared
    // with korvex-cli).
    model->voice.slotLength[0] = 0;
    const QString big = WriteFile(dir, "big.wav", korvex::test::MakeWav(korvex::test::Sawtooth(8 * 32000)));
    dialogs->answers.push_back(big);
    Click("soundOpen");
    ASSERT_EQ(dialogs->asked.size(), 1u);
    EXPECT_EQ(dialogs->asked[0],
              QStringLiteral("Звук длится 11,6 с (32000 байт), а в свободную память помещается 11,1 с (30719 байт).\n"
                             "Обрезать звук до 11,1 с?"));
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_EQ(model->voice.slotLength[0], 0);
    dialogs->answers.push_back(big);
    dialogs->yesNo.push_back(true);
    Click("soundOpen");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_EQ(model->voice.slotLength[0], 32767 - 2048);
    EXPECT_EQ(model->voice.slotRate[0], 22050) << "a file in the module's format keeps its rate";
    // Cancelled: nothing at all.
    Click("soundOpen");
    EXPECT_TRUE(dialogs->messages.empty());
}

// A file that is converted anyway is converted to the rate the technician
// picks (the program's own first); one that fits is not asked about.
TEST_F(FilePageTest, AConvertedFileGoesToTheRateChosen) {
    QTemporaryDir dir;
    frame->PageAction(int(PageId::File))->trigger();
    const QString phone =
        WriteFile(dir, "phone.wav",
                  korvex::test::MakeWav(korvex::test::Sawtooth(4410), {.rate = 44100, .bits = 16, .channels = 2}));
    struct Case {
        std::optional<int> answer;  // nothing: cancelled
        std::uint16_t slotRate;     // 0: the slot is left empty
    };
    for (const Case c : {Case{11025, 11025}, Case{22050, 22050}, Case{std::nullopt, 0}}) {
        model->voice.slotLength[0] = 0;
        model->voice.slotRate[0] = 0;
        dialogs->rateQuestions.clear();
        dialogs->answers.push_back(phone);
        dialogs->rateAnswers.push_back(c.answer);
        Click("soundOpen");
        EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
        ASSERT_EQ(dialogs->rateQuestions.size(), 1u);
        EXPECT_EQ(dialogs->rateQuestions[0].rates, (QList<int>{16000, 22050, 11025}));
        EXPECT_EQ(dialogs->rateQuestions[0].title, QStringLiteral("Преобразование звука"));
        EXPECT_EQ(model->voice.slotRate[0], c.slotRate);
        EXPECT_EQ(model->voice.slotLength[0] > 0, c.slotRate != 0);
    }
    // A file in the module's own format keeps its rate without a question.
    dialogs->rateQuestions.clear();
    dialogs->answers.push_back(
        WriteFile(dir, "fits.wav", korvex::test::MakeWav(korvex::test::Sawtooth(800), {.rate = 11025})));
    Click("soundOpen");
    EXPECT_TRUE(dialogs->rateQuestions.empty());
    EXPECT_EQ(model->voice.slotRate[0], 11025);
}

TEST_F(FilePageTest, SpokenTextGoesIntoTheChosenSlot) {
    frame->PageAction(int(PageId::File))->trigger();
    auto* slotList = Find<QComboBox>("slotList");
    slotList->setCurrentIndex(3);
    emit slotList->activated(3);
    EXPECT_EQ(Find<QPushButton>("speakText")->text(), QStringLiteral("Озвучить текст..."));
    dialogs->speech.push_back({QStringLiteral("Тревога в зоне четыре"), QStringLiteral("ru"), 11025});
    Click("speakText");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    ASSERT_EQ(dialogs->speechLabels.size(), 1u);
    const Dialogs::SpeechLabels& labels = dialogs->speechLabels[0];
    EXPECT_EQ(labels.title, QStringLiteral("Озвучить текст"));
    EXPECT_EQ(labels.languageCodes, (QStringList{"ru", "en"}));
    EXPECT_EQ(labels.rates, (QList<int>{16000, 22050, 11025})) << "the program's own rate first";
    EXPECT_GT(model->voice.slotLength[3], 11025 / 8 / 4);
    EXPECT_EQ(model->voice.slotRate[3], 11025);
    EXPECT_NE(Find<QLabel>("memoryText")->text(), QStringLiteral("Память"));
    // Cancelled: nothing changes.
    const auto lengths = model->voice.slotLength;
    Click("speakText");
    EXPECT_EQ(model->voice.slotLength, lengths);
    EXPECT_TRUE(dialogs->messages.empty());
}

// What a module that is not right says on each device button.
TEST_F(FilePageTest, ModuleChecksShowTheirMessages) {
    struct Case {
        const char* what;
        void (*spoil)(SimulatedModule&);
        const char* button;
        const char* message;
    };
    const Case cases[] = {
        {"no module", [](SimulatedModule& m) { m.GetFaults().absent = true; }, "readData", "Устройство не подключено"},
        {"no module", [](SimulatedModule& m) { m.GetFaults().absent = true; }, "writeSound", "Устройство не подключено"},
        {"other type", [](SimulatedModule& m) { m.Memory()[21] ^= 1; }, "writeData", "Неизвестный тип устройства"},
        {"other type", [](SimulatedModule& m) { m.Memory()[21] ^= 1; }, "readSound", "Неизвестный тип устройства"},
        {"protected", [](SimulatedModule& m) { m.GetFaults().writeProtect = true; }, "writeData", "Ошибка записи!"},
    };
    OpenDemo();
    dialogs->answerYes = true;                           // the writes are meant
    dialogs->saveChoice = Dialogs::SaveChoice::Discard;  // and the reads over the edit
    for (const Case& c : cases) {
        sim.Load(FullProfile(), SampleSettings());
        sim.module.GetFaults() = {};
        c.spoil(sim.module);
        model->settings.phones[3] = "+111";  // a write has something to change
        const std::vector<std::uint8_t> before = sim.Image(FullProfile());
        Click(c.button);
        EXPECT_EQ(dialogs->TakeTexts(), QStringList{QString::fromUtf8(c.message)}) << c.what << " " << c.button;
        if (std::string(c.message) != "Ошибка записи!") {
            EXPECT_EQ(sim.Image(FullProfile()), before) << c.what;
        }
    }
}

TEST_F(FilePageTest, AWriteErrorIsToldForTheDirectoryAndEachSlotThatDoesNotReadBack) {
    OpenDemo();
    for (int slot : {0, 2}) {
        model->voice.slotLength[slot] = 100;
        const auto area = model->voice.Area(slot);
        for (int i = 0; i < 100; ++i) area[i] = static_cast<std::uint8_t>(slot * 31 + i * 7 + 3);
    }
    sim.module.GetFaults().writeProtect = true;
    dialogs->answerYes = true;  // nothing was read: the write asks first
    Click("writeSound");
    // The directory, then slots 1 and 3: every one found, though a later
    // one went on being written.
    EXPECT_EQ(dialogs->TakeTexts(), QStringList(3, QStringLiteral("Ошибка записи!")));
    EXPECT_TRUE(Find<QLabel>("status")->text().startsWith(QStringLiteral("Передача не выполнена")))
        << Find<QLabel>("status")->text().toStdString();
}

TEST_F(FilePageTest, APortFailureDuringAReadIsReportedAndTheProgramGoesOn) {
    OpenDemo();
    const ConfigSettings untouched = model->settings;
    const std::vector<std::uint8_t> imageBefore = model->readImage;
    // The cable comes out about half way through the configuration.
    sim.module.GetFaults().pullAfterCalls = sim.module.GetCounters().Total() + 45000;
    Click("readData");

    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, QString::fromStdString(SystemErrorText(EIO)));
    EXPECT_FALSE(dialogs->messages[0].text.isEmpty());
    dialogs->messages.clear();
    // Nothing half read reached the settings or the image.
    EXPECT_EQ(model->settings, untouched);
    EXPECT_EQ(model->readImage, imageBefore);
    // The bar stays where the transfer stopped until the next one.
    auto* bar = Find<QProgressBar>("transferBar");
    EXPECT_TRUE(bar->isVisible());
    EXPECT_GT(bar->value(), 0);
    EXPECT_LT(bar->value(), 1120);
    EXPECT_FALSE(File().TransferRunning());

    // Still usable: close, plug the cable back in, open and read.
    Click("openPort");
    EXPECT_FALSE(model->link.IsOpen());
    sim.module.GetFaults().pullAfterCalls = 0;
    Click("openPort");
    Click("readData");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_EQ(model->settings.phones[0], "+79161234567");
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(FilePageTest, ProjectSavedAndOpenedThroughItsDialogs) {
    QTemporaryDir dir;
    frame->PageAction(int(PageId::File))->trigger();
    model->settings = SampleSettings();
    const QString path = dir.filePath("object.rom");
    dialogs->answers.push_back(path);
    Click("projectSave");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    ASSERT_EQ(dialogs->questions.size(), 1u);
    EXPECT_TRUE(dialogs->questions[0].save);
    EXPECT_EQ(dialogs->questions[0].title, QStringLiteral("Сохранить Конфигурацию в файле"));
    EXPECT_EQ(dialogs->questions[0].filter, QStringLiteral("files (*.rom)"));
    EXPECT_EQ(dialogs->questions[0].suffix, QStringLiteral("rom"));
    EXPECT_EQ(QFile(path).size(), 1120);

    model->settings.Clear();
    dialogs->saveChoice = Dialogs::SaveChoice::Discard;  // the cleared settings may go
    Find<QLineEdit>("version")->setText(QStringLiteral("x"));
    dialogs->answers.push_back(path);
    Click("projectOpen");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    ASSERT_EQ(dialogs->questions.size(), 2u);
    EXPECT_EQ(dialogs->questions[1].title, QStringLiteral("Загрузить конфигурацию из файла"));
    EXPECT_FALSE(dialogs->questions[1].save);
    EXPECT_EQ(model->settings.phones[0], "+79161234567");
    EXPECT_EQ(model->settings.objectName, "Sklad 7");
    // Only a read from the module changes the version shown.
    EXPECT_EQ(Find<QLineEdit>("version")->text(), QStringLiteral("x"));
    // Both worked: the next file dialog starts in their folder.
    EXPECT_EQ(dialogs->usedFiles, QStringList({path, path}));
}

TEST_F(FilePageTest, AShortProjectLoadsAsFarAsItGoesAndSaysSo) {
    QTemporaryDir dir;
    frame->PageAction(int(PageId::File))->trigger();
    std::vector<std::uint8_t> image(1120, 0);
    ConfigSettings settings = SampleSettings();
    std::vector<std::uint8_t> none(1120, 0);
    PackImage(FullProfile(), settings, none, image, Date{2026, 1, 1});
    const QString path = dir.filePath("short.rom");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(image.data()), 100);
    file.close();
    dialogs->answers.push_back(path);
    Click("projectOpen");
    EXPECT_EQ(dialogs->TakeTexts(), QStringList{"Файл короче проекта: загружено 100 байт из 1120"});
    // The file's 100 bytes, then zeros.
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 100, model->readImage.begin()));
    EXPECT_TRUE(std::all_of(model->readImage.begin() + 100, model->readImage.end(), [](auto b) { return b == 0; }));
}

TEST_F(FilePageTest, ProjectFileErrorsNameTheFileAndTheReason) {
    QTemporaryDir dir;
    frame->PageAction(int(PageId::File))->trigger();
    const ConfigSettings before = model->settings;

    const QString missing = dir.filePath("missing.rom");
    dialogs->answers.push_back(missing);
    Click("projectOpen");
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(dialogs->messages[0].text.startsWith(QStringLiteral("Не удалось открыть файл")));
    EXPECT_TRUE(dialogs->messages[0].text.contains(missing));
    EXPECT_TRUE(dialogs->messages[0].text.contains(QString::fromUtf8(std::strerror(ENOENT))));
    dialogs->messages.clear();

    const QString nowhere = dir.filePath("no-such-folder/object.rom");
    dialogs->answers.push_back(nowhere);
    Click("projectSave");
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages[0].text.startsWith(QStringLiteral("Не удалось создать файл")));
    EXPECT_TRUE(dialogs->messages[0].text.contains(nowhere));
    EXPECT_EQ(model->settings, before);

    // A cancelled dialog does nothing.
    dialogs->messages.clear();
    Click("projectOpen");
    Click("projectSave");
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(model->settings, before);
    // No folder of a failed open or save is where the next dialog starts.
    EXPECT_TRUE(dialogs->usedFiles.isEmpty()) << dialogs->usedFiles.join('|').toStdString();
}

}  // namespace
}  // namespace korvex::test

namespace korvex::test {
namespace {

// The newcomer's path on the program's own demo module: choose it, open the
// port, read. What is written stays in the module for the next run.
TEST_F(FilePageTest, DemoModuleFillsThePagesAndKeepsWhatIsWritten) {
    UseRealDemo();
    OpenDemo();
    Click("readData");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_EQ(Find<QLineEdit>("version")->text(), QStringLiteral("1.04"));
    EXPECT_EQ(model->settings, Decoded(model->readImage));
    EXPECT_NE(model->settings, ConfigSettings());
    frame->PageAction(int(PageId::Phones))->trigger();
    EXPECT_EQ(Find<QLineEdit>("number1")->text().toStdString(), model->settings.phones[0].substr(1));

    frame->PageAction(int(PageId::File))->trigger();
    Click("readSound");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_GT(model->voice.slotLength[0], 0);
    EXPECT_TRUE(Find<QLabel>("memoryText")->text().startsWith(QStringLiteral("Свободно ")));

    model->settings.phones[5] = "+70001112233";
    Click("writeData");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    ASSERT_TRUE(frame->close());

    // The next run of the program.
    frame.reset();
    model = std::make_unique<AppModel>(FullProfile());
    auto recording = std::make_unique<RecordingDialogs>();
    dialogs = recording.get();
    model->dialogs = std::move(recording);
    frame = std::make_unique<CMainFrame>(*model);
    frame->show();
    OpenDemo();
    Click("readData");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_EQ(model->settings.phones[5], "+70001112233");
}

}  // namespace
}  // namespace korvex::test

namespace korvex::test {
namespace {

// Read sound hands the model a buffer of its own; the waveform draws that
// one, not the buffer it replaced.
TEST_F(FilePageTest, TheWaveformDrawsTheSoundTheReadHandedOver) {
    OpenDemo();
    Click("readSound");
    ASSERT_TRUE(dialogs->TakeTexts().isEmpty());
    auto* waveform = Find<WaveformView>("waveform");
    // Every sample at full scale: a green line the whole height of each column.
    std::fill(model->wav.bytes.begin() + WaveformView::kHeaderSize, model->wav.bytes.end(), 0);
    waveform->SetSoundLength(static_cast<std::uint32_t>(model->wav.bytes.size()));
    const QRect area = waveform->contentsRect();
    EXPECT_EQ(CountPixels(RenderWidget(*waveform), qRgb(0, 255, 0)), area.width() * (area.height() - 1));
}

}  // namespace
}  // namespace korvex::test
