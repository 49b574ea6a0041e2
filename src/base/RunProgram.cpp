// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/RunProgram.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

// Runs the program with its standard output into `output` when one is given.
int Run(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
        std::string* output)
{
    if (argv.empty())
        return -1;
    int pipeFds[2] = {-1, -1};
    if (output != nullptr && pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (output != nullptr)
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output != nullptr)
        close(pipeFds[1]);
    const auto drain = [&] {
        if (output == nullptr)
            return;
        char buffer[4096];
        ssize_t n = 0;
        while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
            output->append(buffer, static_cast<std::size_t>(n));
    };
    const auto finish = [&](int result) {
        drain();
        if (output != nullptr)
            close(pipeFds[0]);
        return result;
    };
    if (spawned != 0)
        return finish(-1);

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;) {
        drain();
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return finish(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        if (done < 0)
            return finish(-1);
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return finish(-1);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

} // namespace

int RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout)
{
    return Run(argv, timeout, nullptr);
}

std::optional<std::string> ProgramOutput(const std::vector<std::string>& argv,
                                         std::chrono::milliseconds timeout)
{
    std::string output;
    if (Run(argv, timeout, &output) != 0)
        return std::nullopt;
    return output;
}
