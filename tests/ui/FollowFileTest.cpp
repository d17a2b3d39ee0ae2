// "Follow file": a writer rewrites the chosen file with a new newest bar, and the chart follows
// while the box is checked.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QSignalSpy>

#include "bars/FileWriterSigns.h"
#include "tests/ui/FormsFixture.h"

namespace quillon::testing_ui {
namespace {

class FollowTest : public FormsFixture {
protected:
    // Version k of the file: 600 bars, the newest of them new in each version.
    std::string Version(int k) {
        return BarFileText(std::vector(bars_.begin() + k, bars_.begin() + k + 600));
    }
    double NewestCloseOf(int k) {
        return PointsToPrice(bars_[static_cast<std::size_t>(k) + 599].close);
    }
    double NewestClose() { return Series().Series17().Candles().back().close; }
    bool Shows(int k) {
        return QTest::qWaitFor([&] { return NewestClose() == NewestCloseOf(k); }, 5000);
    }

    std::vector<TGeneratedBar> bars_ = GenerateBars({.barCount = 610});
};

TEST_F(FollowTest, ShowsEachWholeRewriteKeepsTheZoomAndNeverHoldsTheWindowUp) {
    const QString chosen = BarFile(QStringLiteral("files"), Version(0));
    const std::string file = QFile::encodeName(chosen).toStdString();
    ChooseFile(chosen);
    Find<QCheckBox>("CheckBox2")->click();
    const TChartRanges zoom{{350, 510}, {1.07, 1.085}};
    Series().ZoomTo(zoom);
    QElapsedTimer sinceTick;
    qint64 longestBlock = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestBlock = std::max(longestBlock, sinceTick.restart()); });
    sinceTick.start();
    ticker.start(10);
    const std::function<void(const std::string&, int)> writers[] = {
        [&](const std::string& text, int) { WriteTextFile(file, text); },
        // In pieces with short pauses: what the chart shows meanwhile is one version or the
        // next, never a part of one, as long as no pause lasted until the file counted settled.
        [&](const std::string& text, int k) {
            const int out = ::open(file.c_str(), O_WRONLY | O_TRUNC);
            for (std::size_t at = 0, piece = text.size() / 5 + 7; at < text.size(); at += piece) {
                const auto wrote = std::chrono::steady_clock::now();
                ASSERT_GT(::write(out, &text[at], std::min(piece, text.size() - at)), 0);
                QTest::qWait(5);
                if (std::chrono::steady_clock::now() - wrote >= FileSettleTime) {
                    break;
                }
                EXPECT_TRUE(NewestClose() == NewestCloseOf(k - 1) ||
                            NewestClose() == NewestCloseOf(k));
            }
            ::close(out);
        },
        // A followed run meets the missing file, and would pause on it as a click does.
        [&](const std::string& text, int) {
            ::unlink(file.c_str());
            QTest::qWait(300);
            WriteTextFile(file, text);
        },
        // Held past settling: the writer lets go without a change to be told of.
        [&](const std::string& text, int) {
            const int holder = ::open(file.c_str(), O_RDONLY);
            ASSERT_EQ(::flock(holder, LOCK_EX), 0);
            WriteTextFile(file, text);
            QTest::qWait(300);
            ::close(holder);
        },
    };
    for (int k = 1; k <= 4; ++k) {
        writers[k - 1](Version(k), k);
        EXPECT_TRUE(Shows(k)) << k;
    }
    EXPECT_LT(longestBlock, 1000);
    EXPECT_EQ(Series().Zoom(), zoom);
    EXPECT_TRUE(Find("RunStatus")->isVisible());
    SaveScreenshot(form1_, QStringLiteral("main-window-following"));

    // A bad bar count is reported once; following goes on once it is mended.
    QSignalSpy settled(&form1_.Follower(), &TFileFollower::Settled);
    SetText("Edit3", QStringLiteral("x"));
    for (int k : {5, 6}) {
        WriteTextFile(file, Version(k));
        EXPECT_TRUE(settled.wait(5000));
    }
    EXPECT_EQ(errors_, QStringList{QStringLiteral("'x' is not a valid integer value.")});
    SetText("Edit3", QStringLiteral("500"));
    WriteTextFile(file, Version(7));
    EXPECT_TRUE(Shows(7));

    // Unchecked, nothing runs on a rewrite; a click during one waits for it and shows it.
    Find<QCheckBox>("CheckBox2")->click();
    EXPECT_FALSE(Find("RunStatus")->isVisible());
    WriteTextFile(file, Version(8));
    EXPECT_FALSE(settled.wait(1500));
    WriteTextFile(file, Version(9));
    Click("Button1");
    EXPECT_EQ(NewestClose(), NewestCloseOf(9));
}

} // namespace
} // namespace quillon::testing_ui
