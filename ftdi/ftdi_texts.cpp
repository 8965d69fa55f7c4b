#include "ftdi/ftdi_texts.h"

namespace korvex {
namespace {

constexpr FtdiTexts kRussian{
    "нет библиотеки для прямой работы с FTDI (Linux: libftdi1, Windows: драйвер D2XX от FTDI); выберите COM "
    "порт кабеля",
    "Такого кабеля FTDI нет: проверьте, что он вставлен, или выберите его COM порт",
    "Нет доступа к кабелю FTDI: установите правило udev из пакета (группа dialout) и войдите в систему заново, "
    "или выберите COM порт кабеля",
    "Кабель FTDI занят: закройте программы, которые держат его COM порт, или выберите COM порт",
    "Выберите COM порт кабеля: через него обмен идёт как прежде",
};
constexpr FtdiTexts kEnglish{
    "no library to drive FTDI chips directly (Linux: libftdi1, Windows: FTDI's D2XX driver); choose the "
    "cable's COM port",
    "No such FTDI cable: check that it is plugged in, or choose its COM port",
    "No access to the FTDI cable: install the package's udev rule (the dialout group) and log in again, "
    "or choose the cable's COM port",
    "The FTDI cable is busy: close the programs that hold its COM port, or choose the COM port",
    "Choose the cable's COM port: transfers work through it as before",
};

}  // namespace

const FtdiTexts& FtdiTextsFor(const Profile& profile) { return profile.kind == ModuleKind::Full ? kRussian : kEnglish; }

}  // namespace korvex
