#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bars/Run.h"
#include "tools/ChartOptions.h"
#include "tools/ChartPicture.h"
#include "tools/ToolCommand.h"

namespace {

QtMessageHandler toolkitHandler = nullptr;

// The offscreen platform reports what it cannot do ("This plugin does not support ..."), and
// the toolkit notes what it works around; neither concerns the picture. Its failures still go out.
void KeepToolkitFailures(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        toolkitHandler(type, context, text);
    }
}

void Write(std::FILE* stream, std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

void WriteToStandardOutput(const QByteArray& bytes) {
    Write(stdout, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (std::fflush(stdout) != 0) {
        throw std::runtime_error(std::string("cannot write to standard output: ") +
                                 std::strerror(errno));
    }
}

// The chart of the run, painted where no window is ever shown: on the offscreen platform unless
// the user names another, and with none of the user's arguments handed to the toolkit.
void MakePicture(const char* programPath, const quillon::TChartOptions& options,
                 const quillon::TRun& run) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    toolkitHandler = qInstallMessageHandler(KeepToolkitFailures);
    int toolkitArgc = 1;
    char* toolkitArgv[] = {const_cast<char*>(programPath), nullptr};
    const QApplication application(toolkitArgc, toolkitArgv);
    const QByteArray picture =
        ChartPicture(run, QSize(options.width, options.height), options.format);
    if (options.output == quillon::StandardOutputName) {
        WriteToStandardOutput(picture);
    } else {
        quillon::WriteFileInPlace(options.output, picture);
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string out;
    std::string err;
    quillon::TChartOptions options;
    int status = quillon::ReadChartOptions(args, options, out, err).value_or(-1);
    if (status < 0) {
        quillon::TRun run;
        status = quillon::ReportFailures(
            [&] {
                WorkOutRun(options.run.path, options.run.numbers,
                           quillon::ToolReadSettings(quillon::EnvironmentDecimalSeparator()), run);
                MakePicture(argv[0], options, run);
            },
            err);
    }
    Write(stdout, out);
    Write(stderr, err);
    return std::fflush(stdout) == 0 ? status : quillon::ExitFailure;
}
