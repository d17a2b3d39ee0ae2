#include "tools/FileInPlace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace quillon {

namespace {

// How many names beside the target are tried before giving up on finding a free one.
constexpr int NameAttempts = 100;

// A new file of the user's default permissions (the mode with the umask applied), named after
// target and the process; its descriptor, or -1 with errno set.
int CreateBeside(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        name = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Gives fd the permissions of the file it replaces, writes bytes to it and gets them to the disk;
// the errno of the call that failed, or 0.
int FillReplacement(int fd, const std::string& target, std::string_view bytes) {
    struct stat replaced {};
    if (::stat(target.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode) &&
        ::fchmod(fd, replaced.st_mode & 07777) != 0) {
        return errno;
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR) {
            return errno;
        }
        bytes.remove_prefix(written < 0 ? 0 : static_cast<std::size_t>(written));
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

} // namespace

void WriteFileInPlace(const std::string& path, std::string_view bytes) {
    // The file a symbolic link points at is the one to replace; a path that does not resolve is
    // written as given.
    std::error_code unresolved;
    const std::filesystem::path resolved = std::filesystem::canonical(path, unresolved);
    const std::string target = unresolved ? path : resolved.string();
    std::string temporary;
    const int fd = CreateBeside(target, temporary);
    int error = fd < 0 ? errno : FillReplacement(fd, target, bytes);
    if (fd >= 0 && ::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        if (fd >= 0) {
            ::unlink(temporary.c_str());
        }
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(error));
    }
}

} // namespace quillon
