#include <string>
#include <string_view>
#include <vector>

#include "tools/RunOptions.h"
#include "tools/ToolOutput.h"
#include "tools/WavesCommand.h"

int main(int argc, char** argv) {
    quillon::HoldStandardStreams();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string out;
    std::string err;
    const int status =
        quillon::RunWavesCommand(args, quillon::EnvironmentDecimalSeparator(), out, err);
    return quillon::FinishTool(quillon::WavesProgram, status, out, err);
}
