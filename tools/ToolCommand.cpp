#include "tools/ToolCommand.h"

#include <exception>

#include "base/Errors.h"

namespace quillon {

std::optional<int> ReadToolCommandLine(std::string_view program,
                                       std::span<const std::string_view> args,
                                       std::span<const TOption> options, const std::string& usage,
                                       TCommandLine& line, std::string& out, std::string& err) {
    std::string reason;
    if (!ReadCommandLine(args, options, line, reason)) {
        return UsageError(program, reason, err);
    }
    if (line.help || line.version) {
        out += line.help ? usage : VersionLine(program);
        return ExitSuccess;
    }
    return std::nullopt;
}

int UsageError(std::string_view program, const std::string& reason, std::string& err) {
    const std::string name(program);
    err += name + ": " + reason + "\nTry '" + name + " --help'.\n";
    return ExitUsage;
}

int ReportFailures(std::string_view program, const std::function<void()>& work, std::string& err) {
    try {
        work();
        return ExitSuccess;
    } catch (const QuillonError& error) {
        // The whole message: what() ends at a zero byte, which a quoted text may hold.
        err += std::string(program) + ": " + error.Message();
    } catch (const std::exception& error) {
        err += std::string(program) + ": " + error.what();
    }
    err += '\n';
    return ExitFailure;
}

} // namespace quillon
