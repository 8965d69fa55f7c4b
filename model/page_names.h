#pragma once
#include "link/profile.h"

namespace korvex {

// The pages' names as the programs' page buttons show them (UTF-8). The
// compact program has no Communicator, Names or Log page (null).
struct PageNames {
    const char* file;
    const char* phones;
    const char* messages;
    const char* zones;
    const char* properties;
    const char* communicator;
    const char* names;
    const char* log;
    const char* sound;  // the voice slots of the File page, followed by the slot number
};

inline constexpr PageNames kPageNamesRussian{"Файл",        "Телефоны",    "Сообщения", "Зоны",  "Свойства",
                                             "Коммуникатор", "Обозначения", "Журнал",    "Звук "};
inline constexpr PageNames kPageNamesEnglish{"File", "Phones", "Messages", "Zones", "Properties",
                                             nullptr, nullptr, nullptr, "# "};

constexpr const PageNames& PageNamesFor(ModuleKind kind) {
    return kind == ModuleKind::Full ? kPageNamesRussian : kPageNamesEnglish;
}

}  // namespace korvex
