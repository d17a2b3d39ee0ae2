#include "tools/CommandLine.h"

#include <getopt.h>

#include <algorithm>

#include "base/Errors.h"
#include "base/IntegerText.h"

namespace quillon {

namespace {

// getopt_long's codes: an operand in the order given, then the options without a letter, above any
// character.
enum : int { OperandCode = 1, HelpCode = 256, VersionCode, FirstNamedCode };

int CodeOf(const TOption& option, std::size_t index) {
    return option.letter != 0 ? option.letter : FirstNamedCode + static_cast<int>(index);
}

// Whether code is that of an option that takes no value.
bool IsFlagCode(std::span<const TOption> options, int code) {
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (options[i].value == nullptr && code == CodeOf(options[i], i)) {
            return true;
        }
    }
    return false;
}

} // namespace

// The C library's getopt_long reads the words, so that the tools take options as every other
// program does (long names shortened to any unique beginning, "-oVALUE", "--" ending the options);
// the messages are ours.
bool ReadCommandLine(std::span<const std::string_view> args, std::span<const TOption> options,
                     TCommandLine& line, std::string& reason) {
    // getopt_long wants writable C strings after the program's name.
    std::vector<std::string> words{"tool"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    // "-" hands the operands over in their place, so that the word being read is always the one at
    // optind; ":" tells a missing value from an unknown option.
    std::string letters = "-:";
    std::vector<option> longOptions;
    // Reserved, so that the names stay where getopt_long is told they are.
    std::vector<std::string> names;
    names.reserve(options.size());
    for (std::size_t i = 0; i < options.size(); ++i) {
        const bool takesValue = options[i].value != nullptr;
        if (options[i].letter != 0) {
            letters += options[i].letter;
            letters += takesValue ? ":" : "";
        }
        if (!options[i].name.empty()) {
            const std::string& name = names.emplace_back(options[i].name);
            longOptions.push_back({name.c_str(), takesValue ? required_argument : no_argument,
                                   nullptr, CodeOf(options[i], i)});
        }
    }
    longOptions.push_back({"help", no_argument, nullptr, HelpCode});
    longOptions.push_back({"version", no_argument, nullptr, VersionCode});
    longOptions.push_back({nullptr, 0, nullptr, 0});

    // getopt_long keeps its place in globals; 0 makes GNU's start afresh, as reading several
    // command lines in one process (the tests do) needs.
    optind = 0;
    opterr = 0;
    const int argc = static_cast<int>(words.size());
    line.given.assign(options.size(), false);
    for (;;) {
        const int at = std::max(optind, 1); // the word getopt_long reads now
        const int code =
            getopt_long(argc, argv.data(), letters.c_str(), longOptions.data(), nullptr);
        if (code == -1) {
            break;
        }
        const std::string word = argv[std::min(at, argc - 1)];
        if (code == OperandCode) {
            line.operands.emplace_back(optarg);
        } else if (code == HelpCode || code == VersionCode) {
            (code == HelpCode ? line.help : line.version) = true;
        } else if (code == ':' || code == '?') {
            const bool valueGiven = code == '?' && (optopt == HelpCode || optopt == VersionCode ||
                                                    IsFlagCode(options, optopt));
            reason = word + (code == ':'  ? ": a value is missing"
                             : valueGiven ? ": takes no value"
                                          : ": not an option");
            return false;
        }
        for (std::size_t i = 0; i < options.size(); ++i) {
            if (code == CodeOf(options[i], i)) {
                if (options[i].value != nullptr) {
                    *options[i].value = optarg;
                }
                if (options[i].value != nullptr && options[i].typed != nullptr) {
                    // The value in the option's own word ("--bars=abc", "-b5"), or the next.
                    const std::string value = optarg;
                    const bool joined = word.size() > value.size() && word.ends_with(value);
                    *options[i].typed = joined ? word : word + " " + value;
                }
                if (options[i].flag != nullptr) {
                    *options[i].flag = true;
                }
                line.given[i] = true;
            }
        }
    }
    line.operands.insert(line.operands.end(), argv.begin() + optind, argv.end() - 1);
    return true;
}

bool ReadIntegerOption(std::string_view option, const std::string& text, int least, int highest,
                       int& value, std::string& reason, const std::string& typed) {
    try {
        const int read = TextToInteger(text);
        if (read >= least && read <= highest) {
            value = read;
            return true;
        }
    } catch (const IntegerConversionError&) {
    }
    reason = (typed.empty() ? std::string(option) + " " + text : typed) + ": not an integer from " +
             IntegerToText(least) + " to " + IntegerToText(highest);
    return false;
}

} // namespace quillon
