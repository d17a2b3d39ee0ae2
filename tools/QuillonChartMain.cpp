#include <QApplication>
#include <string>
#include <string_view>
#include <vector>

#include "bars/ReadPolicy.h"
#include "bars/Run.h"
#include "tools/ChartOptions.h"
#include "tools/ChartPicture.h"
#include "tools/FileInPlace.h"
#include "tools/ToolCommand.h"
#include "tools/ToolOutput.h"

namespace {

QtMessageHandler toolkitHandler = nullptr;

// The offscreen platform reports what it cannot do ("This plugin does not support ..."), and
// the toolkit notes what it works around; neither concerns the picture. Its failures still go out.
void KeepToolkitFailures(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        toolkitHandler(type, context, text);
    }
}

// The chart of the run, painted where no window is ever shown: on the offscreen platform unless
// the user names another, and with none of the user's arguments handed to the toolkit. The
// picture goes to its file, or to out for standard output.
void MakePicture(const char* programPath, const quillon::TChartOptions& options,
                 const quillon::TRun& run, std::string& out) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    toolkitHandler = qInstallMessageHandler(KeepToolkitFailures);
    int toolkitArgc = 1;
    char* toolkitArgv[] = {const_cast<char*>(programPath), nullptr};
    const QApplication application(toolkitArgc, toolkitArgv);
    const QSize size(options.width, options.height);
    const QByteArray picture = options.track
                                   ? TrackPicture(run, size, options.format)
                                   : ChartPicture(run, size, options.format, options.atClose);
    const std::string_view bytes(picture.constData(), static_cast<std::size_t>(picture.size()));
    if (options.output == quillon::StandardOutputName) {
        out += bytes;
    } else {
        quillon::WriteFileInPlace(options.output, bytes);
    }
}

} // namespace

int main(int argc, char** argv) {
    quillon::HoldStandardStreams();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string out;
    std::string err;
    quillon::TChartOptions options;
    int status = quillon::ReadChartOptions(args, options, out, err).value_or(-1);
    if (status < 0) {
        quillon::TRun run;
        status = quillon::ReportFailures(
            quillon::ChartProgram,
            [&] {
                WorkOutRun(options.run.path, options.run.numbers,
                           quillon::ScriptRead(quillon::EnvironmentDecimalSeparator()), run);
                MakePicture(argv[0], options, run, out);
            },
            err);
    }
    return quillon::FinishTool(quillon::ChartProgram, status, out, err);
}
