#include "bars/ReadBarLines.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <thread>

namespace quillon {

namespace {

// The file is read in pieces of this size: a typical bar file (1,900 lines, about 90 KB) takes two
// system calls, and a file of any size costs no more memory than this.
constexpr std::size_t ReadChunkSize = 64 * 1024;

// Splits the bytes of a file into lines and stores them round the line store, so that after any
// number of lines the store holds the newest BarLinesCapacity of them.
class TLineCollector {
public:
    explicit TLineCollector(TBarLines& lines)
        : lines_(lines) {}

    void Take(std::string_view bytes) {
        while (!bytes.empty()) {
            const std::size_t lineEnd = bytes.find('\n');
            AppendText(bytes.substr(0, lineEnd));
            if (lineEnd == std::string_view::npos) {
                return;
            }
            EndLine();
            bytes.remove_prefix(lineEnd + 1);
        }
    }

    // A last line without a line end is a line all the same.
    void Finish() {
        if (current_ != nullptr) {
            EndLine();
        }
    }

    // The number of lines kept; the store is put in file order first.
    int KeptLines() {
        if (total_ <= BarLinesCapacity) {
            return static_cast<int>(total_);
        }
        lines_.MakeOldestFirst(slot_);
        return BarLinesCapacity;
    }

    // The file line of the first kept line: past the dropped older lines of a long file.
    std::int64_t FirstKeptLine() const {
        return std::max<std::int64_t>(total_ - BarLinesCapacity, 0);
    }

private:
    void StartLine() {
        current_ = &lines_[slot_];
        current_->clear();
        cut_ = false;
    }

    // Keeps the text before the line's first CR, up to StoredLineLimit characters.
    void AppendText(std::string_view text) {
        if (current_ == nullptr) {
            StartLine();
        }
        if (cut_) {
            return;
        }
        const std::size_t carriageReturn = text.find('\r');
        cut_ = carriageReturn != std::string_view::npos;
        const std::size_t room = static_cast<std::size_t>(StoredLineLimit) - current_->size();
        const std::size_t kept = std::min({text.size(), carriageReturn, room});
        current_->append(text.substr(0, kept));
        cut_ = cut_ || kept == room;
    }

    void EndLine() {
        current_ = nullptr;
        ++total_;
        slot_ = slot_ + 1 == BarLinesCapacity ? 0 : slot_ + 1;
    }

    TBarLines& lines_;
    std::string* current_ = nullptr; // the line being read, null between lines
    bool cut_ = false;               // the rest of the current line is not kept
    int slot_ = 0;                   // where the next line goes
    std::int64_t total_ = 0;         // lines ended so far
};

// Opens the file for reading and refuses it while another program holds it for writing (an
// exclusive lock), since the terminal may be in the middle of rewriting it. Only a regular file
// is read: a device or a pipe chosen by mistake could block the open or never end (/dev/zero), and
// the open does not wait for a pipe's writer. -1 on failure.
int OpenUnlessLockedForWriting(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0) {
        return -1;
    }
    struct stat status {};
    if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode) ||
        ::flock(file, LOCK_SH | LOCK_NB) != 0) {
        ::close(file);
        return -1;
    }
    return file;
}

// Reads the whole file into the collector; false on a read error.
bool ReadAll(int file, TLineCollector& collector) {
    std::array<char, ReadChunkSize> chunk;
    for (;;) {
        const ssize_t got = ::read(file, chunk.data(), chunk.size());
        if (got == 0) {
            collector.Finish();
            return true;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        collector.Take(std::string_view(chunk.data(), static_cast<std::size_t>(got)));
    }
}

void PauseAfterFailure(const TReadSettings& settings) {
    if (settings.failedReadPause.count() > 0) {
        std::this_thread::sleep_for(settings.failedReadPause);
    }
}

} // namespace

int ReadBarLines(const std::string& path, const TReadSettings& settings, TBarLines& barLines) {
    std::int64_t firstFileLine = 0;
    return ReadBarLines(path, settings, barLines, firstFileLine);
}

int ReadBarLines(const std::string& path, const TReadSettings& settings, TBarLines& barLines,
                 std::int64_t& firstFileLine) {
    TLineCollector collector(barLines);
    firstFileLine = 0;
    const int file = path.empty() ? -1 : OpenUnlessLockedForWriting(path);
    if (file < 0) {
        PauseAfterFailure(settings);
        return 0;
    }
    const bool complete = ReadAll(file, collector);
    ::close(file);
    const int lineCount = collector.KeptLines();
    firstFileLine = collector.FirstKeptLine();
    if (!complete) {
        PauseAfterFailure(settings);
    }
    return lineCount;
}

} // namespace quillon
