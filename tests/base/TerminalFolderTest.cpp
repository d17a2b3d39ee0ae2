#include <gtest/gtest.h>

#include <string>

#include "base/TerminalFolder.h"

namespace quillon {
namespace {

TEST(TerminalFolderTest, WinePrefixComesFromTheSettingElseFromHome) {
    EXPECT_EQ(WinePrefix("/opt/mt4prefix", "/home/trader"), "/opt/mt4prefix");
    EXPECT_EQ(WinePrefix("", "/home/trader"), "/home/trader/.wine");
    EXPECT_EQ(WinePrefix(nullptr, "/home/trader"), "/home/trader/.wine");
}

#ifndef _WIN32
TEST(TerminalFolderTest, FilesFolderLiesInTheWineDriveC) {
    EXPECT_EQ(TerminalFilesFolder("/home/trader/.wine"),
              "/home/trader/.wine/drive_c/Program Files/MetaTrader 4/experts/files");
}
#endif

TEST(TerminalFolderTest, DialogStartsInTheTerminalFolderOnlyWhenItExists) {
    const std::string terminal = TerminalFilesFolder("/p");
    const std::string sample = "/usr/share/quillon";
    std::string asked;
    const auto exists = [&asked](const std::string& folder) {
        asked = folder;
        return true;
    };
    EXPECT_EQ(InitialDialogFolder(terminal, sample, exists), terminal);
    EXPECT_EQ(asked, terminal);
    EXPECT_EQ(InitialDialogFolder(terminal, sample, [](const std::string&) { return false; }),
              sample);
}

} // namespace
} // namespace quillon
