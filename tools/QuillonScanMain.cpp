#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/RunOptions.h"
#include "tools/ScanCommand.h"
#include "tools/ScanFollow.h"
#include "tools/ToolOutput.h"

int main(int argc, char** argv) {
    quillon::HoldStandardStreams();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string out;
    std::string err;
    quillon::TScanRequest request;
    std::optional<int> status =
        quillon::ReadScanRequest(args, quillon::ProcessorCount(), request, out, err);
    if (!status) {
        const char separator = quillon::EnvironmentDecimalSeparator();
        // The table alone stays free of any event loop, as it was before --follow.
        status = request.follow ? quillon::FollowScan(request, separator, err)
                                : quillon::ScanOnce(request, separator, out, err);
    }
    return quillon::FinishTool(quillon::ScanProgram, *status, out, err);
}
