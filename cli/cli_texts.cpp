#include "cli/cli_texts.h"

namespace korvex::cli {
namespace {

const CliTexts kRussian{
    .commandLine = "Ошибка в командной строке: ",
    .simulatedOnly =
        "--trace, --sim-fault, --sim-port и --sim-pace действуют только для имитатора модуля (sim:ФАЙЛ или demo)",
    .unknownFault = "Неизвестная неисправность для --sim-fault: ",
    .unknownPortModel = "Неизвестная модель порта для --sim-port: ",
    .unknownBusTiming = "--bus принимает spec или fast, а не ",
    .unknownPace = "--sim-pace принимает virtual или real, а не ",
    .noLog = "У компактного модуля нет журнала",
    .badDate = "--date: ожидается дата в виде ГГГГ-ММ-ДД: ",
    .badComPort = "--port: номер COM-порта должен быть от 1 до 255: ",
    .sameFile = "Выходной файл совпадает с входным файлом команды: ",
    .sameOutput = "Два выходных файла команды совпадают: ",
    .noCommand = "не указана команда",
    .unknownCommand = "неизвестная команда: ",
    .commandList = " (команды: ",
    .missingArgument = "не указан обязательный аргумент ",
    .missingValue = "не хватает значения для ",
    .unexpected = "лишние аргументы или неизвестные параметры: ",
    .badValue = "недопустимое значение для ",
    .badValueIs = ": ",
    .allowedValues = " (допустимы: ",
    .notTogether = " нельзя указывать вместе с ",
    .unparsed = "аргументы не удалось разобрать",
    .noPort = "Не указан порт модуля: укажите --port или задайте KORVEX_PORT. Порты: ",
    .simFilePort = "sim:ФАЙЛ",

    .portError = "Ошибка порта: ",
    .stopped = "Передача остановлена",
    .partialWrite = "Модуль может теперь хранить часть новых данных; повторите запись.",
    .cachedStatus =
        "Внимание: этот кабель сообщает состояние линий с опозданием, и обмен --bus spec может прочитать "
        "байты неверно; используйте --bus fast.",
    .moduleFileRead = "Не удалось прочитать память модуля: ",
    .moduleFileCreate = "Не удалось создать файл памяти модуля: ",
    .moduleFileSave = "Не удалось сохранить память модуля: ",
    .moduleFileSize = "Файл памяти модуля должен иметь размер 32768 байт: ",
    .atAddress = "адрес",

    .fileOpen = "Не удалось открыть файл: ",
    .fileRead = "Не удалось прочитать файл: ",
    .fileCreate = "Не удалось создать файл: ",
    .fileReplace = "Не удалось заменить файл: ",
    .noNewFileBeside = "в его папке нельзя создать новый файл, через который файл заменяется целиком",
    .fileWrite = "Не удалось записать файл: ",
    .fileSize = "Файл должен иметь размер ",
    .fileSizeBytes = " байт: ",
    .traceFile = "Не удалось записать трассировку: ",
    .fileTooLarge = "Файл слишком велик: ",

    .badJson = "Ошибка JSON: ",
    .notAnObject = "ожидается объект JSON с настройками",
    .unknownKey = "неизвестный ключ",
    .expectString = "ожидается строка",
    .expectNumber = "ожидается целое число",
    .expectBool = "ожидается true или false",
    .expectObject = "ожидается объект",
    .expectArray = "ожидается массив из ",
    .expectArrayItems = " элементов",
    .noCp1251 = "символа нет в кодовой странице 1251: ",
    .textTooLong = "слишком длинный текст, наибольшая длина — ",
    .latinOnly = "символа нет в 7-битном алфавите GSM (остальные требуют флага cyrillic): ",
    .septets = " септетов (^ { } \\ [ ~ ] | € занимают по два)",
    .sevenBitOnly = "допустимы только 7-битные символы: ",
    .fullOnlyKey = "такого поля нет у компактного модуля",
    .badNumber = "ожидается «+» или «-» и не более ",
    .badNumberDigits = " цифр (0..9, а также : ; < = > — полубайты A..E)",
    .outOfRange = "значение вне диапазона ",
    .zeroCharacter = "нулевой символ недопустим",

    .badSlot = "--slot: номер звука вне диапазона 1..",
    .slotTwice = "--slot: звук указан дважды: ",
    .slotWord = "звук",
    .readsDisagree = "Два чтения звука не совпали, ничего не записано; повторите запись. Звук ",
    .directoryWord = "каталог звуков",
    .directoryDoesNotFit = "Длины звуков в модуле не помещаются в память (стёртый модуль?); ничего не записано",
    .freshHint = "С --fresh запись начнётся с пустых звуков.",
};

const CliTexts kEnglish{
    .commandLine = "Command line error: ",
    .simulatedOnly =
        "--trace, --sim-fault, --sim-port and --sim-pace work only with a simulated module (sim:FILE or demo)",
    .unknownFault = "Unknown fault for --sim-fault: ",
    .unknownPortModel = "Unknown port model for --sim-port: ",
    .unknownBusTiming = "--bus takes spec or fast, not ",
    .unknownPace = "--sim-pace takes virtual or real, not ",
    .noLog = "The compact module has no event log",
    .badDate = "--date: a date YYYY-MM-DD is expected: ",
    .badComPort = "--port: a COM port number must be 1 to 255: ",
    .sameFile = "The output file is also an input of the command: ",
    .sameOutput = "Two outputs of the command are the same file: ",
    .noCommand = "no command given",
    .unknownCommand = "unknown command: ",
    .commandList = " (commands: ",
    .missingArgument = "a required argument is missing: ",
    .missingValue = "a value is missing for ",
    .unexpected = "unexpected arguments or unknown options: ",
    .badValue = "a bad value for ",
    .badValueIs = ": ",
    .allowedValues = " (allowed: ",
    .notTogether = " cannot be given with ",
    .unparsed = "the arguments cannot be parsed",
    .noPort = "No module port given: use --port or set KORVEX_PORT. Ports: ",
    .simFilePort = "sim:FILE",

    .portError = "Port error: ",
    .stopped = "Transfer stopped",
    .partialWrite = "The module may now hold part of the new data; repeat the write.",
    .cachedStatus = "Warning: this cable reports its lines late, and --bus spec may misread bytes; use --bus fast.",
    .moduleFileRead = "Cannot read the module memory: ",
    .moduleFileCreate = "Cannot create the module memory file: ",
    .moduleFileSave = "Cannot save the module memory: ",
    .moduleFileSize = "The module memory file must be 32768 bytes long: ",
    .atAddress = "address",

    .fileOpen = "Cannot open the file: ",
    .fileRead = "Cannot read the file: ",
    .fileCreate = "Cannot create the file: ",
    .fileReplace = "Cannot replace the file: ",
    .noNewFileBeside = "its folder takes no new file, and a file is replaced whole through a new one",
    .fileWrite = "Cannot write the file: ",
    .fileSize = "The file must be ",
    .fileSizeBytes = " bytes long: ",
    .traceFile = "Cannot write the trace: ",
    .fileTooLarge = "The file is too large: ",

    .badJson = "JSON error: ",
    .notAnObject = "a JSON object with the settings is expected",
    .unknownKey = "unknown key",
    .expectString = "a string is expected",
    .expectNumber = "an integer is expected",
    .expectBool = "true or false is expected",
    .expectObject = "an object is expected",
    .expectArray = "an array of ",
    .expectArrayItems = " items is expected",
    .noCp1251 = "a character not in code page 1251: ",
    .textTooLong = "the text is longer than the field allows, at most ",
    .latinOnly = "a character not in the GSM 7-bit alphabet (the others need the cyrillic flag): ",
    .septets = " septets (^ { } \\ [ ~ ] | € take two each)",
    .sevenBitOnly = "7-bit characters only: ",
    .fullOnlyKey = "the compact module has no such field",
    .badNumber = "\"+\" or \"-\" and at most ",
    .badNumberDigits = " digits are expected (0..9, or : ; < = > for the nibbles A..E)",
    .outOfRange = "the value is out of range ",
    .zeroCharacter = "a zero character is not allowed",

    .badSlot = "--slot: the slot is out of range 1..",
    .slotTwice = "--slot: the slot is named twice: ",
    .slotWord = "slot",
    .readsDisagree = "Two reads of a sound disagree, nothing was written; write again. Slot ",
    .directoryWord = "voice directory",
    .directoryDoesNotFit =
        "The slot lengths in the module do not fit its memory (an erased module?); nothing was written",
    .freshHint = "With --fresh the write starts from empty slots.",
};

// By module, then language.
constexpr std::string_view kWriteMarkerHints[2][2] = {
    {"Записать метку: korvex-cli identify --write-marker (байты 0–15 модуля будут заменены).",
     "To write the marker: korvex-cli identify --write-marker (bytes 0 to 15 of the module are replaced)."},
    {"Записать метку: korvex-cli --compact identify --write-marker (байты 0–63 модуля будут заменены).",
     "To write the marker: korvex-cli --compact identify --write-marker (bytes 0 to 63 of the module are replaced)."},
};

}  // namespace

const CliTexts& TextsFor(const Profile& profile) { return profile.language == Language::Russian ? kRussian : kEnglish; }

std::string_view WriteMarkerHint(const Profile& profile) {
    return kWriteMarkerHints[profile.kind == ModuleKind::Full ? 0 : 1][profile.language == Language::Russian ? 0 : 1];
}

}  // namespace korvex::cli
