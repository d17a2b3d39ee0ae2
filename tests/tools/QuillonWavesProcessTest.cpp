#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/bars/BarTestFiles.h"
#include "tests/tools/RunProcess.h"
#include "tools/WavesCommand.h"

namespace quillon {
namespace {

const std::string WavesProgram = QUILLON_WAVES_PROGRAM;
const std::string MakeBarsProgram = QUILLON_MAKE_BARS_PROGRAM;

// The program's failures, messages and exit status 1 are judged in the hardening tests.
TEST(QuillonWavesProcessTest, StreamsAndExitStatus) {
    TTempDir dir;
    const std::string path = dir.Write("bars.csv", BarFileText(TBarFileSettings{}));
    const TProcessResult result = RunProcess(WavesProgram, {path, "--bars", "50"}, NoLocale);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    std::string expected;
    std::string ignored;
    const std::vector<std::string_view> args{path, "--bars", "50"};
    RunWavesCommand(args, '.', expected, ignored);
    EXPECT_EQ(result.out, expected);

    const TProcessResult usage = RunProcess(WavesProgram, {"--bars", "5"}, NoLocale);
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_EQ(usage.err, WavesUsage());
    const TProcessResult help = RunProcess(WavesProgram, {"--help"}, NoLocale);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, WavesUsage());
}

// With a locale made on the spot whose decimal separator is a comma, a file of points fails and
// one of whole prices loads.
TEST(QuillonWavesProcessTest, PricesAreReadWithTheLocalesDecimalSeparator) {
    TTempDir dir;
    const std::string source = dir.Write("comma-source", "LC_NUMERIC\ndecimal_point \",\"\n"
                                                         "thousands_sep \"\"\ngrouping -1\n"
                                                         "END LC_NUMERIC\n");
    const std::string command =
        "localedef -c -i '" + source + "' '" + dir.Path("comma") + "' > /dev/null 2>&1";
    [[maybe_unused]] const int status = std::system(command.c_str());
    if (!std::filesystem::exists(dir.Path("comma/LC_NUMERIC"))) {
        GTEST_SKIP() << "localedef cannot make a locale here";
    }
    const std::string points = dir.Write("points.csv", BarFileText(TBarFileSettings{}));
    const std::string wholes = dir.Write("wholes.csv", "20240102,0001,15,17,12,16,87\r\n"
                                                       "20240102,0100,16,18,13,15,87\r\n");
    const std::vector<std::string> comma{"LOCPATH=" + dir.Path(""), "LC_ALL=comma", "LANG="};

    const TProcessResult failing = RunProcess(WavesProgram, {points}, comma);
    EXPECT_EQ(failing.exitCode, 1);
    EXPECT_TRUE(failing.err.ends_with("is not a valid floating point value\n")) << failing.err;
    const TProcessResult loaded =
        RunProcess(WavesProgram, {wholes, "--bars", "2", "--w1", "1", "--w2", "1"}, comma);
    EXPECT_EQ(loaded.exitCode, 0) << loaded.err;
    EXPECT_NE(loaded.out.find("\n1,1,16,18,13,15,"), std::string::npos) << loaded.out;
}

TEST(QuillonMakeBarsProcessTest, WritesTheGeneratorsFile) {
    const TProcessResult result =
        RunProcess(MakeBarsProgram, {"--bars", "2000", "--seed", "7", "--period", "15"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    TBarFileSettings settings;
    settings.barCount = 2000;
    settings.seed = 7;
    settings.periodMinutes = 15;
    EXPECT_EQ(result.out, BarFileText(settings));
    EXPECT_TRUE(result.out.starts_with("20240102,0001,")) << "midnight is stamped 00:01";
    EXPECT_EQ(RunProcess(MakeBarsProgram, {"--bars"}).exitCode, 2);
}

} // namespace
} // namespace quillon
