// Writes a program's manual page from what its --help and --version print, at build time:
//   tw_make_manpage PROGRAM EXTRA_SECTIONS DATE OUTPUT
// EXTRA_SECTIONS is a file of hand-written sections in man markup.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "ManPage.h"

extern char** environ;

namespace {

/// What `program argument` prints on standard output; nothing when it cannot be run or fails.
std::optional<std::string> outputOf(const char* program, const char* argument) {
    int ends[2];
    if (::pipe(ends) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    char* argv[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (spawned != 0) {
        ::close(ends[0]);
        return std::nullopt;
    }
    std::string output;
    char buffer[4096];
    for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(ends[0]);
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return output;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fputs("usage: tw_make_manpage PROGRAM EXTRA_SECTIONS DATE OUTPUT\n", stderr);
        return 2;
    }
    tw::manpage::ManPageSource source;
    const std::optional<std::string> help = outputOf(argv[1], "--help");
    const std::optional<std::string> version = outputOf(argv[1], "--version");
    if (!help || !version) {
        std::fprintf(stderr, "tw_make_manpage: %s --help or --version failed\n", argv[1]);
        return 1;
    }
    source.helpText = *help;
    source.versionText = *version;
    source.date = argv[3];
    std::ifstream extra(argv[2], std::ios::binary);
    if (!extra) {
        std::fprintf(stderr, "tw_make_manpage: cannot read %s\n", argv[2]);
        return 1;
    }
    source.extraSections.assign(std::istreambuf_iterator<char>(extra), {});
    std::ofstream out(argv[4], std::ios::binary | std::ios::trunc);
    out << tw::manpage::manPage(source);
    out.close();
    if (!out) {
        std::fprintf(stderr, "tw_make_manpage: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
