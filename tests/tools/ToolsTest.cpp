#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/bars/BarTestFiles.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

// The whole text must be a number.
double Number(const std::string& text) {
    double value = -1.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << text;
    return value;
}

// The newest 120 bars of the sample file (2,000 lines). The pinned rows were written by the
// program when its engine matched the engine tests' literal values bit for bit; the rest needs
// no oracle: a row per bar, the bar's line in the file, its prices read back to the file's text,
// and each mark from the close waves' step before its row.
TEST(WavesCommandTest, PinnedRowsAndWhatTheFileAndTheWavesFix) {
    const TProcessResult result =
        RunProcess(QUILLON_WAVES_PROGRAM,
                   {QUILLON_SAMPLE_BAR_FILE, "--bars=120", "--w1", "30", "--w2=12"}, NoLocale);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> rows = Split(result.out, '\n');
    ASSERT_EQ(rows.size(), 122u) << "header, 120 rows, and the end of the last row";
    EXPECT_EQ(rows[0],
              "row,line,open,high,low,close,close_wave1,close_wave2,open_wave1,open_wave2,mark");
    EXPECT_EQ(rows[1], "0,1880,1.07535,1.07537,1.07501,1.07513,1.0750804416034094,1.07492981309201,"
                       "-2.837364483968363e-05,-3.3103126289274195e-05,");
    EXPECT_EQ(rows[4], "3,1883,1.07487,1.07494,1.07468,1.0747,1.0749615013542173,"
                       "1.0748399740941184,-3.5897298199378587e-05,-6.860721368733192e-05,down");
    EXPECT_EQ(rows[108], "107,1987,1.0718,1.07184,1.07162,1.07174,1.0714315472024731,"
                         "1.0720749969905814,0.0001213893450931278,-0.00010626545446688565,up");
    EXPECT_EQ(rows[120], "119,1999,1.07328,1.07365,1.07325,1.07354,1.0716690469562922,"
                         "1.0727628532317668,-0.0016398880148841566,-9.74245661248557e-05,up");

    std::stringstream file;
    file << std::ifstream(QUILLON_SAMPLE_BAR_FILE, std::ios::binary).rdbuf();
    const std::vector<std::string> lines = Split(file.str(), '\n');
    std::vector<std::vector<std::string>> f(1); // the fields of rows[1], rows[2], ... from f[1] on
    for (std::size_t row = 1; row <= 120; ++row) {
        f.push_back(Split(rows[row], ','));
        ASSERT_EQ(f[row][0] + ',' + f[row][1],
                  std::to_string(row - 1) + ',' + std::to_string(1879 + row));
        const std::vector<std::string> bar = Split(lines.at(std::stoul(f[row][1])), ',');
        for (std::size_t column = 2; column < 6; ++column) {
            EXPECT_EQ(Number(f[row][column]), Number(bar.at(column))) << row << ": " << bar[column];
        }
        const auto step = [&](std::size_t wave) {
            return row > 3 ? Number(f[row - 1][wave]) - Number(f[row - 2][wave]) : 0.0;
        };
        const double wave1 = step(6), wave2 = step(7);
        EXPECT_EQ(f[row].at(10),
                  wave1 > 0 && wave2 > 0 ? "up" : (wave1 < 0 && wave2 < 0 ? "down" : ""));
    }
}

// --at-close on the newest 120 of 200 bars (bar row r on file line 80 + r): each row as without it
// and a last column. The first row with 120 lines up to its own (row 39), a middle one whose mark
// the chart no longer shows and the newest have the newest row's mark of the file cut after their
// line; the row before them has none, since that file is too short for a run.
TEST(WavesCommandTest, AtCloseAddsTheMarkOfTheFileCutAfterEachLine) {
    const TTempDir dir;
    const std::vector<TGeneratedBar> bars = GenerateBars({.barCount = 200});
    const auto waves = [&dir, &bars](int lines, const std::string& option) {
        const std::string path =
            dir.Write("bars.csv", BarFileText(std::vector(bars.begin(), bars.begin() + lines)));
        const TProcessResult result = RunProcess(
            QUILLON_WAVES_PROGRAM, {path, "--bars=120", "--w1=30", "--w2=12", option}, NoLocale);
        return std::pair(result.exitCode, Split(result.out, '\n'));
    };
    const auto [status, rows] = waves(200, "--at-close");
    const std::vector<std::string> plain = waves(200, "--").second;
    ASSERT_EQ(status, 0);
    ASSERT_EQ(rows.size(), 122u);
    ASSERT_EQ(plain.size(), 122u);
    EXPECT_EQ(rows[0], plain[0] + ",mark_at_close");
    // The last field of a row, with its comma.
    const auto last = [](const std::string& row) { return row.substr(row.rfind(',')); };
    for (std::size_t i = 1; i <= 120; ++i) {
        ASSERT_EQ(rows[i].substr(0, rows[i].rfind(',')), plain[i]) << i;
    }
    int middle = 60;
    while (middle < 119 &&
           (last(rows[middle + 1]) == "," || last(rows[middle + 1]) == last(plain[middle + 1]))) {
        ++middle;
    }
    ASSERT_LT(middle, 119) << "no bar whose mark was redrawn";
    for (const int row : {38, 39, middle, 119}) {
        const auto [cutStatus, cut] = waves(81 + row, "--");
        EXPECT_EQ(cutStatus, row == 38 ? 1 : 0) << row;
        EXPECT_EQ(last(rows.at(row + 1)), cutStatus == 0 ? last(cut.at(120)) : ",") << row;
    }
}

// What the four tools do alike, each case a shell command line with the tools first on PATH, $S
// the sample bar file and $D a scratch folder: --version and --help print on standard output and
// exit 0; a usage error is one line that names the word typed, or the default that the user did
// not type, then "Try 'PROGRAM --help'.", and exits 2; any other failure is one line that starts
// with the program's name and exits 1, and that includes output that cannot be written: standard
// output full or closed, or a picture larger than the files the shell allows (one block, its
// signal ignored, so that the write fails with EFBIG), and quillon-scan's rows of no file worked
// out on a full standard output.
TEST(ToolsTest, VersionUsageErrorsAndFailedWrites) {
    const TTempDir dir, home;
    ASSERT_TRUE(std::filesystem::create_directory(dir.Path("taken.png")));
    const std::string size = ": not WIDTHxHEIGHT from 200x150 to 8000x8000",
                      full = ": cannot write to standard output: No space left on device",
                      closed = ": cannot write to standard output: Bad file descriptor";
    const std::tuple<std::string, int, std::string> cases[] = {
        {"quillon-waves --version", 0, "quillon-waves " QUILLON_VERSION "\n"},
        {"quillon-chart --version", 0, "quillon-chart " QUILLON_VERSION "\n"},
        {"quillon-make-bars --version", 0, "quillon-make-bars " QUILLON_VERSION "\n"},
        {"quillon-scan --version", 0, "quillon-scan " QUILLON_VERSION "\n"},
        // Every help ends with its exit statuses, wrapped within 99 columns like the rest.
        {"for t in quillon-waves quillon-chart quillon-scan quillon-make-bars; do"
         " $t --help | awk 'length > 99'; $t --help | tail -c 16; done",
         0, "other programs.\nother programs.\nother programs.\nother programs.\n"},
        {"quillon-chart --help -o a.jpg", 0, "Usage: quillon-chart FILE -o OUT.png [--bars N]"},
        {"quillon-waves $S -bars 300", 2, "quillon-waves: -bars: not an option"},
        {"quillon-waves -x.csv", 2, "quillon-waves: -x.csv: not an option"},
        {"quillon-waves --lag 3 a.csv", 2, "quillon-waves: --lag: not an option"},
        {"quillon-waves a.csv --bars", 2, "quillon-waves: --bars: a value is missing"},
        {"quillon-waves --help=1", 2, "quillon-waves: --help=1: takes no value"},
        {"quillon-waves --w1 3", 2, "quillon-waves: no FILE given"},
        {"quillon-waves a.csv -- -b.csv", 2, "quillon-waves: one FILE only"},
        {"quillon-waves $S --bars 30", 2,
         "quillon-waves: the default W1 lag 39 is above the 30 bars asked for"},
        {"quillon-chart $S -o $D/a.png --w1 3 --bars=10", 2,
         "quillon-chart: the default W2 lag 16 is above the 10 bars asked for"},
        {"quillon-waves $S --bars 30 --w1 39", 2,
         "quillon-waves: --w1 39: not an integer from 1 to 30"},
        {"quillon-waves $S --bars=abc", 2,
         "quillon-waves: --bars=abc: not an integer from 1 to 1000"},
        {"quillon-scan --jobs 2", 2, "quillon-scan: no DIR or FILE given"},
        {"quillon-scan $D --jobs 0", 2, "quillon-scan: --jobs 0: not an integer from 1 to 256"},
        {"quillon-scan $D --format=xml", 2, "quillon-scan: --format=xml: not csv or json"},
        {"quillon-scan $D --turns", 2, "quillon-scan: --turns: only with --follow"},
        {"quillon-scan $D --fol=1 --turns", 2, "quillon-scan: --fol=1: takes no value"},
        {"quillon-scan $D --whole-file", 2, "quillon-scan: --whole-file: only with --track"},
        {"quillon-scan $D --track --spread=1000001", 2,
         "quillon-scan: --spread=1000001: not an integer from 0 to 1000000"},
        {"quillon-waves $S --spread 0", 2, "quillon-waves: --spread: only with --trades"},
        {"quillon-waves $S --trades --spread=-1", 2,
         "quillon-waves: --spread=-1: not an integer from 0 to 1000000"},
        {"quillon-waves $S --trades --at-close", 2, "quillon-waves: --at-close: not with --trades"},
        {"quillon-chart $S -o $D/a.png --size 199x150", 2, "quillon-chart: --size 199x150" + size},
        {"quillon-chart $S -o $D/a.png --size 200x149", 2, "quillon-chart: --size 200x149" + size},
        {"quillon-chart $S -o $D/a.png --size=800x8001", 2,
         "quillon-chart: --size=800x8001" + size},
        {"quillon-chart $S -o a.jpg", 2, "quillon-chart: -o a.jpg: not a .png or .svg name, nor -"},
        {"quillon-chart $S", 2, "quillon-chart: no -o OUT given"},
        {"quillon-make-bars --bars x", 2,
         "quillon-make-bars: --bars x: not an integer from 0 to 2147483647"},
        {"quillon-chart $D/gone.csv -o $D/a.png", 1,
         "quillon-chart: cannot read $D/gone.csv: no such file"},
        {"quillon-chart $S -o $D/no/a.png", 1,
         "quillon-chart: cannot write $D/no/a.png: No such file or directory"},
        {"quillon-chart $S --output $D/taken.png", 1,
         "quillon-chart: cannot write $D/taken.png: Is a directory"},
        {"trap '' XFSZ; ulimit -f 1; quillon-chart $S -o $D/a.png", 1,
         "quillon-chart: cannot write $D/a.png: File too large"},
        {"quillon-waves $S >/dev/full", 1, "quillon-waves" + full},
        {"quillon-waves $S >&-", 1, "quillon-waves" + closed},
        {"quillon-chart $S -o - >/dev/full", 1, "quillon-chart" + full},
        {"quillon-chart $S -o - >&-", 1, "quillon-chart" + closed},
        {"quillon-make-bars --help >/dev/full", 1, "quillon-make-bars" + full},
        {"touch $D/k.png; chmod 640 $D/k.png; quillon-chart $S -o $D/k.png; stat -c %a $D/k.png;"
         "rm $D/k.png",
         0, "640\n"},
        {"umask 027; quillon-chart $S -o $D/n.png; stat -c %a $D/n.png; rm $D/n.png", 0, "640\n"},
        {"quillon-scan $S >/dev/full", 1, "quillon-scan" + full},
        {"quillon-scan $D/gone.csv >/dev/full", 1, "quillon-scan" + full},
        {"quillon-scan --follow $D/gone", 1, "quillon-scan: $D/gone: no such folder"},
    };
    const std::string folder = dir.Path("").substr(0, dir.Path("").size() - 1);
    // No display, and HOME, where the toolkit may keep caches, not the real one.
    const std::string unset = "unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_CACHE_HOME; ";
    const std::vector<std::string> environment{"PATH=" QUILLON_TOOLS_DIR ":/usr/bin:/bin",
                                               "S=" QUILLON_SAMPLE_BAR_FILE, "D=" + folder,
                                               "HOME=" + home.Path(""), "LC_ALL=C"};
    for (const auto& [command, status, text] : cases) {
        const TProcessResult result = RunProcess("/bin/sh", {"-c", unset + command}, environment);
        std::string expected = text;
        for (std::size_t at; (at = expected.find("$D")) != std::string::npos;) {
            expected.replace(at, 2, folder);
        }
        const std::string program = expected.substr(0, expected.find(':'));
        expected += status == 1 ? "\n" : (status == 2 ? "\nTry '" + program + " --help'.\n" : "");
        const std::string& shown = status == 0 ? result.out : result.err;
        EXPECT_EQ(result.exitCode, status) << command;
        EXPECT_EQ(status == 0 ? shown.substr(0, expected.size()) : shown, expected) << command;
        EXPECT_EQ(status == 0 ? result.err : result.out, "") << command;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1)
        << "no file is left but the folder taken.png";
}

} // namespace
} // namespace quillon
