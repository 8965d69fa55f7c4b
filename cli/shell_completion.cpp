#include "cli/shell_completion.h"

#include <algorithm>
#include <string_view>

namespace korvex::cli {
namespace {

struct OptionFacts {
    std::vector<std::string> names;  // "-o", "--csv"
    std::string description;
    bool takesValue = false;
    std::vector<std::string> values;  // the words it takes; empty: any (a file, a number, a text)
    bool ports = false;
};

struct CommandFacts {
    std::string name;
    std::string description;
    std::vector<OptionFacts> options;
    bool positionals = false;  // takes files or texts besides its options
};

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find(separator, at), text.size());
        if (end > at) words.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

// The values of a parser's list ("TEXT:{plain,trellis}").
std::vector<std::string> ListedValues(const CLI::Option& option) {
    const std::string type = option.get_type_name();
    const std::size_t open = type.find(":{");
    if (open == std::string::npos || !type.ends_with("}")) return {};
    return Split(std::string_view(type).substr(open + 2, type.size() - open - 3), ',');
}

std::vector<OptionFacts> OptionsOf(const CLI::App& app, const CompletionHints& hints, bool& positionals) {
    std::vector<OptionFacts> options;
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_group().empty()) continue;
        if (!option->nonpositional()) {
            positionals = true;
            continue;
        }
        OptionFacts facts;
        for (const std::string& name : option->get_snames()) facts.names.push_back("-" + name);
        for (const std::string& name : option->get_lnames()) facts.names.push_back("--" + name);
        facts.description = option->get_description();
        facts.takesValue = option->get_expected_max() != 0;  // a flag expects none
        facts.values = ListedValues(*option);
        for (const std::string& name : facts.names) {
            if (const auto hint = hints.values.find(name); hint != hints.values.end()) facts.values = hint->second;
            facts.ports = facts.ports || name == hints.portOption;
        }
        options.push_back(facts);
    }
    return options;
}

std::vector<CommandFacts> CommandsOf(const CLI::App& app, const CompletionHints& hints) {
    std::vector<CommandFacts> commands;
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        CommandFacts facts{command->get_name(), command->get_description(), {}, false};
        facts.options = OptionsOf(*command, hints, facts.positionals);
        commands.push_back(facts);
    }
    return commands;
}

// A command's options, then the global ones it takes too (the parser passes
// them on), except those it has itself (its own --help).
std::vector<OptionFacts> WithGlobal(const std::vector<OptionFacts>& own, const std::vector<OptionFacts>& global) {
    std::vector<OptionFacts> options = own;
    for (const OptionFacts& option : global) {
        const bool shadowed = std::any_of(own.begin(), own.end(), [&](const OptionFacts& mine) {
            return std::find_first_of(mine.names.begin(), mine.names.end(), option.names.begin(), option.names.end()) !=
                   mine.names.end();
        });
        if (!shadowed) options.push_back(option);
    }
    return options;
}

std::string Words(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) (text += text.empty() ? "" : " ") += word;
    return text;
}

std::string OptionNames(const std::vector<OptionFacts>& options) {
    std::vector<std::string> names;
    for (const OptionFacts& option : options) names.insert(names.end(), option.names.begin(), option.names.end());
    return Words(names);
}

// The bash case pattern that matches "COMMAND OPTION" for one option's names;
// a global option is matched after any command (or none).
std::string BashPattern(const std::string& command, const OptionFacts& option) {
    std::string pattern;
    for (const std::string& name : option.names)
        (pattern += pattern.empty() ? "" : "|") += (command.empty() ? "*\" " : "\"" + command + " ") + name + "\"";
    return pattern;
}

void BashValueCases(std::string& script, const std::string& command, const std::vector<OptionFacts>& options) {
    for (const OptionFacts& option : options) {
        if (!option.takesValue) continue;
        script += "        " + BashPattern(command, option) + ")\n";
        if (option.ports) {
            script += "            COMPREPLY=($(compgen -W \"" + Words(option.values) +
                      " $(compgen -G '/dev/ttyUSB*'; compgen -G '/dev/ttyACM*'; compgen -G '/dev/ttyS*')\" -- "
                      "\"$cur\"))\n";
        } else if (!option.values.empty()) {
            script += "            COMPREPLY=($(compgen -W \"" + Words(option.values) + "\" -- \"$cur\"))\n";
        }
        // Otherwise nothing: the shell's file names.
        script += "            return ;;\n";
    }
}

// Text inside single quotes in a shell script.
std::string Quoted(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out;
}

// An _arguments description: its brackets and colons escaped.
std::string ZshText(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '[' || c == ']' || c == '\\') out += '\\';
        out += c;
    }
    return Quoted(out);
}

std::string ZshSpecs(const std::vector<OptionFacts>& options, std::string_view indent) {
    std::string specs;
    for (const OptionFacts& option : options) {
        std::string action;
        if (option.takesValue) {
            if (option.ports) action = ":port:_korvex_cli_ports";
            else if (!option.values.empty()) action = ":value:(" + Words(option.values) + ")";
            else action = ":value:_files";
        }
        const std::string text = "[" + ZshText(option.description) + "]" + action;
        if (option.names.size() == 1) {
            specs += std::string(indent) + "'" + option.names.front() + text + "' \\\n";
        } else {
            // Either name, each excluding the other.
            const std::string names = Words(option.names);
            specs += std::string(indent) + "'(" + names + ")'{";
            for (std::size_t i = 0; i < option.names.size(); ++i) specs += (i ? "," : "") + option.names[i];
            specs += "}'" + text + "' \\\n";
        }
    }
    return specs;
}

}  // namespace

std::string BashCompletion(const CLI::App& app, const CompletionHints& hints) {
    bool ignored = false;
    const std::vector<OptionFacts> global = OptionsOf(app, hints, ignored);
    const std::vector<CommandFacts> commands = CommandsOf(app, hints);
    std::vector<std::string> commandNames;
    for (const CommandFacts& command : commands) commandNames.push_back(command.name);
    std::vector<std::string> globalValueNames;
    for (const OptionFacts& option : global) {
        if (option.takesValue)
            globalValueNames.insert(globalValueNames.end(), option.names.begin(), option.names.end());
    }

    const std::string name = app.get_name();
    std::string script = "# bash completion for " + name + ", made by `" + name + " --completion bash`\n";
    script += "_korvex_cli() {\n";
    script += "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} command= i\n";
    // The command is the first word that is neither an option nor a global option's value.
    script += "    for ((i = 1; i < COMP_CWORD; i++)); do\n";
    script += "        case ${COMP_WORDS[i]} in\n";
    std::string globalValues;
    for (const std::string& option : globalValueNames) (globalValues += globalValues.empty() ? "" : "|") += option;
    if (!globalValues.empty()) script += "            " + globalValues + ") ((i++)) ;;\n";
    script += "            -*) ;;\n";
    script += "            *) command=${COMP_WORDS[i]}; break ;;\n";
    script += "        esac\n";
    script += "    done\n";
    script += "    case \"$command $prev\" in\n";
    for (const CommandFacts& command : commands) BashValueCases(script, command.name, command.options);
    BashValueCases(script, "", global);
    script += "    esac\n";
    script += "    local words\n";
    script += "    case $command in\n";
    script += "        \"\")\n";
    script += "            if [[ $cur == -* ]]; then words=\"" + OptionNames(global) + "\"; else words=\"" +
              Words(commandNames) + "\"; fi ;;\n";
    for (const CommandFacts& command : commands) {
        script += "        " + command.name + ")\n";
        // Its files and texts are the shell's own completion.
        if (command.positionals) script += "            [[ $cur == -* ]] || return\n";
        script += "            words=\"" + OptionNames(WithGlobal(command.options, global)) + "\" ;;\n";
    }
    script += "        *) return ;;\n";
    script += "    esac\n";
    script += "    COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n";
    script += "}\n";
    script += "complete -o default -F _korvex_cli " + name + "\n";
    return script;
}

std::string ZshCompletion(const CLI::App& app, const CompletionHints& hints) {
    bool ignored = false;
    const std::vector<OptionFacts> global = OptionsOf(app, hints, ignored);
    const std::vector<CommandFacts> commands = CommandsOf(app, hints);
    const std::string name = app.get_name();

    std::string script = "#compdef " + name + "\n";
    script += "# zsh completion for " + name + ", made by `" + name + " --completion zsh`\n";
    std::vector<std::string> portWords;
    for (const OptionFacts& option : global) {
        if (option.ports) portWords = option.values;
    }
    script += "_korvex_cli_ports() {\n";
    script += "    compadd -- " + Words(portWords) + " /dev/tty(USB|ACM|S)<->(N)\n";
    script += "}\n";
    script += "_korvex_cli() {\n";
    script += "    local curcontext=$curcontext state line\n";
    script += "    local -a commands\n";
    script += "    commands=(\n";
    for (const CommandFacts& command : commands)
        script += "        '" + command.name + ":" + Quoted(command.description) + "'\n";
    script += "    )\n";
    script += "    _arguments -C \\\n";
    script += ZshSpecs(global, "        ");
    script += "        '1:command:->command' \\\n";
    script += "        '*::argument:->argument'\n";
    script += "    case $state in\n";
    script += "        command) _describe -t commands '" + name + " command' commands ;;\n";
    script += "        argument)\n";
    script += "            case $line[1] in\n";
    for (const CommandFacts& command : commands) {
        script += "                " + command.name + ")\n";
        script += "                    _arguments \\\n";
        std::string specs = ZshSpecs(WithGlobal(command.options, global), "                        ");
        if (command.positionals) specs += "                        '*:file:_files' \\\n";
        specs.resize(specs.size() - 3);  // the last line's " \\\n"
        script += specs + " ;;\n";
    }
    script += "            esac ;;\n";
    script += "    esac\n";
    script += "}\n";
    script += "_korvex_cli \"$@\"\n";
    return script;
}

}  // namespace korvex::cli
