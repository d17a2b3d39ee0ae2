#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// An option that takes a value: "--NAME VALUE", "--NAME=VALUE", "-L VALUE" or "-LVALUE". Either
// name may be missing (empty, or 0 for the letter). The value's text goes to *value, the last one
// given winning; an option not given leaves *value as it was, which is how defaults are set. With
// no value but a flag, the option takes no value ("--NAME", "-L") and sets *flag; with both, a
// flag set tells that the value was given.
struct TOption {
    std::string_view name;
    char letter = 0;
    std::string* value = nullptr;
    bool* flag = nullptr;
    // Where given, the option and its value as the user typed them ("--bars=abc", "--bars abc"),
    // for a message about the value.
    std::string* typed = nullptr;
};

// What a command line holds besides the options' values.
struct TCommandLine {
    std::vector<std::string> operands;
    // given[i]: whether options[i] was given, so that a value left at its default can be told
    // from the same value typed.
    std::vector<bool> given;
    bool help = false;
    bool version = false;
};

// Reads args (without the program's name) against options. Operands may stand anywhere, "--"
// ends the options, and "-" alone is an operand. A long name may be shortened to any beginning
// that is no other option's. --help and --version are always known and take no value. False on a
// usage error, with a one-line reason that names the word as the user typed it.
bool ReadCommandLine(std::span<const std::string_view> args, std::span<const TOption> options,
                     TCommandLine& line, std::string& reason);

// value := text as an integer from least to highest, written as the window's edit boxes take it;
// else false, with "OPTION TEXT: not an integer from LEAST to HIGHEST" in reason, or, where the
// option was typed otherwise (typed not empty: "--bars=abc"), with that in place of OPTION TEXT.
bool ReadIntegerOption(std::string_view option, const std::string& text, int least, int highest,
                       int& value, std::string& reason, const std::string& typed = {});

} // namespace quillon
