#include <gtest/gtest.h>

#include <string>

#include "live/TurnMemory.h"

namespace quillon {

TEST(TurnMemoryTest, EachFileBarAndDirectionOnce) {
    TTurnMemory memory;
    EXPECT_TRUE(memory.FirstTime("a.csv", "20240123 0400", TTick::Down));
    EXPECT_TRUE(memory.FirstTime("a.csv", "20240123 0400", TTick::Up));
    EXPECT_FALSE(memory.FirstTime("a.csv", "20240123 0400", TTick::Down));
    EXPECT_TRUE(memory.FirstTime("b.csv", "20240123 0400", TTick::Down));
    EXPECT_TRUE(memory.FirstTime("a.csv", "20240123 0500", TTick::Down));
    EXPECT_FALSE(memory.FirstTime("a.csv", "20240123 0400", TTick::Up));
}

// Of a file only its last turns are kept, and of the files those told of most recently.
TEST(TurnMemoryTest, StaysBounded) {
    TTurnMemory memory(2);
    for (int bar = 0; bar <= int(TTurnMemory::BarsPerFile); ++bar) {
        EXPECT_TRUE(memory.FirstTime("a.csv", std::to_string(bar), TTick::Up));
    }
    EXPECT_TRUE(memory.FirstTime("a.csv", "0", TTick::Up));
    EXPECT_FALSE(memory.FirstTime("a.csv", std::to_string(TTurnMemory::BarsPerFile), TTick::Up));
    EXPECT_TRUE(memory.FirstTime("b.csv", "0", TTick::Up));
    EXPECT_TRUE(memory.FirstTime("a.csv", "5", TTick::Down)); // a is no more the oldest told
    EXPECT_TRUE(memory.FirstTime("c.csv", "0", TTick::Up));
    EXPECT_FALSE(memory.Remembers("b.csv"));
    EXPECT_TRUE(memory.Remembers("a.csv") && memory.Remembers("c.csv"));
    EXPECT_TRUE(memory.FirstTime("b.csv", "0", TTick::Up));
}

} // namespace quillon
