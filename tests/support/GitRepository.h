#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "support/Process.h"

namespace tw::test {

/// The `git` program on PATH; empty when there is none.
inline std::string gitProgram() {
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "/usr/bin:/bin";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string candidate = std::string(rest.substr(0, colon)) + "/git";
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return {};
}

/// Runs `git` for tests in an environment of their own: the user's and the system's git
/// configuration are out of the way, `home` stands for the user's home directory, commits have
/// a fixed author. Programs under test that read git repositories get the same environment.
class GitCommands {
  public:
    explicit GitCommands(const std::string& home)
        : program_(gitProgram()),
          environment_{"HOME=" + home,
                       "XDG_CONFIG_HOME=" + home + "/.config",
                       "GIT_CONFIG_NOSYSTEM=1",
                       "GIT_AUTHOR_NAME=Test",
                       "GIT_AUTHOR_EMAIL=test@example.invalid",
                       "GIT_COMMITTER_NAME=Test",
                       "GIT_COMMITTER_EMAIL=test@example.invalid"} {}

    bool available() const { return !program_.empty(); }
    const std::vector<std::string>& environment() const { return environment_; }

    /// Runs git with `arguments` in `directory`.
    ProcessResult run(const std::string& directory, std::vector<std::string> arguments) const {
        // Local clones for submodules, and one branch name, whatever the git version.
        arguments.insert(arguments.begin(),
                         {"-c", "protocol.file.allow=always", "-c", "init.defaultBranch=main"});
        return runProgram(program_, arguments, directory, environment_);
    }

    /// The lines git lists with `arguments` in `directory`, for instance `ls-files`.
    std::vector<std::string> lines(const std::string& directory,
                                   std::vector<std::string> arguments) const {
        const ProcessResult result = run(directory, std::move(arguments));
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < result.out.size()) {
            const std::size_t end = result.out.find('\n', start);
            lines.push_back(result.out.substr(start, end - start));
            start = end == std::string::npos ? result.out.size() : end + 1;
        }
        return lines;
    }

  private:
    std::string program_;
    std::vector<std::string> environment_;
};

}  // namespace tw::test
