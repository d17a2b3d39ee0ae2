#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "tests/bars/BarTestFiles.h"

namespace quillon {

// A terminal's folder: 28 symbols in 9 periods, each file of the 1,900 bars the indicator writes
// with its default settings, each as `quillon-make-bars --seed S --period P` writes it.
inline constexpr std::array<const char*, 28> TerminalSymbols{
    "EURUSD", "GBPUSD", "USDJPY", "USDCHF", "AUDUSD", "NZDUSD", "USDCAD",
    "EURGBP", "EURJPY", "GBPJPY", "EURCHF", "AUDJPY", "CADJPY", "CHFJPY",
    "EURAUD", "EURCAD", "EURNZD", "GBPAUD", "GBPCAD", "GBPCHF", "GBPNZD",
    "AUDCAD", "AUDCHF", "AUDNZD", "NZDJPY", "XAUUSD", "US30",   "JP225"};
inline constexpr std::array<int, 9> TerminalPeriods{1, 5, 15, 30, 60, 240, 1440, 10080, 43200};
inline constexpr int TerminalFolderFiles =
    static_cast<int>(TerminalSymbols.size() * TerminalPeriods.size());

// The first `files` files of the folder, symbol by symbol, in a folder of their own.
struct TTerminalFolder {
    explicit TTerminalFolder(int files) {
        for (int i = 0; i < files; ++i) {
            dir.Write(Name(i), BarFileText(Settings(i)));
        }
    }
    // File i's name and the settings it was made with.
    static std::string Name(int i) {
        return TerminalSymbols.at(static_cast<std::size_t>(i) / TerminalPeriods.size()) +
               std::to_string(Period(i)) + ".csv";
    }
    static TBarFileSettings Settings(int i) {
        return {.seed = static_cast<std::uint64_t>(i + 1), .periodMinutes = Period(i)};
    }
    static int Period(int i) {
        return TerminalPeriods.at(static_cast<std::size_t>(i) % TerminalPeriods.size());
    }

    TTempDir dir;
    std::string path = dir.Path("");
};

} // namespace quillon
