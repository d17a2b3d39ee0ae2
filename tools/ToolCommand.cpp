#include "tools/ToolCommand.h"

#include <exception>

#include "base/ErrorText.h"
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
    } catch (const std::exception& error) {
        err += program;
        err += ": ";
        err += FailureText(error);
    }
    err += '\n';
    return ExitFailure;
}

namespace {

// Lines of text no longer than the usage's 100 columns, broken at blanks.
std::string Wrapped(std::string_view text) {
    constexpr std::size_t Width = 99;
    std::string wrapped;
    std::size_t lineStart = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t blank = text.find(' ', at);
        const std::size_t end = blank == std::string_view::npos ? text.size() : blank;
        const std::size_t lineLength = wrapped.size() - lineStart;
        if (lineLength > 0 && lineLength + 1 + (end - at) > Width) {
            wrapped += '\n';
            lineStart = wrapped.size();
        } else if (lineLength > 0) {
            wrapped += ' ';
        }
        wrapped += text.substr(at, end - at);
        at = end + 1;
    }
    return wrapped;
}

} // namespace

std::string ExitStatusUsage(std::string_view program, const TExitStatuses& statuses) {
    std::string text = "Exit status: 0 ";
    text += statuses.success;
    text += "; 1 ";
    text += statuses.failure;
    text += ", with one line on standard error that starts with \"";
    text += program;
    text += ": \" and ";
    text += statuses.reason;
    text += "; 2 on a usage error";
    if (!statuses.usageErrors.empty()) {
        text += " (";
        text += statuses.usageErrors;
        text += ')';
    }
    text += ", with a line naming it and one that points to --help.";
    if (!statuses.more.empty()) {
        text += ' ';
        text += statuses.more;
    }
    text +=
        " A reader that stops early, such as head, ends it by SIGPIPE, as it ends other programs.";
    std::string usage(1, '\n');
    usage += Wrapped(text);
    usage += '\n';
    return usage;
}

} // namespace quillon
