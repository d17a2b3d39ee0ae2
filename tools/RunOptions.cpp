#include "tools/RunOptions.h"

#include <getopt.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "base/Errors.h"
#include "base/IntegerText.h"
#include "base/Types.h"

namespace quillon {

namespace {

// getopt_long's codes for the options without a letter; above any character.
enum : int { BarsCode = 256, Lag1Code, Lag2Code, HelpCode, FirstExtraCode };

int CodeOf(const TToolOption& extra, std::size_t index) {
    return extra.letter != 0 ? extra.letter : FirstExtraCode + static_cast<int>(index);
}

// value := the option's text (its default when not given) as an integer from 1 to highest.
bool ReadNumber(const char* option, const std::optional<std::string>& text, int highest, int& value,
                std::string& reason) {
    const std::string shown = text ? *text : IntegerToText(value);
    try {
        value = TextToInteger(shown);
        if (value >= 1 && value <= highest) {
            return true;
        }
    } catch (const IntegerConversionError&) {
    }
    reason =
        std::string(option) + " " + shown + ": not an integer from 1 to " + IntegerToText(highest);
    return false;
}

// A bar count fits the bar table; a lag fits the covariance matrix and the bars loaded.
bool ReadNumbers(const std::optional<std::string> (&texts)[3], TRunNumbers& n,
                 std::string& reason) {
    if (!ReadNumber("--bars", texts[0], SeriesCapacity, n.N, reason)) {
        return false;
    }
    const int lagHighest = std::min(MatrixOrderCapacity, n.N);
    return ReadNumber("--w1", texts[1], lagHighest, n.W1, reason) &&
           ReadNumber("--w2", texts[2], lagHighest, n.W2, reason);
}

} // namespace

bool ReadRunOptions(std::span<const std::string_view> args, std::span<const TToolOption> extra,
                    TRunOptions& options, std::string& reason) {
    // getopt_long wants writable C strings, after the program's name.
    std::vector<std::string> texts{"tool"};
    texts.insert(texts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);

    std::vector<option> longOptions{{"bars", required_argument, nullptr, BarsCode},
                                    {"w1", required_argument, nullptr, Lag1Code},
                                    {"w2", required_argument, nullptr, Lag2Code},
                                    {"help", no_argument, nullptr, HelpCode}};
    // Reserved, so that the names stay where getopt_long is told they are.
    std::vector<std::string> extraNames;
    extraNames.reserve(extra.size());
    std::string letters = ":"; // so that a missing value is told apart from an unknown option
    for (std::size_t i = 0; i < extra.size(); ++i) {
        if (extra[i].letter != 0) {
            letters += extra[i].letter;
            letters += ':';
        }
        if (!extra[i].longName.empty()) {
            const std::string& name = extraNames.emplace_back(extra[i].longName);
            longOptions.push_back({name.c_str(), required_argument, nullptr, CodeOf(extra[i], i)});
        }
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});

    // getopt_long keeps its place in globals; 0 makes GNU's start afresh, as reading several
    // argument lists in one process (the tests do) needs. The messages are ours, not its.
    optind = 0;
    opterr = 0;
    std::optional<std::string> numberTexts[3];
    const int argc = static_cast<int>(texts.size());
    for (int code; (code = getopt_long(argc, argv.data(), letters.c_str(), longOptions.data(),
                                       nullptr)) != -1;) {
        if (code >= BarsCode && code <= Lag2Code) {
            numberTexts[code - BarsCode] = optarg;
        } else if (code == HelpCode) {
            options.help = true;
        } else if (code == ':' || code == '?') {
            reason = std::string(argv[optind - 1]) +
                     (code == ':' ? ": a value is missing" : ": not an option");
            return false;
        }
        for (std::size_t i = 0; i < extra.size(); ++i) {
            if (code == CodeOf(extra[i], i)) {
                *extra[i].value = optarg;
            }
        }
    }
    if (options.help) {
        return true;
    }
    if (argc - optind != 1) {
        reason = argc == optind ? "no FILE given" : "one FILE only";
        return false;
    }
    options.path = argv[optind];
    return ReadNumbers(numberTexts, options.numbers, reason);
}

std::string RunOptionsUsage() {
    return "  --bars N   bars to load, 1 to " + IntegerToText(SeriesCapacity) + " (default " +
           IntegerToText(DefaultBarCount) +
           ")\n"
           "  --w1 L     window length of the first wave of each pair, 1 to " +
           IntegerToText(MatrixOrderCapacity) + " and not above N (default " +
           IntegerToText(DefaultLag1) +
           ")\n"
           "  --w2 L     window length of the second wave of each pair, likewise (default " +
           IntegerToText(DefaultLag2) +
           ")\n"
           "  --help     print this text\n";
}

} // namespace quillon
