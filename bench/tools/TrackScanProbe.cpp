// Measures quillon-scan --track --whole-file over a terminal's folder of 252 files of 1,900 lines
// at the default settings, and checks its rows: the time of the whole process (its target: 40 s on
// two processors), then, for every STEP-th file, the row's three records against the trades that
// quillon-waves --trades --whole-file writes for the file, summed up here: the trades closed,
// those won, their points, profit factor and drawdown. Exits 1 on a row that differs.
//
//   track_scan_probe [STEP]    36 unless given (7 files)

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench/tools/TerminalFolder.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

// A record's figures as quillon-scan writes them, by column name without the record's.
using TFigures = std::map<std::string, std::string>;

// quillon-waves' trades of one record summed up: closed trades only, the open one apart.
TFigures SumUp(const std::vector<std::vector<std::string>>& trades, const std::string& record) {
    long long count = 0, won = 0, total = 0, highest = 0, drawdown = 0, gained = 0, lost = 0;
    for (const std::vector<std::string>& trade : trades) {
        if (trade.at(0) != record || trade.at(6).empty()) {
            continue;
        }
        const long long points = std::stoll(trade.at(10));
        ++count;
        won += points > 0 ? 1 : 0;
        (points > 0 ? gained : lost) += points > 0 ? points : -points;
        total += points;
        highest = std::max(highest, total);
        drawdown = std::max(drawdown, highest - total);
    }
    char factor[32] = "";
    if (lost > 0) {
        std::snprintf(factor, sizeof factor, "%.2f", static_cast<double>(gained) / lost);
    }
    return {{"trades", std::to_string(count)},
            {"won", std::to_string(won)},
            {"points", std::to_string(total)},
            {"profit_factor", factor},
            {"drawdown", std::to_string(drawdown)}};
}

// False, with what differs on standard error, when the row's records are not the file's trades.
bool RowAgrees(const std::vector<std::string>& header, const std::vector<std::string>& row) {
    const std::vector<std::string> lines = Split(
        RunProcess(QUILLON_WAVES_PROGRAM, {row.at(0), "--trades", "--whole-file"}, NoLocale).out,
        '\n');
    std::vector<std::vector<std::string>> trades;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        trades.push_back(Split(lines[i], ','));
    }
    bool agrees = true;
    for (const std::string record : {"chart", "at_close", "whole_file"}) {
        for (const auto& [figure, expected] : SumUp(trades, record)) {
            const auto column = std::find(header.begin(), header.end(), figure + "_" + record);
            const std::string& got = row.at(static_cast<std::size_t>(column - header.begin()));
            // A profit factor on the edge of its second decimal may round either way.
            const bool near = figure == "profit_factor" && !got.empty() && !expected.empty() &&
                              std::fabs(std::stod(got) - std::stod(expected)) < 0.0101;
            if (got != expected && !near) {
                std::fprintf(stderr, "%s: %s_%s is %s, its trades give %s\n", row[0].c_str(),
                             figure.c_str(), record.c_str(), got.c_str(), expected.c_str());
                agrees = false;
            }
        }
    }
    return agrees;
}

int Probe(int step) {
    const TTerminalFolder folder(TerminalFolderFiles);
    const auto start = std::chrono::steady_clock::now();
    const TProcessResult scan =
        RunProcess(QUILLON_SCAN_PROGRAM, {folder.path, "--track", "--whole-file"}, NoLocale);
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    std::vector<std::string> rows = Split(scan.out, '\n');
    std::printf("quillon-scan --track --whole-file, %d files of 1,900 lines: %.1f s, status %d\n",
                TerminalFolderFiles, spent.count(), scan.exitCode);
    if (scan.exitCode != 0 || rows.size() != TerminalFolderFiles + 2u) {
        std::fprintf(stderr, "%s", scan.err.c_str());
        return 1;
    }
    const std::vector<std::string> header = Split(rows[0], ',');
    int checked = 0, differing = 0;
    for (std::size_t i = 1; i <= TerminalFolderFiles; i += static_cast<std::size_t>(step)) {
        ++checked;
        differing += RowAgrees(header, Split(rows[i], ',')) ? 0 : 1;
    }
    std::printf("rows held against quillon-waves --trades --whole-file: %d, differing: %d\n",
                checked, differing);
    return differing == 0 ? 0 : 1;
}

} // namespace
} // namespace quillon

int main(int argc, char** argv) {
    return quillon::Probe(argc > 1 ? std::max(1, std::atoi(argv[1])) : 36);
}
