#include "program_run.hpp"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace numscan::testing {
namespace {

std::string env_or(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

void fail(const char* what) {
    throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

}  // namespace

std::vector<std::string> program_command() {
    std::vector<std::string> command;
    const std::string launcher = env_or("NUMSCAN_LAUNCHER", "");
    if (!launcher.empty()) {
        command.push_back(launcher);
    }
    command.push_back(env_or("NUMSCAN_PROGRAM", "numscan"));
    return command;
}

std::vector<std::string> shell_command(const std::string& script) {
    std::vector<std::string> command = {"/bin/sh", "-c", script, "sh"};
    const std::vector<std::string> program = program_command();
    command.insert(command.end(), program.begin(), program.end());
    return command;
}

bool expects_crlf() { return env_or("NUMSCAN_LINE_END", "lf") == "crlf"; }

std::string with_line_ends(std::string_view text) {
    std::string result;
    for (const char c : text) {
        if (c == '\n' && expects_crlf()) {
            result += '\r';
        }
        result += c;
    }
    return result;
}

std::string report(std::string_view text, std::string_view value, std::string_view sum) {
    std::string out = "You entered \"";
    out.append(text).append("\"\nIn base 10, this number is ").append(value);
    out.append("\nYour number + 1 is:  ").append(sum);
    return out;
}

RunResult run_program(const std::vector<std::string>& args, std::string_view input, OutputTo output,
                      InputFrom from) {
    std::vector<std::string> command = program_command();
    command.insert(command.end(), args.begin(), args.end());
    return run_command(std::move(command), input, output, from);
}

RunResult run_command(std::vector<std::string> command, std::string_view input, OutputTo output,
                      InputFrom from) {
    std::vector<char*> argv;
    for (std::string& word : command) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    int in_pipe[2];
    int out_pipe[2];
    int err_pipe[2];
    if (pipe2(in_pipe, O_CLOEXEC) != 0 || pipe2(out_pipe, O_CLOEXEC) != 0 ||
        pipe2(err_pipe, O_CLOEXEC) != 0) {
        fail("pipe");
    }
    // Standard input other than the pipe, opened here so that the child
    // only has to put it in place.
    int source = -1;
    int idle_writer = -1;  // held open until the child has ended
    if (from == InputFrom::directory) {
        source = open("/", O_RDONLY | O_CLOEXEC);
    } else if (from == InputFrom::failing_file) {
        // Reading this process's memory from address 0, which is never
        // mapped, fails with EIO for as long as this process lives.
        source = open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    } else if (from == InputFrom::reset_socket) {
        // The input goes to the child's end; a byte sent the other way is
        // left unread, so closing this end resets the connection, and the
        // child's read after the input fails with ECONNRESET.
        int ends[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0 ||
            write(ends[1], "?", 1) != 1 ||
            write(ends[0], input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
            fail("socketpair");
        }
        close(ends[0]);
        source = ends[1];
    } else if (from == InputFrom::idle_nonblocking_pipe) {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
            fail("pipe");
        }
        source = ends[0];
        idle_writer = ends[1];
    }
    if (from != InputFrom::pipe && from != InputFrom::closed && source < 0) {
        fail("standard input");
    }
    const pid_t pid = fork();
    if (pid < 0) {
        fail("fork");
    }
    if (pid == 0) {
        const bool ignore_sigpipe = output == OutputTo::broken_pipe_sigpipe_ignored;
        std::signal(SIGPIPE, ignore_sigpipe ? SIG_IGN : SIG_DFL);
        if (from == InputFrom::pipe) {
            dup2(in_pipe[0], STDIN_FILENO);
        } else if (from == InputFrom::closed) {
            close(STDIN_FILENO);
        } else {
            dup2(source, STDIN_FILENO);
        }
        dup2(err_pipe[1], STDERR_FILENO);
        if (output == OutputTo::pipe) {
            dup2(out_pipe[1], STDOUT_FILENO);
        } else if (output == OutputTo::dev_full) {
            const int full = open("/dev/full", O_WRONLY);
            dup2(full, STDOUT_FILENO);
        } else if (output == OutputTo::broken_pipe || ignore_sigpipe) {
            int broken[2];
            if (pipe(broken) != 0) {
                _exit(126);
            }
            close(broken[0]);  // no reader: a write raises SIGPIPE
            dup2(broken[1], STDOUT_FILENO);
        } else {
            close(STDOUT_FILENO);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(in_pipe[0]);
    close(out_pipe[1]);
    close(err_pipe[1]);
    if (source >= 0) {
        close(source);
    }

    // Feed input and drain both outputs together, so that no pipe fills up
    // while the other side waits.
    std::signal(SIGPIPE, SIG_IGN);
    RunResult result{};
    std::size_t fed = 0;
    int in_fd = in_pipe[1];
    if (input.empty() || from != InputFrom::pipe) {
        close(in_fd);
        in_fd = -1;
    }
    bool out_open = true;
    bool err_open = true;
    char chunk[65536];
    while (out_open || err_open) {
        pollfd fds[3] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}, {in_fd, POLLOUT, 0}};
        fds[0].fd = out_open ? out_pipe[0] : -1;
        fds[1].fd = err_open ? err_pipe[0] : -1;
        if (poll(fds, 3, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("poll");
        }
        if (fds[2].revents != 0) {
            const ssize_t n = write(in_fd, input.data() + fed, input.size() - fed);
            if (n > 0) {
                fed += static_cast<std::size_t>(n);
            }
            if (n < 0 || fed == input.size()) {
                close(in_fd);  // all fed, or the child stopped reading
                in_fd = -1;
            }
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].revents == 0) {
                continue;
            }
            const ssize_t n = read(fds[i].fd, chunk, sizeof chunk);
            if (n <= 0) {
                (i == 0 ? out_open : err_open) = false;
            } else {
                (i == 0 ? result.out : result.err).append(chunk, static_cast<std::size_t>(n));
            }
        }
    }
    if (in_fd >= 0) {
        close(in_fd);
    }
    close(out_pipe[0]);
    close(err_pipe[0]);

    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            fail("wait4");
        }
    }
    if (idle_writer >= 0) {
        close(idle_writer);
    }
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.max_rss_kib = usage.ru_maxrss;
    return result;
}

}  // namespace numscan::testing
