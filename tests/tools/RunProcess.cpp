#include "tests/tools/RunProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <thread>
#include <utility>

extern char** environ;

namespace quillon {

namespace {

std::string ContentOf(std::FILE* file) {
    std::string text(static_cast<std::size_t>(::lseek(fileno(file), 0, SEEK_END)), '\0');
    if (::pread(fileno(file), text.data(), text.size(), 0) != std::ssize(text)) {
        throw std::runtime_error("cannot read a scratch file");
    }
    return text;
}

// Starts program through env, so that environment's settings reach it, with actions on its
// descriptors, which it then destroys.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& environment, posix_spawn_file_actions_t* actions) {
    std::vector<std::string> texts{"/usr/bin/env"};
    texts.insert(texts.end(), environment.begin(), environment.end());
    texts.push_back(program);
    texts.insert(texts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, argv[0], actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + program);
    }
    return child;
}

// The exit code of a child waited for, -1 when it did not exit normally.
int WaitFor(pid_t child) {
    int status = -1; // as a program that did not exit normally, should the wait fail
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                          const std::vector<std::string>& environment) {
    const TFile out(std::tmpfile(), &std::fclose);
    const TFile err(std::tmpfile(), &std::fclose);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fileno(out.get()), 1);
    posix_spawn_file_actions_adddup2(&actions, fileno(err.get()), 2);
    const pid_t child = Spawn(program, args, environment, &actions);
    const int exitCode = WaitFor(child);
    return {exitCode, ContentOf(out.get()), ContentOf(err.get())};
}

TRunningProcess::TRunningProcess(const std::string& program, const std::vector<std::string>& args,
                                 const std::vector<std::string>& environment)
    : err_(std::tmpfile(), &std::fclose) {
    int pipe[2];
    if (!err_ || ::pipe2(pipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot make the output of " + program);
    }
    out_ = pipe[0];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fileno(err_.get()), 2);
    try {
        pid_ = Spawn(program, args, environment, &actions);
    } catch (...) {
        ::close(pipe[1]);
        ::close(out_);
        throw;
    }
    ::close(pipe[1]);
}

TRunningProcess::~TRunningProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        WaitFor(pid_);
    }
    ::close(out_);
}

std::optional<std::string> TRunningProcess::ReadLine(std::chrono::milliseconds timeout) {
    const auto giveUp = std::chrono::steady_clock::now() + timeout;
    std::size_t end = 0;
    while ((end = read_.find('\n')) == std::string::npos) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(giveUp - std::chrono::steady_clock::now());
        pollfd wait{out_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) <= 0 ||
            !ReadSome()) {
            return std::nullopt;
        }
    }
    std::string line = read_.substr(0, end);
    read_.erase(0, end + 1);
    return line;
}

bool TRunningProcess::ReadSome() {
    char buffer[4096];
    const ssize_t got = ::read(out_, buffer, sizeof(buffer));
    if (got > 0) {
        read_.append(buffer, static_cast<std::size_t>(got));
    }
    return got > 0;
}

TProcessResult TRunningProcess::Stop(int signal, std::chrono::milliseconds timeout) {
    ::kill(pid_, signal);
    // A program that does not end on the signal is killed, rather than the test waiting for ever.
    const auto giveUp = std::chrono::steady_clock::now() + timeout;
    siginfo_t ended{};
    while (::waitid(P_PID, static_cast<id_t>(pid_), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           ended.si_pid == 0 && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid_, SIGKILL);
    const int exitCode = WaitFor(pid_);
    pid_ = 0;
    while (ReadSome()) {
    }
    return {exitCode, std::exchange(read_, {}), ContentOf(err_.get())};
}

} // namespace quillon
