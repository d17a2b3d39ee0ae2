#include "bars/FileWriterSigns.h"

namespace quillon {

namespace {

constexpr std::int64_t NanosecondsPerSecond = 1'000'000'000;

// The whole-seconds test below looks one second either way, so the window must be shorter.
static_assert(FileSettleTime < std::chrono::seconds(1));

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

bool IsRecentlyModified(const struct stat& status, const timespec& now) {
    const timespec& modified = status.st_mtim;
    // Whole seconds first, so that no date a file may carry can overflow the difference.
    if (modified.tv_sec < now.tv_sec - 1 || modified.tv_sec > now.tv_sec + 1) {
        return false;
    }
    const std::int64_t apart =
        (now.tv_sec - modified.tv_sec) * NanosecondsPerSecond + (now.tv_nsec - modified.tv_nsec);
    const std::int64_t window = std::chrono::nanoseconds(FileSettleTime).count();
    return -window < apart && apart < window;
}

bool IsUnchangedSince(int file, const std::string& path, const struct stat& before,
                      std::int64_t bytesRead) {
    struct stat after {};
    struct stat atPath {};
    return ::fstat(file, &after) == 0 && ::stat(path.c_str(), &atPath) == 0 &&
           bytesRead == before.st_size && after.st_size == before.st_size &&
           SameTime(after.st_mtim, before.st_mtim) && SameTime(after.st_ctim, before.st_ctim) &&
           atPath.st_dev == before.st_dev && atPath.st_ino == before.st_ino;
}

} // namespace quillon
