#include "tests/tools/RunProcess.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <stdexcept>

extern char** environ;

namespace quillon {

namespace {

// The output goes to unnamed files rather than pipes, so the program never waits for a reader.
using TFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

std::string ContentOf(std::FILE* file) {
    std::string text(static_cast<std::size_t>(::lseek(fileno(file), 0, SEEK_END)), '\0');
    if (::pread(fileno(file), text.data(), text.size(), 0) != std::ssize(text)) {
        throw std::runtime_error("cannot read a scratch file");
    }
    return text;
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

    // env sets the changed variables and then replaces itself with the program.
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
    const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + program);
    }
    int status = -1; // as a program that did not exit normally, should the wait fail
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ContentOf(out.get()),
            ContentOf(err.get())};
}

} // namespace quillon
