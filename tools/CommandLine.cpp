#include "tools/CommandLine.h"

#include "base/Errors.h"
#include "base/IntegerText.h"

namespace quillon {

namespace {

constexpr std::size_t NotFound = std::string_view::npos;

// The index of the long name that is name itself, or else of the only one that name begins.
std::size_t MatchName(std::string_view name, std::span<const std::string_view> names) {
    std::size_t found = NotFound;
    int beginnings = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty()) {
            continue;
        }
        if (names[i] == name) {
            return i;
        }
        if (names[i].starts_with(name)) {
            found = i;
            ++beginnings;
        }
    }
    return beginnings == 1 ? found : NotFound;
}

std::size_t MatchLetter(char letter, std::span<const TOption> options) {
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (options[i].letter != 0 && options[i].letter == letter) {
            return i;
        }
    }
    return NotFound;
}

} // namespace

bool ReadCommandLine(std::span<const std::string_view> args, std::span<const TOption> options,
                     TCommandLine& line, std::string& reason) {
    // The options' names, then the two every tool knows.
    std::vector<std::string_view> names;
    for (const TOption& option : options) {
        names.push_back(option.name);
    }
    const std::size_t helpIndex = names.size();
    names.insert(names.end(), {"help", "version"});

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view word = args[i];
        if (word == "--") {
            line.operands.insert(line.operands.end(), args.begin() + i + 1, args.end());
            break;
        }
        if (word.size() < 2 || word[0] != '-') {
            line.operands.emplace_back(word);
            continue;
        }
        std::size_t index = NotFound;
        std::size_t valueStart = NotFound; // where a value joined to the word starts
        if (word[1] == '-') {
            const std::size_t equals = word.find('=');
            index = MatchName(word.substr(2, equals == NotFound ? NotFound : equals - 2), names);
            valueStart = equals == NotFound ? NotFound : equals + 1;
        } else {
            index = MatchLetter(word[1], options);
            valueStart = word.size() > 2 ? 2 : NotFound;
        }
        if (index == NotFound) {
            reason = std::string(word) + ": not an option";
            return false;
        }
        if (index >= helpIndex) {
            if (valueStart != NotFound) {
                reason = std::string(word) + ": takes no value";
                return false;
            }
            (index == helpIndex ? line.help : line.version) = true;
            continue;
        }
        if (valueStart != NotFound) {
            *options[index].value = word.substr(valueStart);
        } else if (i + 1 < args.size()) {
            *options[index].value = args[++i];
        } else {
            reason = std::string(word) + ": a value is missing";
            return false;
        }
    }
    return true;
}

bool ReadIntegerOption(std::string_view option, const std::string& text, int least, int highest,
                       int& value, std::string& reason) {
    try {
        const int read = TextToInteger(text);
        if (read >= least && read <= highest) {
            value = read;
            return true;
        }
    } catch (const IntegerConversionError&) {
    }
    reason = std::string(option) + " " + text + ": not an integer from " + IntegerToText(least) +
             " to " + IntegerToText(highest);
    return false;
}

} // namespace quillon
