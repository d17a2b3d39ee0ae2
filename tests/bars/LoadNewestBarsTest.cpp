#include <gtest/gtest.h>

#include <chrono>
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

// A bar file read into the line store, with the bars it was made from.
struct TStoredFile {
    std::vector<TGeneratedBar> bars;
    TBarLines lines;
    int lineCount = 0;

    explicit TStoredFile(int barCount, const std::string& extra = "") {
        TBarFileSettings settings;
        settings.barCount = barCount;
        bars = GenerateBars(settings);
        TTempDir dir;
        const std::string path = dir.Write("bars.csv", BarFileText(bars) + extra);
        lineCount = ReadBarLines(path, TReadSettings{'.', std::chrono::milliseconds(0)}, lines);
    }
};

// Loads and records every (line index, close) handed over.
struct TLoad {
    TBarTable table;
    std::vector<std::pair<int, double>> closes;

    void Run(int N, int lineCount, const TBarLines& lines, char separator = '.') {
        LoadNewestBars(N, lineCount, lines, separator, table,
                       [this](int line, double close) { closes.emplace_back(line, close); });
    }
};

void ExpectRow(const TBarTable& table, int row, const TGeneratedBar& bar) {
    EXPECT_EQ(table.BarOpen[row], PointsToPrice(bar.open)) << "row " << row;
    EXPECT_EQ(table.BarHigh[row], PointsToPrice(bar.high)) << "row " << row;
    EXPECT_EQ(table.BarLow[row], PointsToPrice(bar.low)) << "row " << row;
    EXPECT_EQ(table.BarClose[row], PointsToPrice(bar.close)) << "row " << row;
}

TEST(LoadNewestBarsTest, TheNewestBarsOfA1900LineFile) {
    const TStoredFile file(1900);
    ASSERT_EQ(file.lineCount, 1900);
    TLoad load;
    load.Run(500, file.lineCount, file.lines);
    ASSERT_EQ(load.closes.size(), 500u);
    for (int row = 0; row < 500; ++row) {
        const TGeneratedBar& bar = file.bars[static_cast<std::size_t>(1400 + row)];
        ExpectRow(load.table, row, bar);
        EXPECT_EQ(load.closes[static_cast<std::size_t>(row)],
                  std::make_pair(1400 + row, PointsToPrice(bar.close)));
    }
    EXPECT_EQ(load.table.BarOpen[500], 0.0) << "rows from N on are left alone";
}

TEST(LoadNewestBarsTest, SixFieldsAreEnoughAndFieldsPastTheSixthAreNotRead) {
    TBarLines lines;
    lines[0] = "20240102,0001,1.5,1.75,1.25,1.625";
    lines[1] = "20240102,0100,2.5,2.75,2.25,2.625,87,anything at all,,";
    TLoad load;
    load.Run(2, 2, lines);
    EXPECT_EQ(load.table.BarOpen[0], 1.5);
    EXPECT_EQ(load.table.BarClose[0], 1.625);
    EXPECT_EQ(load.table.BarHigh[1], 2.75);
    EXPECT_EQ(load.table.BarLow[1], 2.25);
}

TEST(LoadNewestBarsTest, FewerLinesThanNFailBeforeAnyRowIsWritten) {
    const TStoredFile file(300);
    for (int N : {301, 500}) {
        TLoad load;
        load.table.BarOpen[0] = -1.0;
        EXPECT_THROW(load.Run(N, file.lineCount, file.lines), RangeCheckError);
        EXPECT_TRUE(load.closes.empty());
        EXPECT_EQ(load.table.BarOpen[0], -1.0);
    }
    TLoad empty;
    EXPECT_THROW(empty.Run(1, 0, TBarLines()), RangeCheckError);
    EXPECT_NO_THROW(empty.Run(0, 0, TBarLines()));
}

TEST(LoadNewestBarsTest, ABarCountAbove1000LoadsTheFirst1000Rows) {
    const TStoredFile file(1500);
    TLoad load;
    EXPECT_THROW(load.Run(1200, file.lineCount, file.lines), RangeCheckError);
    ASSERT_EQ(load.closes.size(), 1001u) << "the 1,001st close is handed over first";
    EXPECT_EQ(load.closes.back().first, 300 + 1000);
    ExpectRow(load.table, 0, file.bars[300]);
    ExpectRow(load.table, 999, file.bars[1299]);
}

TEST(LoadNewestBarsTest, ATrailingEmptyLineIsTheNewestBarAndFails) {
    const TStoredFile file(600, "\r\n");
    ASSERT_EQ(file.lineCount, 601);
    TLoad load;
    EXPECT_THROW(load.Run(500, file.lineCount, file.lines), PriceConversionError);
    EXPECT_EQ(load.closes.size(), 499u);
    ExpectRow(load.table, 498, file.bars[599]);
}

TEST(LoadNewestBarsTest, WithACommaSeparatorAFileOfPointsFailsAtItsFirstBar) {
    const TStoredFile file(100);
    TLoad load;
    load.table.BarOpen[0] = -1.0;
    try {
        load.Run(50, file.lineCount, file.lines, ',');
        ADD_FAILURE() << "a file with points loaded with a comma separator";
    } catch (const PriceConversionError& error) {
        const std::string close(GetField(BarLineText(file.bars[50]), ',', 6));
        EXPECT_EQ(error.what(), "'" + close + "' is not a valid floating point value");
    }
    EXPECT_TRUE(load.closes.empty());
    EXPECT_EQ(load.table.BarOpen[0], -1.0);

    TBarLines wholePrices;
    wholePrices[0] = "20240102,0001,15,17, 12 ,16,87";
    load.Run(1, 1, wholePrices, ',');
    EXPECT_EQ(load.table.BarLow[0], 12.0);
}

TEST(LoadNewestBarsTest, ALineThatIsNotABarStopsTheLoadThere) {
    struct TCase {
        const char* name;
        std::string line;
        bool rangeError;
        int closesHandedOver;
    };
    const TCase cases[] = {
        {"five fields", "20240102,0100,1.1,1.2,1.0", false, 0},
        {"empty line", "", false, 0},
        {"a price that is not a number", "20240102,0100,1.1,high,1.0,1.1,5", false, 1},
        {"a low beyond the Double range", "20240102,0100,1.1,1.2,1e999,1.1,5", false, 1},
        {"256 characters", "20240102,0100,1.1,1.2,1.0,1.1," + std::string(226, '7'), true, 0},
    };
    for (const TCase& c : cases) {
        TBarLines lines;
        lines[0] = "20240102,0000,1.5,1.75,1.25,1.625,5";
        lines[1] = c.line;
        TLoad load;
        if (c.rangeError) {
            EXPECT_THROW(load.Run(2, 2, lines), RangeCheckError) << c.name;
        } else {
            EXPECT_THROW(load.Run(2, 2, lines), QuillonError) << c.name;
        }
        EXPECT_EQ(load.closes.size(), static_cast<std::size_t>(1 + c.closesHandedOver)) << c.name;
        EXPECT_EQ(load.table.BarClose[0], 1.625) << c.name << ": the row before stays";
    }
}

TEST(LoadNewestBarsTest, AHalfWrittenLastLineLoadsTheShortenedClose) {
    TBarLines lines;
    lines[0] = "20240102,0100,1.08001,1.08040,1.07987,1.080";
    TLoad load;
    load.Run(1, 1, lines);
    EXPECT_EQ(load.table.BarClose[0], 1.08);
}

} // namespace
} // namespace quillon
