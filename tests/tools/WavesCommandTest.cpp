#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <vector>

#include "bars/RunCore.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

const std::string WavesProgram = QUILLON_WAVES_PROGRAM;

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

// Each row against the bars and waves worked out here: every number must read back to the very
// Double, and the mark must follow the close waves' step before the row. Without --bars the program
// loads 500 bars; the lags come in both spellings.
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

    TBarLines lines;
    TBarTable bars;
    TRunCore run(lines, bars);
    WorkOutRun(path, TRunNumbers{500, 30, 12}, NoPause, run);
    const TRunWaves& waves = run.Waves();
    const TSeries* columns[] = {&bars.BarOpen,      &bars.BarHigh,       &bars.BarLow,
                                &bars.BarClose,     &waves.CloseWave1(), &waves.CloseWave2(),
                                &waves.OpenWave1(), &waves.OpenWave2()};
    const TSeries& c1 = waves.CloseWave1();
    const TSeries& c2 = waves.CloseWave2();
    int marks = 0;
    for (int row = 0; row < 500; ++row) {
        const std::vector<std::string> fields = Split(rows[static_cast<std::size_t>(row + 1)], ',');
        ASSERT_EQ(fields.size(), 11u) << "row " << row;
        EXPECT_EQ(fields[0] + ',' + fields[1],
                  std::to_string(row) + ',' + std::to_string(1400 + row));
        for (std::size_t column = 0; column < 8; ++column) {
            EXPECT_EQ(ReadBack(fields[column + 2]), (*columns[column])[row])
                << "row " << row << " column " << column + 2;
        }
        const bool up = row >= 3 && c1[row - 1] > c1[row - 2] && c2[row - 1] > c2[row - 2];
        const bool down = row >= 3 && c1[row - 1] < c1[row - 2] && c2[row - 1] < c2[row - 2];
        EXPECT_EQ(fields[10], up ? "up" : down ? "down" : "") << "row " << row;
        marks += up || down;
    }
    EXPECT_GT(marks, 0);
    EXPECT_LT(marks, 497) << "some rows where the close waves disagree";
}

// A usage error names what is wrong on the first line of standard error, with the usage after it,
// and exits with 2; --help writes the usage to standard output. Values out of range are rows of the
// bad-input table.
TEST(WavesCommandTest, UsageErrorsAndHelp) {
    const TProcessResult help = RunProcess(WavesProgram, {"--help"}, NoLocale);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: quillon-waves FILE [--bars N] [--w1 L] [--w2 L]\n"));
    EXPECT_EQ(help.err, "");
    const struct {
        std::vector<std::string> args;
        const char* reason;
    } cases[] = {
        {{"--w1", "3"}, "no FILE given"},
        {{"a.csv", "b.csv"}, "one FILE only"},
        {{"a.csv", "--bars"}, "--bars: a value is missing"},
        {{"--lag", "3", "a.csv"}, "--lag: not an option"},
    };
    for (const auto& c : cases) {
        const TProcessResult result = RunProcess(WavesProgram, c.args, NoLocale);
        EXPECT_EQ(result.exitCode, 2) << c.reason;
        EXPECT_EQ(result.out, "") << c.reason;
        EXPECT_EQ(result.err, "quillon-waves: " + std::string(c.reason) + "\n" + help.out);
    }
}

} // namespace
} // namespace quillon
