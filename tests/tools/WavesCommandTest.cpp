#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "bars/LoadNewestBars.h"
#include "bars/ReadBarLines.h"
#include "bars/RunWaves.h"
#include "tests/bars/BarTestFiles.h"
#include "tools/WavesCommand.h"

namespace quillon {
namespace {

struct TCommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

TCommandResult RunCommand(const std::vector<std::string>& args, char separator = '.') {
    const std::vector<std::string_view> views(args.begin(), args.end());
    TCommandResult result;
    result.status = RunWavesCommand(views, separator, result.out, result.err);
    return result;
}

std::vector<std::string> Split(const std::string& text, char delimiter) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, delimiter)) {
        parts.push_back(part);
    }
    if (!text.empty() && text.back() == delimiter) {
        parts.emplace_back();
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
    void SetUp() override {
        TBarFileSettings settings;
        path_ = dir_.Write("EURUSD60.csv", BarFileText(settings));
    }

    TTempDir dir_;
    std::string path_;
};

// Each row against the reader and the waves worked out here: every number must read back to the
// very Double, and the mark must follow the ticks of the window's run.
TEST_F(WavesCommandTest, OneRowPerBarWithNumbersThatReadBackExactly) {
    const TCommandResult result = RunCommand({path_, "--bars", "400", "--w1=30", "--w2", "12"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    std::vector<std::string> rows = Split(result.out, '\n');
    ASSERT_EQ(rows.size(), 402u) << "header, 400 rows, and the end of the last row";
    EXPECT_EQ(rows[0],
              "row,line,open,high,low,close,close_wave1,close_wave2,open_wave1,open_wave2,mark");
    EXPECT_EQ(rows[401], "");

    TBarLines lines;
    const int lineCount =
        ReadBarLines(path_, TReadSettings{'.', std::chrono::milliseconds(0)}, lines);
    TBarTable bars;
    LoadNewestBars(400, lineCount, lines, '.', bars, [](int, double) {});
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
        for (int column = 0; column < 8; ++column) {
            EXPECT_EQ(ReadBack(fields[static_cast<std::size_t>(column + 2)]), expected[column])
                << "row " << row << " column " << column + 2;
        }
        std::string mark;
        if (row >= 3 && TickAt(waves, row) == TTick::Up) {
            mark = "up";
        } else if (row >= 3 && TickAt(waves, row) == TTick::Down) {
            mark = "down";
        }
        EXPECT_EQ(fields[10], mark) << "row " << row;
        marks += !mark.empty();
    }
    EXPECT_GT(marks, 0);
}

TEST_F(WavesCommandTest, DefaultsAre500BarsAndLags39And16) {
    const TCommandResult defaults = RunCommand({path_});
    const TCommandResult spelled = RunCommand({path_, "--bars", "500", "--w1", "39", "--w2", "16"});
    ASSERT_EQ(defaults.status, 0);
    EXPECT_EQ(defaults.out, spelled.out);
    EXPECT_EQ(Split(defaults.out, '\n').size(), 502u);
}

TEST_F(WavesCommandTest, UsageErrorsAndHelp) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {path_, path_}, {path_, "--bars"}, {path_, "--lag", "3"}, {"--w1", "3"}}) {
        const TCommandResult result = RunCommand(args);
        EXPECT_EQ(result.status, 2) << args.size() << " arguments";
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, WavesUsage());
    }
    const TCommandResult help = RunCommand({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, WavesUsage());
    EXPECT_NE(help.out.find("Usage: quillon-waves FILE [--bars N] [--w1 L] [--w2 L]"),
              std::string::npos);
    EXPECT_EQ(help.err, "");
}

TEST_F(WavesCommandTest, FailuresGiveTheMessageAndStatus1) {
    const std::string shortFile = dir_.Write("short.csv", "20240102,0001,1.1,1.2,1.0,1.1,5\r\n");
    struct TCase {
        std::vector<std::string> args;
        const char* message;
    };
    const TCase cases[] = {
        {{path_, "--bars", "x"}, "'x' is not a valid integer value"},
        {{path_, "--w2", "1.5"}, "'1.5' is not a valid integer value"},
        {{dir_.Path("missing.csv")}, "Range check error"},
        {{shortFile}, "Range check error"},
        {{path_, "--bars", "1001"}, "Range check error"},
        {{path_, "--w1", "0"}, "Range check error"},
        {{path_, "--bars", "100", "--w2", "101"}, "Invalid floating point operation"},
    };
    for (const TCase& c : cases) {
        const TCommandResult result = RunCommand(c.args);
        EXPECT_EQ(result.status, 1) << c.message;
        EXPECT_EQ(result.out, "") << c.message;
        EXPECT_EQ(result.err, std::string(c.message) + "\n");
    }
    const TCommandResult comma = RunCommand({path_}, ',');
    EXPECT_EQ(comma.status, 1);
    EXPECT_NE(comma.err.find("is not a valid floating point value"), std::string::npos);
}

} // namespace
} // namespace quillon
