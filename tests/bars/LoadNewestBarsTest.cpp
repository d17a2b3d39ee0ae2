#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "bars/GetField.h"
#include "bars/LoadNewestBars.h"
#include "bars/ReadBarLines.h"
#include "base/Errors.h"
#include "tests/bars/BarTestFiles.h"

namespace quillon {
namespace {

// A generated bar file read into the line store, and one load from it that records every
// (line index, close) handed over.
struct TLoad {
    std::vector<TGeneratedBar> bars;
    TBarLines lines;
    int lineCount = 0;
    TBarTable table;
    std::vector<std::pair<int, double>> closes;

    explicit TLoad(int barCount, const std::string& extra = "") {
        TBarFileSettings settings;
        settings.barCount = barCount;
        bars = GenerateBars(settings);
        TTempDir dir;
        lineCount = ReadBarLines(dir.Write("bars.csv", BarFileText(bars) + extra), NoPause, lines);
        table.BarOpen[0] = -1.0;
    }

    void Run(int N, char separator = '.') {
        LoadNewestBars(N, lineCount, lines, separator, table,
                       [this](int line, double close) { closes.emplace_back(line, close); });
    }

    void ExpectRow(int row, int line) const {
        const TGeneratedBar& bar = bars[static_cast<std::size_t>(line)];
        EXPECT_EQ(table.BarOpen[row], PointsToPrice(bar.open)) << "row " << row;
        EXPECT_EQ(table.BarHigh[row], PointsToPrice(bar.high)) << "row " << row;
        EXPECT_EQ(table.BarLow[row], PointsToPrice(bar.low)) << "row " << row;
        EXPECT_EQ(table.BarClose[row], PointsToPrice(bar.close)) << "row " << row;
    }
};

TEST(LoadNewestBarsTest, TheNewestBarsOfA1900LineFile) {
    TLoad load(1900);
    ASSERT_EQ(load.lineCount, 1900);
    load.Run(500);
    ASSERT_EQ(load.closes.size(), 500u);
    for (int row = 0; row < 500; ++row) {
        load.ExpectRow(row, 1400 + row);
        EXPECT_EQ(load.closes[static_cast<std::size_t>(row)],
                  std::make_pair(1400 + row, load.table.BarClose[row]));
    }
    EXPECT_EQ(load.table.BarOpen[500], 0.0) << "rows from N on are left alone";
}

TEST(LoadNewestBarsTest, FewerLinesThanNFailBeforeAnyRowIsWritten) {
    for (int N : {301, 500}) {
        TLoad load(300);
        EXPECT_THROW(load.Run(N), RangeCheckError);
        EXPECT_TRUE(load.closes.empty());
        EXPECT_EQ(load.table.BarOpen[0], -1.0);
    }
    TLoad empty(0);
    EXPECT_NO_THROW(empty.Run(0));
}

TEST(LoadNewestBarsTest, ABarCountAbove1000LoadsTheFirst1000Rows) {
    TLoad load(1500);
    EXPECT_THROW(load.Run(1200), RangeCheckError);
    ASSERT_EQ(load.closes.size(), 1001u) << "the 1,001st close is handed over first";
    EXPECT_EQ(load.closes.back().first, 300 + 1000);
    load.ExpectRow(0, 300);
    load.ExpectRow(999, 1299);
}

TEST(LoadNewestBarsTest, ATrailingEmptyLineIsTheNewestBarAndFails) {
    TLoad load(600, "\r\n");
    ASSERT_EQ(load.lineCount, 601);
    EXPECT_THROW(load.Run(500), PriceConversionError);
    EXPECT_EQ(load.closes.size(), 499u);
    load.ExpectRow(498, 599);
}

TEST(LoadNewestBarsTest, WithACommaSeparatorAFileOfPointsFailsAtItsFirstBar) {
    TLoad load(100);
    try {
        load.Run(50, ',');
        ADD_FAILURE() << "a file with points loaded with a comma separator";
    } catch (const PriceConversionError& error) {
        const std::string close(GetField(BarLineText(load.bars[50]), ',', 6));
        EXPECT_EQ(error.what(), "'" + close + "' is not a valid floating point value");
    }
    EXPECT_TRUE(load.closes.empty());
    EXPECT_EQ(load.table.BarOpen[0], -1.0);
}

// A newest line after a good one: six fields are enough, fields past them are not read, a close
// cut short by a writer loads as it stands; anything else stops the load at that line.
TEST(LoadNewestBarsTest, TheNewestLineLoadsOrStopsTheLoadThere) {
    const struct {
        std::string line;
        const char* message; // empty when the line loads
        double close;        // the close handed over, 0 for none
    } cases[] = {
        {"20240102,0100,2.5,2.75,2.25,2.625", "", 2.625},
        {"20240102,0100,2.5,2.75,2.25,2.625,87,anything at all,,", "", 2.625},
        {"20240102,0100,1.08001,1.08040,1.07987,1.080", "", 1.08},
        {"20240102,0100,1.1,1.2,1.0", "'' is not a valid floating point value", 0},
        {"", "'' is not a valid floating point value", 0},
        {"20240102,0100,1.1,high,1.0,1.1,5", "'high' is not a valid floating point value", 1.1},
        {"20240102,0100,1.1,1.2,1e999,1.1,5", "Floating point overflow", 1.1},
        {"20240102,0100,1.1,1.2,1.0,1.1," + std::string(226, '7'), "Range check error", 0},
    };
    for (const auto& c : cases) {
        TLoad load(0);
        load.lines[0] = "20240102,0000,1.5,1.75,1.25,1.625,5";
        load.lines[1] = c.line;
        load.lineCount = 2;
        std::string message;
        try {
            load.Run(2);
            EXPECT_EQ(load.table.BarClose[1], c.close) << c.line;
        } catch (const QuillonError& error) {
            message = error.what();
        }
        EXPECT_EQ(message, c.message) << c.line;
        EXPECT_EQ(load.closes.size(), c.close != 0 ? 2u : 1u) << c.line;
        EXPECT_EQ(load.table.BarClose[0], 1.625) << c.line << ": the row before stays";
    }
}

} // namespace
} // namespace quillon
