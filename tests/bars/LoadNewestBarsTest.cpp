#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bars/LoadNewestBars.h"
#include "base/Errors.h"

namespace quillon {
namespace {

// Whole files (1,900 lines with N = 500, fewer lines than N, N above 1,000, a trailing empty line,
// a comma separator) are loaded by the runs in MakeWavesRunTest.
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
        TBarLines lines;
        lines[0] = "20240102,0000,1.5,1.75,1.25,1.625,5";
        lines[1] = c.line;
        TBarTable table;
        std::vector<double> closes;
        std::string message;
        try {
            LoadNewestBars(2, 2, lines, '.', table,
                           [&closes](int, double close) { closes.push_back(close); });
            EXPECT_EQ(table.BarClose[1], c.close) << c.line;
        } catch (const QuillonError& error) {
            message = error.what();
        }
        EXPECT_EQ(message, c.message) << c.line;
        EXPECT_EQ(closes.size(), c.close != 0 ? 2u : 1u) << c.line;
        EXPECT_EQ(table.BarClose[0], 1.625) << c.line << ": the row before stays";
    }
}

} // namespace
} // namespace quillon
