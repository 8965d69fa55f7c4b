#include "cli/parse_errors.h"

#include <string_view>
#include <utility>
#include <vector>

namespace korvex::cli {
namespace {

// The commands given, innermost first, then the program itself: where an
// option named in a message is looked up.
std::vector<const CLI::App*> Scopes(const CLI::App& app) {
    std::vector<const CLI::App*> scopes;
    for (const CLI::App* command : app.get_subcommands()) scopes.insert(scopes.begin(), command);
    scopes.push_back(&app);
    return scopes;
}

const CLI::Option* FindOption(const CLI::App& app, const std::string& name) {
    for (const CLI::App* scope : Scopes(app)) {
        if (const CLI::Option* option = scope->get_option_no_throw(name)) return option;
    }
    return nullptr;
}

std::string Joined(const std::vector<std::string>& words, std::string_view separator) {
    std::string text;
    for (const std::string& word : words) (text += text.empty() ? "" : separator) += word;
    return text;
}

// The option a message begins with ("NAME: ..."), when it is one.
const CLI::Option* LeadingOption(const CLI::App& app, std::string_view message) {
    const std::size_t colon = message.find(": ");
    return colon == std::string_view::npos ? nullptr : FindOption(app, std::string(message.substr(0, colon)));
}

std::string CommandsOf(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::App* command : app.get_subcommands(nullptr)) names.push_back(command->get_name());
    return Joined(names, ", ");
}

std::string BadValue(const CliTexts& texts, const CLI::Option& option) {
    return std::string(texts.badValue) + option.get_name() + std::string(texts.badValueIs) +
           Joined(option.results(), " ");
}

std::string Finding(const CLI::App& app, const CLI::ParseError& error, const CliTexts& texts) {
    const std::string_view message = error.what();
    if (dynamic_cast<const CLI::RequiredError*>(&error)) {
        // The parser checks its requirements in the order the options were
        // made, so the first one missing is the one it refused.
        for (const CLI::App* scope : Scopes(app)) {
            for (const CLI::Option* option : scope->get_options()) {
                if (option->get_required() && option->count() == 0)
                    return std::string(texts.missingArgument) + option->get_name();
            }
        }
    } else if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
        const std::vector<std::string> rest = app.remaining(true);
        if (!rest.empty()) return std::string(texts.unexpected) + Joined(rest, " ");
    } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) {
        // "NAME: N required TYPE missing": an option at the end of the line
        // or before another option.
        if (const CLI::Option* option = LeadingOption(app, message); option && message.ends_with(" missing"))
            return std::string(texts.missingValue) + option->get_name();
    } else if (dynamic_cast<const CLI::ConversionError*>(&error)) {
        // "Could not convert: NAME = VALUES", "NAME: Should be true/false or a number".
        constexpr std::string_view kConvert = "Could not convert: ";
        if (message.starts_with(kConvert)) {
            const std::string_view rest = message.substr(kConvert.size());
            if (const CLI::Option* option = FindOption(app, std::string(rest.substr(0, rest.find(" = ")))))
                return BadValue(texts, *option);
        }
        if (const CLI::Option* option = LeadingOption(app, message)) return BadValue(texts, *option);
    } else if (dynamic_cast<const CLI::ValidationError*>(&error)) {
        // "NAME: VALUE not in {A,B}" from a list of allowed values.
        if (const CLI::Option* option = LeadingOption(app, message)) {
            std::string text = BadValue(texts, *option);
            const std::size_t open = message.rfind(" not in {");
            if (open != std::string_view::npos && message.ends_with("}")) {
                std::string allowed(message.substr(open + 9, message.size() - open - 10));
                for (std::size_t at = allowed.find(','); at != std::string::npos; at = allowed.find(',', at + 2))
                    allowed.replace(at, 1, ", ");
                text += std::string(texts.allowedValues) + allowed + ")";
            }
            return text;
        }
    } else if (dynamic_cast<const CLI::ExcludesError*>(&error)) {
        // "A excludes B"
        const std::size_t at = message.find(" excludes ");
        if (at != std::string_view::npos) {
            const CLI::Option* first = FindOption(app, std::string(message.substr(0, at)));
            const CLI::Option* second = FindOption(app, std::string(message.substr(at + 10)));
            if (first && second) return first->get_name() + std::string(texts.notTogether) + second->get_name();
        }
    }
    return std::string(texts.unparsed);
}

}  // namespace

std::string ParseErrorMessage(const CLI::App& app, const CLI::ParseError& error, const CliTexts& texts) {
    const bool commandMissing =
        dynamic_cast<const CLI::RequiredError*>(&error) || dynamic_cast<const CLI::ExtrasError*>(&error);
    if (app.get_subcommands().empty() && commandMissing) {
        // Nothing names a command: the parser does not say which word it did
        // not know, so the first one left over is named with the commands.
        const std::vector<std::string> rest = app.remaining();
        const std::string what = rest.empty() || rest.front().starts_with("-")
                                     ? std::string(texts.noCommand)
                                     : std::string(texts.unknownCommand) + rest.front();
        return std::string(texts.commandLine) + what + std::string(texts.commandList) + CommandsOf(app) + ")";
    }
    return std::string(texts.commandLine) + Finding(app, error, texts);
}

}  // namespace korvex::cli
