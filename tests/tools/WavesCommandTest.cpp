#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <ranges>
#include <string>
#include <vector>

#include "bars/Run.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

const std::string WavesProgram = QUILLON_WAVES_PROGRAM;

// The pieces of text between delimiters, an empty last one after a trailing delimiter.
std::vector<std::string> Split(const std::string& text, char delimiter) {
    std::vector<std::string> parts;
    for (const auto part : std::views::split(text, delimiter)) {
        parts.emplace_back(part.begin(), part.end());
    }
    return parts;
}

// Each row against the bars, waves and ticks worked out here: every number must read back to the
// very Double. Without --bars the program loads 500 bars; the lags come in both spellings.
TEST(WavesCommandTest, OneRowPerBarWithNumbersThatReadBackExactly) {
    TTempDir dir;
    const std::string path = dir.Write("EURUSD60.csv", BarFileText(TBarFileSettings{}));
    const TProcessResult result =
        RunProcess(WavesProgram, {path, "--w1=30", "--w2", "12"}, NoLocale);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> rows = Split(result.out, '\n');
    ASSERT_EQ(rows.size(), 502u) << "header, 500 rows, and the end of the last row";
    EXPECT_EQ(rows[0],
              "row,line,open,high,low,close,close_wave1,close_wave2,open_wave1,open_wave2,mark");

    TRun run;
    WorkOutRun(path, TRunNumbers{500, 30, 12}, {}, run);
    const TBarTable& bars = run.Bars();
    const TRunWaves& waves = run.Waves();
    const TSeries* columns[] = {&bars.BarOpen,      &bars.BarHigh,       &bars.BarLow,
                                &bars.BarClose,     &waves.CloseWave1(), &waves.CloseWave2(),
                                &waves.OpenWave1(), &waves.OpenWave2()};
    int marks = 0;
    for (int row = 0; row < 500; ++row) {
        const std::vector<std::string> fields = Split(rows[static_cast<std::size_t>(row + 1)], ',');
        ASSERT_EQ(fields.size(), 11u) << "row " << row;
        EXPECT_EQ(fields[0] + ',' + fields[1],
                  std::to_string(row) + ',' + std::to_string(1400 + row));
        for (std::size_t column = 0; column < 8; ++column) {
            const std::string& text = fields[column + 2];
            double value = 0.0;
            const auto read = std::from_chars(text.data(), text.data() + text.size(), value);
            EXPECT_TRUE(read.ec == std::errc() && read.ptr == text.data() + text.size() &&
                        value == (*columns[column])[row])
                << "row " << row << ": " << text;
        }
        const TTick tick = row < FirstTickRow ? TTick::None : TickAt(waves, row);
        EXPECT_EQ(fields[10], (std::array{"", "up", "down"}[static_cast<int>(tick)])) << row;
        marks += tick != TTick::None;
    }
    EXPECT_GT(marks, 0);
}

// A usage error names what is wrong on the first line of standard error, with the usage after it,
// and exits with 2; --help writes the usage to standard output. Values out of range are rows of the
// bad-input table.
TEST(WavesCommandTest, UsageErrorsAndHelp) {
    const TProcessResult help = RunProcess(WavesProgram, {"--help"}, NoLocale);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: quillon-waves FILE [--bars N] [--w1 L] [--w2 L]\n"));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--w1", "3"}, "no FILE given"},
        {{"a.csv", "b.csv"}, "one FILE only"},
        {{"a.csv", "--bars"}, "--bars: a value is missing"},
        {{"--lag", "3", "a.csv"}, "--lag: not an option"},
    };
    for (const auto& [args, reason] : cases) {
        const TProcessResult result = RunProcess(WavesProgram, args, NoLocale);
        EXPECT_EQ(result.exitCode, 2) << reason;
        EXPECT_EQ(result.out, "") << reason;
        EXPECT_EQ(result.err, "quillon-waves: " + reason + "\n" + help.out);
    }
}

} // namespace
} // namespace quillon
