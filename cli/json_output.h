#pragma once
#include <nlohmann/json.hpp>

#include <string>

namespace korvex::cli {

// What --json prints: one object, keys in the order they were made, two
// spaces an indent, a newline after it.
using JsonObject = nlohmann::ordered_json;

// Prints it on stdout. Texts come from files and the module: bytes that are
// no UTF-8 are replaced, not fatal, so a damaged module still gets its answer.
void PrintJson(const JsonObject& object);

// A text, or null where it is empty (no driver told, no program version).
JsonObject TextOrNull(const std::string& text);

}  // namespace korvex::cli
