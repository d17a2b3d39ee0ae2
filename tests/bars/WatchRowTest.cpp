#include <gtest/gtest.h>

#include "bars/WatchRow.h"

namespace quillon {

// The terminal names a file for the symbol and the period's minutes; a symbol may end in digits
// or carry a broker's suffix, and a name that ends in no period names no symbol.
TEST(WatchRowTest, SymbolAndPeriodFromTheFileName) {
    const std::tuple<const char*, const char*, int, const char*> names[] = {
        {"/files/EURUSD60.csv", "EURUSD", 60, "H1"},
        {"GBPUSD1.CSV", "GBPUSD", 1, "M1"},
        {"US3015.csv", "US30", 15, "M15"},
        {"JP22543200.csv", "JP225", 43200, "MN1"},
        {"a.d/EURUSD.pro240.csv", "EURUSD.pro", 240, "H4"},
        {"XAU10080.csv", "XAU", 10080, "W1"},
        {"UK1001440.csv", "UK100", 1440, "D1"},
        {"60.csv", "", 0, ""},
        {"EURUSD120.csv", "", 0, ""},
        {"EURUSD.csv", "", 0, ""},
    };
    for (const auto& [path, symbol, minutes, period] : names) {
        const std::optional<TSymbolPeriod> read = SymbolPeriodOf(path);
        EXPECT_EQ(read ? read->symbol + " " + PeriodName(read->periodMinutes) : "",
                  *symbol != '\0' ? std::string(symbol) + " " + period : "")
            << path;
        EXPECT_EQ(read ? read->periodMinutes : 0, minutes) << path;
    }
    EXPECT_EQ(PeriodName(5) + PeriodName(30) + PeriodName(120), "M5M30120 min");
}

} // namespace quillon
