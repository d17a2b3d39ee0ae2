#include "tools/ToolOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/ToolCommand.h"

namespace quillon {

int WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

void HoldStandardStreams() {
    // In order, so that every lower descriptor is open and open() gives the closed one.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            ::open("/dev/null", O_RDONLY);
        }
    }
}

int FinishTool(std::string_view program, int status, const std::string& out, std::string err) {
    if (!out.empty()) {
        int error = WriteAll(STDOUT_FILENO, out);
        // A file on a network disk may tell of a failed write only when it is closed.
        if (error == 0 && ::close(STDOUT_FILENO) != 0 && errno != EINTR) {
            error = errno;
        }
        if (error != 0) {
            err = std::string(program) +
                  ": cannot write to standard output: " + std::strerror(error) + "\n";
            status = ExitFailure;
        }
    }
    WriteAll(STDERR_FILENO, err);
    return status;
}

} // namespace quillon
