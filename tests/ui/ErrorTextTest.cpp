#include <gtest/gtest.h>

#include <string>

#include "ui/ErrorText.h"

namespace quillon {
namespace {

TEST(ErrorBoxTextTest, FullStopOnlyAfterCharactersThatSortAfterIt) {
    for (const std::string message :
         {"Range check error", "'' is not a valid integer value", "x/", "caf\xc3\xa9"}) {
        EXPECT_EQ(ErrorBoxText(message), message + ".");
    }
    for (const std::string message : {"", "done.", "a!", "a-"}) {
        EXPECT_EQ(ErrorBoxText(message), message);
    }
}

} // namespace
} // namespace quillon
