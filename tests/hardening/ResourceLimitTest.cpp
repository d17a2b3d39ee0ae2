#include <gtest/gtest.h>

#include <sys/resource.h>

#include <string>

#include "tests/bars/BarTestFiles.h"
#include "tests/bars/RunOutcome.h"

namespace quillon {
namespace {

// A gigabyte of zero bytes with no line end, made sparse so that it takes no disk: a run keeps one
// line of StoredLineLimit characters, so the load fails for want of lines, and the read never holds
// more than a piece of the file. Under ctest each test has a process of its own, so this process's
// peak is the run's.
TEST(ResourceLimitTest, AGigabyteWithoutALineEndEndsTheRunInLittleMemory) {
    TTempDir dir;
    const std::string path = dir.WriteSparse("EURUSD60.csv", 1LL << 30);
    TBarLines barLines;
    TBarTable bars;
    TChartModel chart;
    EXPECT_EQ(RunAndJudge({"500", "39", "16", path, NoPause}, barLines, bars, chart), "silent 0");
    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_SELF, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 100 * 1024) << "kilobytes";
}

} // namespace
} // namespace quillon
