// The compact program against the demo module: read, edit on every page,
// write with verification, voice slots, project files saved by the full
// program, and the messages the compact rules give.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>

#include "voice/voice_store.h"
#include "voice/voice_wav_maker.h"
#include "model/clock.h"
#include "model/image_codec.h"
#include "model/project_file.h"
#include "ui/screenshot.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

using korvex::test::MakeWav;
using korvex::test::Sawtooth;
using korvex::test::WavFields;

ConfigSettings Decoded(const Profile& profile, const std::vector<std::uint8_t>& image) {
    ConfigSettings settings;
    UnpackImage(profile, image, settings);
    return settings;
}

QString Q(const std::string& cp1251) { return QString::fromLatin1(cp1251.c_str()); }

class TamloCycle : public TamloWindow {
protected:
    // Page `id` shown after a read from the demo module, rendered whole.
    void ShowPageAfterRead(PageId id) {
        OpenDemo();
        Click("readData");
        ASSERT_TRUE(dialogs->messages.empty());
        ChoosePage(id);
        QCoreApplication::processEvents();  // layouts settle as on screen
        EXPECT_EQ(RenderWidget(*dialog).size(), dialog->size());
    }
};

TEST_F(TamloCycle, PagesLeaveOutWhatTheCompactModuleLacks) {
    ChoosePage(PageId::File);
    auto* ports = Find<QComboBox>("portList");
    ASSERT_GE(ports->count(), 5);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ports->itemText(i), QStringLiteral("COM%1").arg(i + 1));
    EXPECT_EQ(ports->itemText(ports->count() - 1), QStringLiteral("Demo module"));
    auto* slotList = Find<QComboBox>("slotList");
    EXPECT_EQ(Entries(slotList), (QStringList{"# 1", "# 2", "# 3"}));
    EXPECT_FALSE(Find<QLineEdit>("version")->isVisible());

    ChoosePage(PageId::Messages);
    for (int line = 1; line <= 8; ++line) {
        const QByteArray text = "text" + QByteArray::number(line), box = "cyrillic" + QByteArray::number(line);
        EXPECT_TRUE(Find<QLineEdit>(text.constData())->isVisible()) << line;
        EXPECT_EQ(Find<QCheckBox>(box.constData())->text(), QStringLiteral("No")) << line;
    }
    Find<QCheckBox>("cyrillic7")->click();
    EXPECT_EQ(Find<QCheckBox>("cyrillic7")->text(), QStringLiteral("Yes"));
    EXPECT_TRUE(model->settings.cyrillic[6]);

    ChoosePage(PageId::Properties);
    EXPECT_EQ(dialog->findChild<QWidget*>("objectName"), nullptr);
    EXPECT_EQ(dialog->findChild<QWidget*>("comSpeed"), nullptr);
}

TEST_F(TamloCycle, FailuresAreToldInTheCompactWords) {
    ChoosePage(PageId::File);
    EXPECT_EQ(Button("openPort")->text(), QStringLiteral("Open port"));
    // COM1 is held elsewhere (the test opener refuses every real port).
    Click("openPort");
    EXPECT_EQ(dialogs->TakeTexts(), QStringList{"COM port is not opened"});
    EXPECT_FALSE(model->link.IsOpen());

    OpenDemo();
    EXPECT_EQ(Button("openPort")->text(), QStringLiteral("Close port"));
    sim.module.GetFaults().absent = true;
    // The writes before any read are meant: they ask first and go ahead.
    dialogs->answerYes = true;
    for (const char* button : {"readData", "writeData", "readSound", "writeSound"}) {
        Click(button);
        EXPECT_EQ(dialogs->TakeTexts(), QStringList{"Device is not connected!"}) << button;
    }
    EXPECT_EQ(dialogs->confirms.size(), 2);
}

// The steps a transfer showed on the status line. The estimate stands alone
// only until the first step starts, which a sampler may or may not catch.
QStringList Steps(QStringList seen) {
    seen.removeIf([](const QString& line) { return !line.contains(QStringLiteral("...")); });
    return seen;
}

TEST_F(TamloCycle, ReadEditOnEveryPageWriteAndVerify) {
    OpenDemo();
    // The estimate beside each step.
    EXPECT_EQ(Steps(StatusesDuring([this] { Click("readData"); })),
              (QStringList{"Reading configuration... (about 1 s)"}));
    ASSERT_TRUE(dialogs->messages.empty()) << dialogs->TakeTexts().join('\n').toStdString();
    const ConfigSettings demo = Decoded(CompactProfile(), ModuleImage());
    EXPECT_EQ(model->settings, demo);

    // The pages show what was read.
    ChoosePage(PageId::Phones);
    EXPECT_EQ(Find<QLineEdit>("number1")->text(), Q(demo.phones[0].substr(1)));
    EXPECT_TRUE(Find<QCheckBox>("international1")->isChecked());
    ChoosePage(PageId::Messages);
    EXPECT_EQ(Find<QLineEdit>("text1")->text(), Q(demo.texts[0]));
    ChoosePage(PageId::Properties);
    EXPECT_EQ(Find<QLineEdit>("password")->text(), Q(demo.pgmPassword));

    // One edit on each page; every page button takes the focus from the
    // field typed in, which stores it.
    Type("password", "4321");
    ChoosePage(PageId::Messages);
    Type("text8", "Door open");
    ChoosePage(PageId::Phones);
    Type("number3", "5551234");
    Find<QCheckBox>("international3")->click();
    ChoosePage(PageId::Zones);
    // Zone 1, action 3: text #8 to phone #3.
    QTest::mouseClick(Find<QRadioButton>("action3"), Qt::LeftButton);
    Pick("smsPhone", 3);
    Pick("smsText", 8);
    EXPECT_EQ(Find<QLineEdit>("smsTextShown")->text(), QStringLiteral("Door open"));
    EXPECT_EQ(Find<QLineEdit>("smsPhoneShown")->text(), QStringLiteral("+5551234"));
    // The test SMS group has no calls but keeps its alarm condition.
    QTest::mouseClick(Find<QRadioButton>("group4"), Qt::LeftButton);
    EXPECT_FALSE(Find<QGroupBox>("autodialBox")->isVisible());
    EXPECT_TRUE(Find<QGroupBox>("zoneTypeBox")->isVisible());
    Pick("alarm", 1);

    ChoosePage(PageId::File);
    const std::uint64_t pagesBefore = sim.module.WriteCycles();
    EXPECT_EQ(Steps(StatusesDuring([this] { Click("writeData"); })),
              (QStringList{"Write configuration... (about 2 s)", "Checking configuration... (about 2 s)"}));
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->TakeTexts().join('\n').toStdString();
    // Twelve whole pages from address 0: the marker goes with the settings.
    EXPECT_EQ(sim.module.WriteCycles() - pagesBefore, 12u);
    EXPECT_EQ(ModuleImage(), model->writeImage);
    const std::span<const std::uint8_t> marker = CompactProfile().marker;
    EXPECT_TRUE(std::equal(marker.begin(), marker.end(), ModuleImage().begin()));
    EXPECT_EQ(ModuleImage()[108] & 0x80, 0x80);

    ConfigSettings expected = demo;
    expected.pgmPassword = "4321";
    expected.texts[7] = "Door open";
    expected.phones[2] = "+5551234";
    expected.zoneActions[0] = {0x11, 0x12, 0x83, 0, 0x11, 0, 0, 0};
    expected.zoneType[3] = true;
    EXPECT_EQ(Decoded(CompactProfile(), ModuleImage()), expected);

    // Read back into the pages (the settings cleared here are given up).
    model->settings.Clear();
    dialogs->saveChoice = Dialogs::SaveChoice::Discard;
    Click("readData");
    EXPECT_TRUE(dialogs->messages.empty());
    ChoosePage(PageId::Messages);
    EXPECT_EQ(Find<QLineEdit>("text8")->text(), QStringLiteral("Door open"));
    ChoosePage(PageId::Zones);
    QTest::mouseClick(Find<QRadioButton>("group4"), Qt::LeftButton);
    EXPECT_EQ(Find<QComboBox>("alarm")->currentText(), QStringLiteral("Break"));
}

TEST_F(TamloCycle, TheMarkerIsWrittenAndVerifiedWithTheSettings) {
    OpenDemo();
    Click("readData");
    // The first byte the module stores comes back changed: it is the
    // marker's first byte, so the check of the write finds it.
    sim.module.GetFaults().flipWriteAt = 1;
    Click("writeData");
    EXPECT_EQ(dialogs->TakeTexts(), QStringList{"Write error!"});
    EXPECT_EQ(sim.module.Memory()[0], CompactProfile().marker[0] ^ 1);
}

TEST_F(TamloCycle, SoundIsLoadedWrittenAndReadBack) {
    QTemporaryDir dir;
    const QString wavPath = dir.filePath("voice.wav");
    WriteBytes(wavPath, MakeWav(Sawtooth(1000)));

    OpenDemo();
    Click("readSound");
    ASSERT_TRUE(dialogs->messages.empty()) << dialogs->TakeTexts().join('\n').toStdString();
    const std::uint16_t demoLength = model->voice.slotLength[0];
    ASSERT_GT(demoLength, 0);
    EXPECT_EQ(demoLength % 64, 0);

    // 1000 samples make 125 bytes, held in two whole pages of slot 3.
    Pick("slotList", 2);
    dialogs->answers.push_back(wavPath);
    Click("soundOpen");
    ASSERT_TRUE(dialogs->messages.empty()) << dialogs->TakeTexts().join('\n').toStdString();
    ASSERT_EQ(dialogs->questions.size(), 1u);
    EXPECT_EQ(dialogs->questions[0].title, QStringLiteral("Load sound file"));
    EXPECT_EQ(model->voice.slotLength[2], 128);
    const std::uint32_t used = demoLength + 128u;
    EXPECT_EQ(Find<QLabel>("memoryText")->text(), QStringLiteral("%1 KByte are free").arg((32000 - used) / 1024));
    const std::vector<std::uint8_t> slot3(model->voice.Area(2).begin(), model->voice.Area(2).begin() + 128);

    const QStringList writing = Steps(StatusesDuring([this] { Click("writeSound"); }));
    ASSERT_TRUE(dialogs->messages.empty()) << dialogs->TakeTexts().join('\n').toStdString();
    EXPECT_TRUE(writing.first().startsWith(QStringLiteral("Audio message record № 1... (about "))) << writing.first().toStdString();
    EXPECT_TRUE(writing.last().startsWith(QStringLiteral("Checking audio message № 3... (about "))) << writing.last().toStdString();
    const auto& memory = sim.module.Memory();
    // Directory at 768: slot 3 starts after slot 1 (slot 2 is empty); 47 filler bytes follow.
    const std::uint16_t start3 = 832 + demoLength;
    const std::uint8_t entry3[4] = {128, 1, std::uint8_t(start3 & 0xFF), std::uint8_t(start3 >> 8)};
    EXPECT_TRUE(std::equal(std::begin(entry3), std::end(entry3), memory.begin() + 768 + 8));
    EXPECT_TRUE(std::all_of(memory.begin() + 784, memory.begin() + 831, [](std::uint8_t b) { return b == 85; }));
    EXPECT_TRUE(std::equal(slot3.begin(), slot3.end(), memory.begin() + start3));

    // A fresh store reads the same slots back.
    model->voice = VoiceStore(CompactProfile());
    const QStringList reading = Steps(StatusesDuring([this] { Click("readSound"); }));
    EXPECT_EQ(reading, (QStringList{"Reading audio message № 1... (about 1 s)", "Reading audio message № 2... (about 1 s)",
                                    "Reading audio message № 3... (about 1 s)"}));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(model->voice.slotLength, (std::vector<std::uint16_t>{demoLength, 0, 128}));
    EXPECT_TRUE(std::equal(slot3.begin(), slot3.end(), model->voice.Area(2).begin()));
    EXPECT_EQ(Find<QLabel>("memoryText")->text(), QStringLiteral("%1 KByte are free").arg((32000 - used) / 1024));

    // Choosing slot 3 decodes it: eight samples a byte at 22050 Hz.
    Pick("slotList", 2);
    EXPECT_EQ(model->wav.SoundLength, 8u * 128);
    EXPECT_EQ(model->wav.bytes[24] | (model->wav.bytes[25] << 8), 22050);
}

struct Refusal {
    const char* what;
    std::size_t samples;
    WavFields fields;
    const char* message;
    bool emptiesBuffer;
};

// Other rates, 16 bits and stereo are converted now; what libsndfile cannot
// read either keeps the intake's word. A file too long is offered for
// cutting (declined here: nothing changes, nothing is told).
const Refusal kRefusals[] = {
    {"no fmt", 800, {.fmtTag = false}, "Unknown format!", true},
    // 44 + 256056 = 256100 bytes: no room in the WAV buffer.
    {"too long", 256056, {}, "", false},
};

TEST_F(TamloCycle, RefusedSoundFilesAreNamedInTheCompactWords) {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.wav");
    WriteBytes(good, MakeWav(Sawtooth(800)));
    ChoosePage(PageId::File);
    for (const Refusal& r : kRefusals) {
        SCOPED_TRACE(r.what);
        dialogs->answers.push_back(good);
        Click("soundOpen");
        ASSERT_TRUE(dialogs->messages.empty());
        const std::vector<std::uint16_t> lengths = model->voice.slotLength;
        const std::uint32_t loadedLength = model->wav.SoundLength;

        const QString path = dir.filePath(QString::fromLatin1(r.what) + ".wav");
        WriteBytes(path, MakeWav(Sawtooth(r.samples), r.fields));
        dialogs->answers.push_back(path);
        Click("soundOpen");
        if (*r.message) EXPECT_EQ(dialogs->TakeTexts(), QStringList{QString::fromUtf8(r.message)});
        else EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
        EXPECT_EQ(model->voice.slotLength, lengths);
        if (r.emptiesBuffer) {
            EXPECT_EQ(model->wav.SoundLength, 0u);
            EXPECT_TRUE(std::all_of(model->wav.bytes.begin(), model->wav.bytes.end(),
                                    [](std::uint8_t b) { return b == WavBuffer::kFill; }));
        } else {
            EXPECT_EQ(model->wav.SoundLength, loadedLength);
        }
    }
}

TEST_F(TamloCycle, OtherFormatsAndSpokenTextAreConvertedTo22050) {
    QTemporaryDir dir;
    ChoosePage(PageId::File);
    const WavFields formats[] = {{.rate = 16000}, {.bits = 16}, {.channels = 2}};
    for (const WavFields& fields : formats) {
        model->voice.slotLength[0] = 0;
        const QString path = dir.filePath("other.wav");
        WriteBytes(path, MakeWav(Sawtooth(4000), fields));
        dialogs->answers.push_back(path);
        Click("soundOpen");
        EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
        EXPECT_GE(model->voice.slotLength[0], 64);
        EXPECT_EQ(model->voice.slotLength[0] % 64, 0) << "whole pages";
        EXPECT_EQ(model->voice.slotRate[0], 22050);
    }
    EXPECT_TRUE(dialogs->rateQuestions.empty()) << "one rate: nothing to ask";
    EXPECT_EQ(Find<QPushButton>("speakText")->text(), QStringLiteral("Speak text..."));
    dialogs->speech.push_back({QStringLiteral("Alarm in zone two"), QStringLiteral("en"), 22050});
    Click("speakText");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    ASSERT_EQ(dialogs->speechLabels.size(), 1u);
    EXPECT_EQ(dialogs->speechLabels[0].languageCodes, (QStringList{"en", "ru"}));
    EXPECT_EQ(dialogs->speechLabels[0].rates, (QList<int>{22050}));
    EXPECT_GT(model->voice.slotLength[0], 22050 / 8 / 4);
}

TEST_F(TamloCycle, LoadsAProjectSavedByTheFullProgram) {
    // What korvex saves: the 1120-byte full image, zone names from byte 640.
    ConfigSettings full;
    full.phones[0] = "+79160000001";
    full.texts[0] = "Vhod otkryt";
    full.pgmPassword = "777";
    full.zoneActions[1][0] = 0x71;  // zone 2: text #7 to phone 1 (the full page never offers it)
    full.zoneNames[0] = {"Holl", 2};
    full.zoneNames[5] = {"ABCDEFGHIJ", 0};
    full.zoneNames[6] = {"Garazh", 4};
    QTemporaryDir dir;
    const QString path = dir.filePath("korvex.rom");
    std::vector<std::uint8_t> fullRead(1120, 0), fullWrite(1120, 0);
    ASSERT_TRUE(SaveProject(path.toStdString(), FullProfile(), full, fullRead, fullWrite, Date{2026, 3, 1}).Ok());

    ChoosePage(PageId::File);
    dialogs->answers.push_back(path);
    Click("projectOpen");
    // Loaded, and the user is told it was more than a compact project.
    EXPECT_EQ(dialogs->TakeTexts(), QStringList{"The file is longer than a project: loaded 768 bytes of 1120"});
    EXPECT_EQ(dialogs->questions.back().title, QStringLiteral("Load configuration from the file"));

    // The first 768 bytes, read under the compact layout.
    const ConfigSettings expected =
        Decoded(CompactProfile(), std::vector<std::uint8_t>(fullWrite.begin(), fullWrite.begin() + 768));
    EXPECT_EQ(model->settings, expected);
    EXPECT_EQ(model->settings.phones[0], "+79160000001");
    EXPECT_EQ(model->settings.texts[0], "Vhod otkryt");
    // Texts 7 and 8 are the zone-name bytes.
    ASSERT_FALSE(expected.texts[6].empty());
    ASSERT_FALSE(expected.texts[7].empty());

    ChoosePage(PageId::Messages);
    EXPECT_EQ(Find<QLineEdit>("text7")->text(), Q(expected.texts[6]));
    EXPECT_EQ(Find<QLineEdit>("text8")->text(), Q(expected.texts[7]));
    ChoosePage(PageId::Zones);
    QTest::mouseClick(Find<QRadioButton>("group2"), Qt::LeftButton);
    auto* smsText = Find<QComboBox>("smsText");
    QStringList entries;
    for (int i = 0; i < smsText->count(); ++i) entries << smsText->itemText(i);
    EXPECT_EQ(entries, (QStringList{"No", "#1", "#2", "#3", "#4", "#5", "#6", "#7", "#8"}));
    EXPECT_EQ(smsText->currentText(), QStringLiteral("#7"));
    EXPECT_EQ(Find<QLineEdit>("smsTextShown")->text(), Q(expected.texts[6]));
}

TEST_F(TamloCycle, ProjectSavedHereIsTheCompactImage) {
    model->settings.texts[7] = "Eighth";
    model->settings.zoneType[3] = true;
    QTemporaryDir dir;
    const QString path = dir.filePath("tamlo.rom");
    ChoosePage(PageId::File);
    dialogs->answers.push_back(path);
    Click("projectSave");
    ASSERT_TRUE(dialogs->messages.empty()) << dialogs->TakeTexts().join('\n').toStdString();
    EXPECT_EQ(dialogs->questions.back().title, QStringLiteral("Save configuration in file"));
    std::vector<std::uint8_t> saved(800);
    std::ifstream in(path.toStdString(), std::ios::binary);
    in.read(reinterpret_cast<char*>(saved.data()), static_cast<std::streamsize>(saved.size()));
    saved.resize(static_cast<std::size_t>(in.gcount()));
    ASSERT_EQ(saved.size(), 768u);
    EXPECT_EQ(saved, model->writeImage);
    EXPECT_EQ(Decoded(CompactProfile(), saved).texts[7], "Eighth");
    EXPECT_EQ(saved[108] & 0x80, 0x80);
}

// The Zones page after a read from the demo module. With
// KORVEX_SCREENSHOT_DIR set (scripts/screenshots.sh) it is kept there as
// tamlo-zones.png.
TEST_F(TamloCycle, ZonesPageScreenshot) {
    ASSERT_NO_FATAL_FAILURE(ShowPageAfterRead(PageId::Zones));
    // The page fits the frame: its lists are inside the dialog.
    for (const char* name : {"smsPhone", "smsText", "autodialPhone", "sound", "alarm"}) {
        QWidget* list = Find<QWidget>(name);
        const QRect area(list->mapTo(dialog.get(), QPoint(0, 0)), list->size());
        EXPECT_TRUE(dialog->rect().contains(area)) << name;
    }
    EXPECT_TRUE(KeepScreenshot(*dialog, "tamlo-zones.png"));
}

// The Messages page after Read data, its fields filling the dialog.
TEST_F(TamloCycle, MessagesPageScreenshot) {
    ASSERT_NO_FATAL_FAILURE(ShowPageAfterRead(PageId::Messages));
    EXPECT_TRUE(KeepScreenshot(*dialog, "tamlo-messages.png"));
}

}  // namespace
}  // namespace korvex::test
