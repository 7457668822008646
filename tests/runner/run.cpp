#include "run.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

extern char** environ;

namespace {

// Long enough for a sanitized build on a loaded machine; a program that never
// shows its prompt hangs until then.
constexpr auto time_limit = std::chrono::seconds(10);

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> result;
    for (auto& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

}  // namespace

Outcome run(const char* program, std::string_view input, const Options& options)
{
    // Everything the child needs is made before fork: after it, only
    // async-signal-safe calls.
    std::vector<std::string> args;
    const char* const programs = std::getenv("PROGRAMS");
    const char* const emulator = std::getenv("LAUNCHER");
    std::istringstream launcher(options.host_tool || !emulator ? "" : emulator);
    for (std::string word; launcher >> word;)
        args.push_back(word);
    args.push_back(options.host_tool ? program : std::string(programs ? programs : ".") + "/" + program + "/" + program);
    args.insert(args.end(), options.args.begin(), options.args.end());
    std::vector<std::string> env = options.env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    auto argv = pointers(args);
    auto envp = pointers(env);

    // The child's ends and ours: [0] its stdin, [1] its stdout, [2] its stderr.
    int child[3], ours_in, ours_out, ours_err;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        std::abort();
    child[2] = fds[1];
    ours_err = fds[0];
    if (options.terminal) {
        const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            std::abort();
        const int slave = open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave < 0)
            std::abort();
        child[0] = child[1] = slave;
        ours_in = ours_out = master;
    } else {
        if (pipe2(fds, O_CLOEXEC) != 0)
            std::abort();
        child[0] = fds[0];
        ours_in = fds[1];
        if (pipe2(fds, O_CLOEXEC) != 0)
            std::abort();
        ours_out = fds[0];
        child[1] = fds[1];
    }
    // A program that exits before reading must not kill the test with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);

    const pid_t pid = fork();
    if (pid < 0)
        std::abort();
    if (pid == 0) {
        std::signal(SIGPIPE, SIG_DFL);
        const int in = options.stdin_path ? open(options.stdin_path, O_RDONLY) : child[0];
        const int out = options.stdout_path ? open(options.stdout_path, O_WRONLY | O_TRUNC) : child[1];
        if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(child[2], 2) < 0)
            _exit(126);
        if (options.close_stdin)
            close(0);
        if (options.close_stdout)
            close(1);
        if (options.file_size_limit >= 0) {
            // Past the limit a write then fails with EFBIG instead of killing.
            const rlimit limit{static_cast<rlim_t>(options.file_size_limit),
                               static_cast<rlim_t>(options.file_size_limit)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0 || signal(SIGXFSZ, SIG_IGN) == SIG_ERR)
                _exit(126);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }

    close(child[0]);
    if (child[1] != child[0])
        close(child[1]);
    close(child[2]);

    Outcome result;
    std::string_view pending = input;
    // With stdin_path the input goes nowhere, but the pipe is still closed.
    bool input_open = true;
    bool out_open = true, err_open = true;
    const auto deadline = std::chrono::steady_clock::now() + time_limit;
    while (out_open || err_open) {
        if (input_open && (options.await.empty() || result.out.find(options.await) != std::string::npos)) {
            while (!pending.empty()) {
                const ssize_t n = write(ours_in, pending.data(), pending.size());
                if (n <= 0)
                    break;
                pending.remove_prefix(static_cast<size_t>(n));
            }
            // On a terminal the input channel is also the output one.
            if (!options.terminal)
                close(ours_in);
            input_open = false;
        }
        pollfd polled[2] = {{out_open ? ours_out : -1, POLLIN, 0}, {err_open ? ours_err : -1, POLLIN, 0}};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || poll(polled, 2, static_cast<int>(left.count())) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            result.status = -1;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (polled[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t n = read(polled[i].fd, buffer, sizeof buffer);
            // A terminal whose last user has gone reads as EIO, not as 0.
            if (n <= 0) {
                (i == 0 ? out_open : err_open) = false;
                continue;
            }
            (i == 0 ? result.out : result.err).append(buffer, static_cast<size_t>(n));
        }
    }
    if (input_open && !options.terminal)
        close(ours_in);
    close(ours_out);
    close(ours_err);
    if (out_open || err_open)
        return result;

    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

std::string on_terminal(std::string_view text)
{
    std::string shown;
    for (const char c : text) {
        if (c == '\n')
            shown += '\r';
        shown += c;
    }
    return shown;
}

void expect_success(const Outcome& outcome, std::string_view out)
{
    EXPECT_EQ(outcome.out, out);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.status, 0);
}
