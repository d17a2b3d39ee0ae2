#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "bars/BarFiles.h"
#include "tests/bars/BarTestFiles.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

// Which entries of a folder are bar files, as the watch list and quillon-scan both list them: by
// the name's ending in any case and by what the entry is, links followed; the names in byte order
// (capitals before small letters, a byte above 127 after both).
TEST(BarFilesTest, WhichEntriesOfAFolderAreBarFiles) {
    const TTempDir dir;
    const auto file = [&dir](const std::string& name) { dir.Write(name, "x\r\n"); };
    const auto link = [&dir](const std::string& to, const std::string& name) {
        fs::create_symlink(to, dir.Path(name));
    };
    // The bar files first, in byte order: what the folder's listing must give.
    const std::tuple<std::string, bool, std::function<void(const std::string&)>> entries[] = {
        {"EURUSD60.csv", true, file},
        {"X.CSV", true, file},
        {"a.CsV", true, file},
        {"far.csv", true, [&](const std::string& name) { link(dir.Path("X.CSV"), name); }},
        {"link.csv", true, [&](const std::string& name) { link("notes.txt", name); }},
        {"\xe9.csv", true, file},
        {"notes.txt", false, file},
        {"x.csv.txt", false, file},
        {".hidden.csv", false, file},
        {"sub.csv", false, [&](const std::string& name) { fs::create_directory(dir.Path(name)); }},
        {"folder.csv", false, [&](const std::string& name) { link("sub.csv", name); }},
        {"broken.csv", false, [&](const std::string& name) { link("gone.csv", name); }},
        {"pipe.csv", false,
         [&](const std::string& name) { ASSERT_EQ(::mkfifo(dir.Path(name).c_str(), 0600), 0); }},
    };
    std::vector<std::string> barFiles;
    for (const auto& [name, barFile, make] : entries) {
        make(name);
        if (barFile) {
            barFiles.push_back(name);
        }
    }
    dir.Write("sub.csv/EURUSD5.csv", "x\r\n");
    std::error_code error;
    EXPECT_EQ(BarFileNames(dir.Path(""), error), barFiles);
    EXPECT_FALSE(error) << error.message();

    // A folder that cannot be listed gives no names, and why.
    EXPECT_TRUE(BarFileNames(dir.Path("gone"), error).empty());
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_TRUE(BarFileNames(dir.Path("X.CSV"), error).empty());
    EXPECT_EQ(error, std::errc::not_a_directory);
}

} // namespace
} // namespace quillon
