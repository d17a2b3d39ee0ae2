#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bars/LoadNewestBars.h"
#include "bars/ReadBarLines.h"
#include "bars/RunWaves.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/tools/RunProcess.h"
#include "tools/WavesCommand.h"

namespace quillon {
namespace {

const std::string WavesProgram = QUILLON_WAVES_PROGRAM;
const std::string MakeBarsProgram = QUILLON_MAKE_BARS_PROGRAM;

struct TCommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

TCommandResult RunCommand(const std::vector<std::string>& args) {
    const std::vector<std::string_view> views(args.begin(), args.end());
    TCommandResult result;
    result.status = RunWavesCommand(views, '.', result.out, result.err);
    return result;
}

// The pieces of text between delimiters, an empty last one after a trailing delimiter.
std::vector<std::string> Split(const std::string& text, char delimiter) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == delimiter) {
            parts.emplace_back();
        } else {
            parts.back().push_back(c);
        }
    }
    return parts;
}

double ReadBack(const std::string& text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << text;
    return value;
}

class WavesCommandTest : public ::testing::Test {
protected:
    TTempDir dir_;
    const std::string path_ = dir_.Write("EURUSD60.csv", BarFileText(TBarFileSettings{}));
};

// Each row against the reader and the waves worked out here: every number must read back to the
// very Double, and the mark must follow the ticks of the window's run.
TEST_F(WavesCommandTest, OneRowPerBarWithNumbersThatReadBackExactly) {
    const TCommandResult result = RunCommand({path_, "--bars", "400", "--w1=30", "--w2", "12"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> rows = Split(result.out, '\n');
    ASSERT_EQ(rows.size(), 402u) << "header, 400 rows, and the end of the last row";
    EXPECT_EQ(rows[0],
              "row,line,open,high,low,close,close_wave1,close_wave2,open_wave1,open_wave2,mark");
    EXPECT_EQ(rows[401], "");

    TBarLines lines;
    TBarTable bars;
    LoadNewestBars(400, ReadBarLines(path_, NoPause, lines), lines, '.', bars, [](int, double) {});
    TRunWaves waves;
    WorkOutWaves(bars, 400, 30, 12, waves);
    int marks = 0;
    for (int row = 0; row < 400; ++row) {
        const std::vector<std::string> fields = Split(rows[static_cast<std::size_t>(row + 1)], ',');
        ASSERT_EQ(fields.size(), 11u) << "row " << row;
        EXPECT_EQ(fields[0], std::to_string(row));
        EXPECT_EQ(fields[1], std::to_string(1500 + row));
        const double expected[] = {bars.BarOpen[row],       bars.BarHigh[row],
                                   bars.BarLow[row],        bars.BarClose[row],
                                   waves.CloseWave1()[row], waves.CloseWave2()[row],
                                   waves.OpenWave1()[row],  waves.OpenWave2()[row]};
        for (std::size_t column = 0; column < 8; ++column) {
            EXPECT_EQ(ReadBack(fields[column + 2]), expected[column])
                << "row " << row << " column " << column + 2;
        }
        const TTick tick = row >= 3 ? TickAt(waves, row) : TTick::None;
        EXPECT_EQ(fields[10], tick == TTick::Up     ? "up"
                              : tick == TTick::Down ? "down"
                                                    : "")
            << "row " << row;
        marks += tick != TTick::None;
    }
    EXPECT_GT(marks, 0);
}

// A usage error names what is wrong on one line before the usage; values are checked before the
// file is read.
TEST_F(WavesCommandTest, UsageErrorsAndHelp) {
    const struct {
        std::vector<std::string> args;
        const char* reason;
    } cases[] = {
        {{}, "no FILE given"},
        {{"--w1", "3"}, "no FILE given"},
        {{path_, path_}, "one FILE only"},
        {{path_, "--bars"}, "--bars: a value is missing"},
        {{path_, "--lag", "3"}, "--lag: not an option"},
        {{path_, "--bars", "x"}, "--bars x: not an integer from 1 to 1000"},
        {{path_, "--bars=0"}, "--bars 0: not an integer from 1 to 1000"},
        {{path_, "--bars", "1001"}, "--bars 1001: not an integer from 1 to 1000"},
        {{path_, "--w1", "0"}, "--w1 0: not an integer from 1 to 101"},
        {{path_, "--w2", "1.5"}, "--w2 1.5: not an integer from 1 to 101"},
        {{path_, "--bars", "100", "--w2", "101"}, "--w2 101: not an integer from 1 to 100"},
        {{path_, "--bars", "20"}, "--w1 39: not an integer from 1 to 20"},
    };
    for (const auto& c : cases) {
        const TCommandResult result = RunCommand(c.args);
        EXPECT_EQ(result.status, 2) << c.reason;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "quillon-waves: " + std::string(c.reason) + "\n" + WavesUsage());
    }
    const TCommandResult help = RunCommand({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, WavesUsage());
    EXPECT_TRUE(help.out.starts_with("Usage: quillon-waves FILE [--bars N] [--w1 L] [--w2 L]\n"));
    EXPECT_EQ(help.err, "");
}

// The program itself writes the CSV to standard output; without options it loads 500 bars with
// the lags 39 and 16. Its failures, messages and exit status 1 are judged in the hardening tests.
TEST_F(WavesCommandTest, TheProgramWritesTheCommandsOutputWithItsDefaults) {
    const TProcessResult result = RunProcess(WavesProgram, {path_}, NoLocale);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const TCommandResult spelled = RunCommand({path_, "--bars", "500", "--w1", "39", "--w2", "16"});
    EXPECT_EQ(result.out, spelled.out);
    EXPECT_EQ(Split(result.out, '\n').size(), 502u);
}

// With a locale made on the spot whose decimal separator is a comma, a file of points fails; with
// none (the other tests) it loads.
TEST_F(WavesCommandTest, TheProgramReadsPricesWithTheLocalesDecimalSeparator) {
    const std::string source = dir_.Write("comma-source", "LC_NUMERIC\ndecimal_point \",\"\n"
                                                          "thousands_sep \"\"\ngrouping -1\n"
                                                          "END LC_NUMERIC\n");
    const std::string command =
        "localedef -c -i '" + source + "' '" + dir_.Path("comma") + "' > /dev/null 2>&1";
    [[maybe_unused]] const int status = std::system(command.c_str());
    if (!std::filesystem::exists(dir_.Path("comma/LC_NUMERIC"))) {
        GTEST_SKIP() << "localedef cannot make a locale here";
    }
    const std::vector<std::string> comma{"LOCPATH=" + dir_.Path(""), "LC_ALL=comma", "LANG="};
    const TProcessResult failing = RunProcess(WavesProgram, {path_}, comma);
    EXPECT_EQ(failing.exitCode, 1);
    EXPECT_TRUE(failing.err.ends_with("is not a valid floating point value\n")) << failing.err;
}

// More failures, with the files of the bad-input table, are judged in the hardening tests.
TEST_F(WavesCommandTest, FailuresGiveTheMessageAndStatus1) {
    const std::string shortFile = dir_.Write("short.csv", "20240102,0001,1.1,1.2,1.0,1.1,5\r\n");
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{shortFile}, "Range check error"},
        {{"--", "--w1"}, "Range check error"}, // a missing file named --w1
    };
    for (const auto& c : cases) {
        const TCommandResult result = RunCommand(c.args);
        EXPECT_EQ(result.status, 1) << c.message;
        EXPECT_EQ(result.out, "") << c.message;
        EXPECT_EQ(result.err, std::string(c.message) + "\n");
    }
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
