#include <string>
#include <string_view>
#include <vector>

#include "tools/RunOptions.h"
#include "tools/ScanCommand.h"
#include "tools/ToolOutput.h"

int main(int argc, char** argv) {
    quillon::HoldStandardStreams();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string out;
    std::string err;
    const int status = quillon::RunScanCommand(args, quillon::EnvironmentDecimalSeparator(),
                                               quillon::ProcessorCount(), out, err);
    return quillon::FinishTool(quillon::ScanProgram, status, out, err);
}
