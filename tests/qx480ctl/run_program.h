// Runs a program of the run-time folder as a user would from a terminal: with arguments, some
// environment variables set for it alone, its output collected.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/platform/temp_folder.h"

extern char** environ;

namespace qx::testing {

struct ProgramResult {
    int exitCode = -1;  // -1: did not end normally
    std::string out;
    std::string err;
};

// `errorTo`, when given, becomes the program's error stream (a terminal, say) instead of a file;
// `err` then stays empty.
inline ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::map<std::string, std::string>& env, int errorTo = -1) {
    TempFolder capture;
    const std::string outPath = capture.File("out");
    const std::string errPath = capture.File("err");

    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        if (!env.contains(text.substr(0, text.find('=')))) {
            environment.push_back(text);
        }
    }
    for (const auto& [name, value] : env) {
        environment.push_back(name + '=' + value);
    }
    std::vector<char*> envp;
    for (std::string& text : environment) {
        envp.push_back(text.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (errorTo >= 0) {
        posix_spawn_file_actions_adddup2(&actions, errorTo, STDERR_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    pid_t pid = 0;
    ProgramResult result;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
            result.exitCode = WEXITSTATUS(status);
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = ReadBytes(outPath);
    if (errorTo < 0) {
        result.err = ReadBytes(errPath);
    }
    return result;
}

// Sets variables of this process's environment for as long as it lives, then puts back what
// was there.
class ScopedEnvironment {
  public:
    explicit ScopedEnvironment(const std::map<std::string, std::string>& values) {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old == nullptr ? std::nullopt : std::optional<std::string>(old);
            ::setenv(name.c_str(), value.c_str(), 1);
        }
    }
    ~ScopedEnvironment() {
        for (const auto& [name, old] : saved_) {
            if (old) {
                ::setenv(name.c_str(), old->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace qx::testing
