#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "bars/BarData.h"
#include "tools/BarFileGenerator.h"

namespace quillon {

// A read that does not wait after a failure, for tests that do not time the wait.
inline constexpr TReadSettings NoPause{'.', std::chrono::milliseconds(0)};

// The lines of bars as the terminal writes them, without line ends.
std::vector<std::string> LinesOf(const std::vector<TGeneratedBar>& bars);

// Dates the file's last change an hour back, so that a reader takes it for one that no writer is
// at; a file a test wrote a moment ago would otherwise count as being written.
void MakeQuiet(const std::string& path);
// Writes text to path and makes the file quiet.
void WriteQuietFile(const std::string& path, const std::string& text);

// A fresh folder for one test's files, removed with everything in it when the test ends.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    // A path inside the folder.
    std::string Path(const std::string& name) const;
    // Writes text to the named file, makes it quiet and returns its path.
    std::string Write(const std::string& name, const std::string& text) const;
    // A quiet file of the given size that holds only zero bytes and takes no disk space.
    std::string WriteSparse(const std::string& name, long long size) const;

private:
    std::string folder_;
};

} // namespace quillon
