#pragma once
#include <array>
#include <string_view>

#include "link/profile.h"

namespace korvex {

// Words of the demo module's pace: the Korvex menu "Вид", Tamlo's File page.
struct DemoPaceTexts {
    std::string_view title;   // the submenu (Korvex) or the label before the list (Tamlo)
    std::string_view prompt;  // the status prompt (Korvex) or tooltip (Tamlo)
    // In kDemoPaceModels' order (app/demo_pace.h).
    std::array<std::string_view, 4> choices;
    bool onFilePage;  // Tamlo has no menu: the File page offers it
};

inline constexpr DemoPaceTexts kDemoPaceRussian{
    .title = "С&корость демо-модуля",
    .prompt =
        "Демо-модуль отвечает мгновенно или так же медленно, как настоящий кабель; "
        "выбирается, пока порт закрыт",
    .choices = {"&Мгновенно", "Как кабель: &встроенный порт", "Как кабель: &FTDI/CP210x", "Как кабель: &CH340/PL2303"},
    .onFilePage = false,
};

inline constexpr DemoPaceTexts kDemoPaceEnglish{
    .title = "Demo module speed",
    .prompt = "The demo module answers at once, or as slowly as a real cable does; chosen while the port is closed",
    .choices = {"Instant", "Cable: built-in port", "Cable: FTDI/CP210x", "Cable: CH340/PL2303"},
    .onFilePage = true,
};

inline const DemoPaceTexts& DemoPaceTextsFor(ModuleKind kind) {
    return kind == ModuleKind::Full ? kDemoPaceRussian : kDemoPaceEnglish;
}

}  // namespace korvex
