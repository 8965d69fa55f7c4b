#include "cli/json_output.h"

#include <cstdio>

#include "cli/utf8_console.h"

namespace korvex::cli {

void PrintJson(const JsonObject& object) {
    WriteText(stdout, object.dump(2, ' ', false, JsonObject::error_handler_t::replace) + "\n");
}

JsonObject TextOrNull(const std::string& text) { return text.empty() ? JsonObject() : JsonObject(text); }

}  // namespace korvex::cli
