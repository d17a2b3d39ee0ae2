#pragma once

#include <string>

#include "tools/BarFileGenerator.h"

namespace quillon {

// A fresh folder for one test's files, removed with everything in it when the test ends.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    // A path inside the folder.
    std::string Path(const std::string& name) const;
    // Writes text to the named file and returns its path.
    std::string Write(const std::string& name, const std::string& text) const;
    // A file of the given size that holds only zero bytes and takes no disk space.
    std::string WriteSparse(const std::string& name, long long size) const;

private:
    std::string folder_;
};

} // namespace quillon
