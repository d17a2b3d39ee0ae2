#include "tools/ToolCommand.h"

#include <chrono>
#include <clocale>
#include <exception>

#include "base/Errors.h"

namespace quillon {

std::optional<int> ReadToolOptions(std::string_view program, std::span<const std::string_view> args,
                                   std::span<const TToolOption> extra, const std::string& usage,
                                   TRunOptions& options, std::string& out, std::string& err) {
    std::string reason;
    if (!ReadRunOptions(args, extra, options, reason)) {
        return UsageError(program, reason, usage, err);
    }
    if (options.help) {
        out += usage;
        return ExitSuccess;
    }
    return std::nullopt;
}

int UsageError(std::string_view program, const std::string& reason, const std::string& usage,
               std::string& err) {
    err += std::string(program) + ": " + reason + "\n" + usage;
    return ExitUsage;
}

int ReportFailures(const std::function<void()>& work, std::string& err) {
    try {
        work();
        return ExitSuccess;
    } catch (const QuillonError& error) {
        // The whole message: what() ends at a zero byte, which a quoted text may hold.
        err += error.Message();
    } catch (const std::exception& error) {
        err += error.what();
    }
    err += '\n';
    return ExitFailure;
}

char EnvironmentDecimalSeparator() {
    if (std::setlocale(LC_NUMERIC, "") != nullptr) {
        const char* text = std::localeconv()->decimal_point;
        if (text != nullptr && text[0] != '\0' && text[1] == '\0') {
            return text[0];
        }
    }
    return '.';
}

TReadSettings ToolReadSettings(char decimalSeparator) {
    return TReadSettings{decimalSeparator, std::chrono::milliseconds(0), ToolSettleWait};
}

} // namespace quillon
