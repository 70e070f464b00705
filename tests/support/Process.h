#pragma once

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace tw::test {

/// What a finished program left behind.
struct ProcessResult {
    int exitCode = -1;
    std::string out;  ///< standard output
    std::string err;  ///< standard error
};

/// Runs `program` with `arguments` in `directory` and waits for it. `environment` holds
/// "NAME=value" entries that replace or add to this process's environment.
inline ProcessResult runProgram(const std::string& program,
                                const std::vector<std::string>& arguments,
                                const std::string& directory = ".",
                                const std::vector<std::string>& environment = {}) {
    ProcessResult result;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return result;
    }
    // Standard error goes to an unnamed file, read once the program has ended, so that neither
    // stream can fill up and block the program while the other is read.
    const int errors = ::open("/tmp", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errors >= 0 ? errors : pipeEnds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text = *entry;
        bool replaced = false;
        const std::string_view name = text.substr(0, text.find('=') + 1);
        for (const std::string& given : environment) {
            replaced = replaced || name == given.substr(0, given.find('=') + 1);
        }
        if (!replaced) {
            envp.push_back(*entry);
        }
    }
    for (const std::string& given : environment) {
        envp.push_back(const_cast<char*>(given.c_str()));
    }
    envp.push_back(nullptr);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        if (errors >= 0) {
            ::close(errors);
        }
        return result;
    }
    char buffer[65536];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        result.out.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (errors >= 0) {
        ::lseek(errors, 0, SEEK_SET);
        for (ssize_t got; (got = ::read(errors, buffer, sizeof buffer)) > 0;) {
            result.err.append(buffer, static_cast<std::size_t>(got));
        }
        ::close(errors);
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

}  // namespace tw::test
