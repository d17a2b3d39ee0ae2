#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bars/BarData.h"
#include "tools/BarFileGenerator.h"

namespace quillon {

// Dates the file's last change an hour back, so that a reader takes it for one that no writer is
// at; a file written a moment ago would count as being written.
inline void MakeQuiet(const std::string& path) {
    constexpr std::time_t HourAgo = 3600;
    const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - HourAgo, 0}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
        throw std::runtime_error("cannot date back " + path);
    }
}

// Writes text to path byte for byte; throws std::runtime_error when it cannot.
inline void WriteTextFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written =
        file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file == nullptr || std::fclose(file) != 0 || !written) {
        throw std::runtime_error("cannot write " + path);
    }
}

// Writes text to path and makes the file quiet.
inline void WriteQuietFile(const std::string& path, const std::string& text) {
    WriteTextFile(path, text);
    MakeQuiet(path);
}

// A fresh folder for one test's files, removed with everything in it when the test ends.
class TTempDir {
public:
    TTempDir() {
        folder_ = (std::filesystem::temp_directory_path() / "quillon-XXXXXX").string();
        if (::mkdtemp(folder_.data()) == nullptr) {
            throw std::runtime_error("cannot make a folder from " + folder_);
        }
    }
    ~TTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    // A path inside the folder.
    std::string Path(const std::string& name) const { return folder_ + "/" + name; }
    // Writes text to the named file, makes it quiet and returns its path.
    std::string Write(const std::string& name, const std::string& text) const {
        WriteQuietFile(Path(name), text);
        return Path(name);
    }
    // A quiet file of the given size that holds only zero bytes and takes no disk space.
    std::string WriteSparse(const std::string& name, long long size) const {
        const std::string path = Write(name, "");
        std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size));
        MakeQuiet(path);
        return path;
    }

private:
    std::string folder_;
};

} // namespace quillon
