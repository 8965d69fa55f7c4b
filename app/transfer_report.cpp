#include "app/transfer_report.h"

namespace korvex {

namespace {

constexpr TransferTexts kRussian{
    .readConfig = "Данные считаны",
    .writeConfig = "Данные записаны и проверены",
    .readSound = "Звук считан",
    .writeSound = "Звук записан и проверен",
    .clearLog = "Журнал очищен",
    .emptyLog = "Журнал пуст",
    .logPrefix = "Журнал: ",
    .recordOne = " запись",
    .recordFew = " записи",
    .recordMany = " записей",
    .failed = "Передача не выполнена",
    .stopped = "Передача остановлена",
    .nothingChanged = "Изменений нет, записывать нечего",
    .duration = &kRussianDuration,
    .portFailure = "Ошибка COM порта",
    .partialWrite = "Модуль может теперь хранить часть новых данных; повторите запись.",
    .memoryNotKept =
        "Память демо-модуля не удаётся сохранить в его файл: модуль хранит изменения только до "
        "закрытия порта.",
    .confirmEmptyConfig = "В модуль будет записана пустая конфигурация. Продолжить?",
    .confirmEmptySound = "В модуль будет записан пустой звук: голосовые сообщения модуля будут стёрты. Продолжить?",
    .confirmClearLog = "Журнал событий модуля будет стёрт. Продолжить?",
    .confirmWriteMarker =
        "Метка модуля повреждена: по адресу 0 нет ни метки Korvex, ни метки Tamlo. Записать в "
        "модуль метку Korvex? Байты 0–15 модуля будут заменены.",
    .stop = "Стоп",
    .stopTip = "Остановить обмен с модулем (Esc)",
    .askStopToClose = "Идёт обмен с модулем. Остановить его и закрыть программу?",
    .stopAndClose = "Остановить и закрыть",
    .keepWaiting = "Подождать",
};

constexpr TransferTexts kEnglish{
    .readConfig = "Configuration read",
    .writeConfig = "Configuration written and verified",
    .readSound = "Sound read",
    .writeSound = "Sound written and verified",
    .clearLog = "Log cleared",
    .emptyLog = "The log is empty",
    .logPrefix = "Log: ",
    .recordOne = " record",
    .recordFew = " records",
    .recordMany = " records",
    .failed = "Transfer not completed",
    .stopped = "Transfer stopped",
    .nothingChanged = "Nothing changed, nothing to write",
    .duration = &kEnglishDuration,
    .portFailure = "COM port error",
    .partialWrite = "The module may now hold part of the new data; repeat the write.",
    .memoryNotKept =
        "The demo module's memory cannot be stored in its file: the module keeps the changes only "
        "until the port is closed.",
    .confirmEmptyConfig = "An empty configuration will be written to the module. Continue?",
    .confirmEmptySound = "Empty sound will be written to the module: its voice messages will be erased. Continue?",
    .confirmClearLog = "The module's event log will be erased. Continue?",
    .confirmWriteMarker =
        "The module's marker is damaged: address 0 holds neither the marker of Tamlo nor that of "
        "Korvex. Write the marker of Tamlo into the module? Bytes 0 to 63 of the module will be "
        "replaced.",
    .stop = "Stop",
    .stopTip = "Stop the transfer with the module (Esc)",
    .askStopToClose = "A transfer with the module is running. Stop it and close the program?",
    .stopAndClose = "Stop and close",
    .keepWaiting = "Keep waiting",
};

}  // namespace

const TransferTexts& TransferTextsFor(const Profile& profile) {
    return profile.kind == ModuleKind::Full ? kRussian : kEnglish;
}

std::string ElapsedText(const Profile& profile, std::chrono::milliseconds elapsed) {
    return SecondsText(static_cast<double>(elapsed.count()) / 1000.0, *TransferTextsFor(profile).duration);
}

std::string EstimateText(const Profile& profile, double seconds) {
    return AboutText(seconds, *TransferTextsFor(profile).duration);
}

std::string RecordCount(const Profile& profile, int count) {
    const TransferTexts& texts = TransferTextsFor(profile);
    const std::string number = std::to_string(count);
    const int lastTwo = count % 100;
    const int last = count % 10;
    if (lastTwo >= 11 && lastTwo <= 14) return number + std::string(texts.recordMany);
    if (last == 1) return number + std::string(texts.recordOne);
    if (last >= 2 && last <= 4) return number + std::string(texts.recordFew);
    return number + std::string(texts.recordMany);
}

std::string TransferReport(const Profile& profile, const TransferReportOf& what) {
    const TransferTexts& texts = TransferTextsFor(profile);
    std::string text;
    if (what.done && what.nothingChanged) return std::string(texts.nothingChanged);
    if (what.stopped) {
        text = texts.stopped;
    } else if (!what.done) {
        text = texts.failed;
    } else {
        switch (what.kind) {
            case TransferKind::ReadConfig: text = texts.readConfig; break;
            case TransferKind::WriteConfig: text = texts.writeConfig; break;
            case TransferKind::ReadSound: text = texts.readSound; break;
            case TransferKind::WriteSound: text = texts.writeSound; break;
            case TransferKind::ClearLog: text = texts.clearLog; break;
            case TransferKind::ReadLog:
                text = what.records == 0 ? std::string(texts.emptyLog)
                                         : std::string(texts.logPrefix) + RecordCount(profile, what.records);
                break;
        }
    }
    return text + " (" + ElapsedText(profile, what.elapsed) + ")";
}

}  // namespace korvex
