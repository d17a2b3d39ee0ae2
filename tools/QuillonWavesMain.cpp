#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tools/ToolCommand.h"
#include "tools/WavesCommand.h"

namespace {

void Write(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string out;
    std::string err;
    const int status =
        quillon::RunWavesCommand(args, quillon::EnvironmentDecimalSeparator(), out, err);
    Write(stdout, out);
    Write(stderr, err);
    return std::fflush(stdout) == 0 ? status : quillon::ExitFailure;
}
