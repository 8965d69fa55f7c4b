#pragma once
#include <nlohmann/json.hpp>

#include "cli/cli_texts.h"
#include "link/profile.h"
#include "model/config_settings.h"

namespace korvex::cli {

using Json = nlohmann::ordered_json;  // what show prints: keys in the settings' order
// What build reads: keys found in logarithmic time, so an object with very
// many keys is refused quickly instead of taking quadratic time to parse.
using JsonInput = nlohmann::json;

// The settings as one JSON object keyed by the ConfigSettings field names.
// Numbers as the mark and digits, texts in UTF-8, the compact module
// without the full-only fields.
Json SettingsToJson(const Profile& profile, const ConfigSettings& settings);

// Lays the keys of a JSON object over `settings`. Every value is checked
// against its field; the first that does not fit ends the command (exit
// status 4) with a message that names its key. `settings` is then left
// partly changed, so callers apply to a copy they can drop.
void ApplyJson(const Profile& profile, const CliTexts& texts, const JsonInput& object, ConfigSettings& settings);

// One line per value: "key = value", the key as a path (phones[0],
// zoneNames[3].name) and the value as JSON.
std::string SettingsAsLines(const Json& object);

// A text with its control characters escaped as those lines escape them in
// a JSON string (\t, \n, \r, \\, \u001b ...; DEL and U+0080..U+009F
// too, which a terminal may take as commands), so that one value stays one
// field of a line and never reaches a terminal as a command. Quotes are
// left as they are. Never fails.
std::string EscapeControls(std::string_view text);

}  // namespace korvex::cli
