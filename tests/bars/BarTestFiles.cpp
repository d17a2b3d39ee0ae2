#include "tests/bars/BarTestFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include <filesystem>
#include <stdexcept>
#include <vector>

namespace quillon {

std::vector<std::string> LinesOf(const std::vector<TGeneratedBar>& bars) {
    std::vector<std::string> lines;
    for (const TGeneratedBar& bar : bars) {
        lines.push_back(BarLineText(bar));
    }
    return lines;
}

void MakeQuiet(const std::string& path) {
    constexpr std::time_t HourAgo = 3600;
    const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - HourAgo, 0}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
        throw std::runtime_error("cannot date back " + path);
    }
}

void WriteQuietFile(const std::string& path, const std::string& text) {
    WriteTextFile(path, text);
    MakeQuiet(path);
}

TTempDir::TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) {
        throw std::runtime_error("cannot make a folder from " + pattern);
    }
    folder_ = name.data();
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string TTempDir::Path(const std::string& name) const {
    return folder_ + "/" + name;
}

std::string TTempDir::Write(const std::string& name, const std::string& text) const {
    const std::string path = Path(name);
    WriteQuietFile(path, text);
    return path;
}

std::string TTempDir::WriteSparse(const std::string& name, long long size) const {
    const std::string path = Write(name, "");
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size));
    MakeQuiet(path);
    return path;
}

} // namespace quillon
