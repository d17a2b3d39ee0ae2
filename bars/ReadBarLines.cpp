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
#include <ctime>
#include <string_view>
#include <thread>

namespace quillon {

namespace {

// The file is read in pieces of this size: a typical bar file (1,900 lines, about 90 KB) takes two
// system calls, and a file of any size costs no more memory than this.
constexpr std::size_t ReadChunkSize = 64 * 1024;
// The most text reserved before a read, whatever the file's size.
constexpr off_t MostTextReserved = 4 << 20;

// Splits the bytes of a file into lines and stores them, so that after any number of lines the
// store holds the newest BarLinesCapacity of them.
class TLineCollector {
public:
    explicit TLineCollector(TBarLines& lines)
        : lines_(lines) {
        lines_.Clear();
    }

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
        if (inLine_) {
            EndLine();
        }
    }

    int KeptLines() const { return lines_.Count(); }

    // The file line of the first kept line: past the dropped older lines of a long file.
    std::int64_t FirstKeptLine() const {
        return std::max<std::int64_t>(total_ - BarLinesCapacity, 0);
    }

private:
    // Keeps the text before the line's first CR, up to StoredLineLimit characters.
    void AppendText(std::string_view text) {
        if (!inLine_) {
            lines_.StartLine();
            inLine_ = true;
            lineSize_ = 0;
            cut_ = false;
        }
        if (cut_) {
            return;
        }
        const std::size_t carriageReturn = text.find('\r');
        cut_ = carriageReturn != std::string_view::npos;
        const std::size_t room = static_cast<std::size_t>(StoredLineLimit) - lineSize_;
        const std::size_t kept = std::min({text.size(), carriageReturn, room});
        lines_.AppendToLine(text.substr(0, kept));
        lineSize_ += kept;
        cut_ = cut_ || kept == room;
    }

    void EndLine() {
        inLine_ = false;
        ++total_;
    }

    TBarLines& lines_;
    bool inLine_ = false;      // a line is begun and not yet ended
    std::size_t lineSize_ = 0; // the characters of the current line kept
    bool cut_ = false;         // the rest of the current line is not kept
    std::int64_t total_ = 0;   // lines ended so far
};

// Between two tries on a file being written: a try costs little (an open and a look at the file's
// state unless it has settled), and a file that settles is read at most this much later.
constexpr std::chrono::milliseconds SettlePollInterval{10};

TReadFailure FailureOfOpen(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return TReadFailure::NoSuchFile;
    case EACCES:
    case EPERM:
        return TReadFailure::PermissionDenied;
    default:
        return TReadFailure::ReadError;
    }
}

// Whether another program holds the file for writing. Linux keeps two kinds of lock apart, whole
// file locks (flock) and POSIX record locks (fcntl, lockf), and a writer may take either, so both
// are asked. A record lock is only looked for, not taken: the read needs none of its own.
bool IsLockedForWriting(int file) {
    if (::flock(file, LOCK_SH | LOCK_NB) != 0) {
        return true;
    }
    struct flock probe {};
    probe.l_type = F_RDLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0; // to the end of the file, however far it grows
    return ::fcntl(file, F_GETLK, &probe) != 0 || probe.l_type != F_UNLCK;
}

// Reads the whole file into the collector, counting the bytes; false on a read error.
bool ReadAll(int file, TLineCollector& collector, std::int64_t& bytesRead) {
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
        bytesRead += got;
        collector.Take(std::string_view(chunk.data(), static_cast<std::size_t>(got)));
    }
}

// Reads the open file unless a writer is at it. Only a regular file is read: a device or a pipe
// chosen by mistake could block the read or never end (/dev/zero). The time is taken before the
// file's state, so that a delay between the two can only make the file look more recent.
TReadResult ReadOpenFile(int file, const std::string& path, TBarLines& barLines) {
    timespec now{};
    struct stat before {};
    if (::clock_gettime(CLOCK_REALTIME, &now) != 0 || ::fstat(file, &before) != 0) {
        return {.failure = TReadFailure::ReadError};
    }
    if (!S_ISREG(before.st_mode)) {
        return {.failure = TReadFailure::NotARegularFile};
    }
    if (IsLockedForWriting(file) || IsRecentlyModified(before, now)) {
        return {.failure = TReadFailure::HeldOrBeingWritten};
    }
    TLineCollector collector(barLines);
    // A typical file's text at once, a huge one's as the store's bound lets it grow.
    barLines.Reserve(static_cast<std::size_t>(std::min<off_t>(before.st_size, MostTextReserved)));
    std::int64_t bytesRead = 0;
    const bool complete = ReadAll(file, collector, bytesRead);
    if (complete && !IsUnchangedSince(file, path, before, bytesRead)) {
        return {.failure = TReadFailure::HeldOrBeingWritten};
    }
    return {collector.KeptLines(), collector.FirstKeptLine(),
            complete ? TReadFailure::None : TReadFailure::ReadError};
}

// One try. The open does not wait for a pipe's writer.
TReadResult ReadOnce(const std::string& path, TBarLines& barLines) {
    if (path.empty()) {
        return {.failure = TReadFailure::NoSuchFile};
    }
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0) {
        return {.failure = FailureOfOpen(errno)};
    }
    const TReadResult result = ReadOpenFile(file, path, barLines);
    ::close(file);
    return result;
}

} // namespace

const char* ReadFailureText(TReadFailure failure) {
    switch (failure) {
    case TReadFailure::None:
        break;
    case TReadFailure::NoSuchFile:
        return "no such file";
    case TReadFailure::NotARegularFile:
        return "not a regular file";
    case TReadFailure::PermissionDenied:
        return "permission denied";
    case TReadFailure::HeldOrBeingWritten:
        return "held or being written by another program";
    case TReadFailure::ReadError:
        return "read error";
    }
    return "read";
}

TReadResult ReadBarLines(const std::string& path, const TReadSettings& settings,
                         TBarLines& barLines) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const Clock::time_point giveUp = start + settings.settleWait;
    TReadResult result = ReadOnce(path, barLines);
    while (result.failure == TReadFailure::HeldOrBeingWritten && Clock::now() < giveUp) {
        std::this_thread::sleep_for(
            std::min<Clock::duration>(SettlePollInterval, giveUp - Clock::now()));
        result = ReadOnce(path, barLines);
    }
    // The time spent waiting for the file to settle is part of the pause, so that waiting costs
    // the caller no more than the pause alone did.
    const Clock::time_point pauseEnd = start + settings.failedReadPause;
    if (result.failure != TReadFailure::None && Clock::now() < pauseEnd) {
        std::this_thread::sleep_until(pauseEnd);
    }
    return result;
}

} // namespace quillon
