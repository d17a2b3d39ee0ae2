#include <clocale>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tools/WavesCommand.h"

namespace {

// The numeric locale's decimal separator as the environment sets it; a point when none is set or
// when the separator is not a single byte, which a bar file could not hold in one character.
char EnvironmentDecimalSeparator() {
    if (std::setlocale(LC_NUMERIC, "") == nullptr) {
        return '.';
    }
    const char* separator = std::localeconv()->decimal_point;
    if (separator == nullptr || separator[0] == '\0' || separator[1] != '\0') {
        return '.';
    }
    return separator[0];
}

void Write(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string out;
    std::string err;
    const int status = quillon::RunWavesCommand(args, EnvironmentDecimalSeparator(), out, err);
    Write(stdout, out);
    Write(stderr, err);
    return std::fflush(stdout) == 0 ? status : quillon::ExitFailure;
}
