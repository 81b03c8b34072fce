// The program at a terminal: a pseudo-terminal stands in for the user's, so
// the prompt must reach it before anything is typed, and the console rules for
// Ctrl-Z (typed as Ctrl-V Ctrl-Z, since Ctrl-Z alone is job control) and
// Ctrl-D apply to what is typed. The Windows program runs on the console Wine
// makes of the same terminal.
#include "program_run.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

using numscan::testing::expects_crlf;
using numscan::testing::kPrompt;
using numscan::testing::kRowName;
using numscan::testing::program_command;
using numscan::testing::report;
using numscan::testing::with_line_ends;

const std::string kCtrlZ = "\x16\x1a";  // Ctrl-V, then the literal Ctrl-Z byte
const std::string kCtrlD = "\x04";
const std::string kCr = "\x16\r";  // Ctrl-V, then a CR that is not a line end

// Wine's console, which the Windows program runs on, takes the terminal out
// of canonical mode once it starts and reads the keys itself: Enter is a CR,
// Ctrl-Z a plain byte, and it echoes the line, Ctrl-Z as ^Z. It hides and
// shows the cursor around each character it writes and moves over blanks
// rather than writing them; console_text undoes that.
bool on_wine_console() { return expects_crlf(); }

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string console_keys(const std::string& keys) {
    return replace_all(replace_all(keys, kCtrlZ, "\x1a"), "\n", "\r");
}

std::string console_echo(const std::string& keys) {
    return replace_all(replace_all(keys, "\x1a", "^Z"), "\r", "\r\n");
}

std::string console_text(const std::string& out) {
    return replace_all(replace_all(replace_all(out, "\x1b[?25l", ""), "\x1b[?25h", ""),
                       "\x1b[K\x1b[1C", " ");
}

struct Session {
    std::string before_typing;  // output seen before the first key was sent
    std::string after_typing;   // the rest of the output
    std::string error;          // standard error, where it went to a file
    int status = -1;
};

// Reads from fd into out until it holds want (when given), end of output, or
// the deadline; says whether want was seen.
bool read_until(int fd, std::string& out, const std::string& want,
                std::chrono::steady_clock::time_point deadline) {
    char chunk[4096];
    while (want.empty() || out.find(want) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n <= 0) {
            return want.empty();  // EIO: the terminal's last user has gone
        }
        out.append(chunk, static_cast<std::size_t>(n));
        if (on_wine_console()) {
            out = console_text(out);
        }
    }
    return true;
}

// Waits until process pid sleeps, as it does once it has taken what was
// typed and waits in its next read, or until the deadline.
void wait_until_asleep(pid_t pid, std::chrono::steady_clock::time_point deadline) {
    const std::string stat = "/proc/" + std::to_string(pid) + "/stat";
    for (;;) {
        std::ifstream in(stat);
        std::string line;
        std::getline(in, line);
        // The state follows the command's name, which ends at the last ')'.
        const auto end = line.rfind(')');
        if (end == std::string::npos || line.compare(end, 3, ") S") == 0 ||
            std::chrono::steady_clock::now() > deadline) {
            return;
        }
        usleep(10'000);
    }
}

// Which standard streams are the terminal: all three; all but standard input,
// which a pipe feeds the keys to, with standard error sent to /dev/null; all
// but standard output, which goes to a pipe that is read instead; all but
// standard error, which goes to a file that is read once the program ends;
// or only standard output, with standard error to a file and the keys fed
// through a socket that is reset after them, so that the next read fails.
enum class Streams { terminal, input_pipe, output_pipe, error_to_file, input_reset };

// Starts command on a new pseudo-terminal with echo, output processing and
// signal keys off, so what is read back is exactly what the program wrote and
// every key reaches it; waits for wait_for on the terminal (and on Wine's
// console until it has taken the terminal over), then sends each of keys in
// turn. With hang_up the terminal then hangs up, as a closed terminal window
// does, on a program that ignores SIGHUP, so its reads fail.
Session run_at_terminal(std::vector<std::string> command, const std::string& wait_for,
                        const std::vector<std::string>& keys, Streams streams = Streams::terminal,
                        bool hang_up = false) {
    std::vector<char*> argv;
    for (std::string& word : command) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    int stream_pipe[2] = {-1, -1};
    // Close-on-exec, so that the program holds only the end it is given: with
    // the other end open it would never see its standard input end. The
    // socket's byte sent back from the program's end is never read, so
    // closing the typing end resets the connection.
    const bool keys_piped = streams == Streams::input_pipe || streams == Streams::input_reset;
    const bool piped = keys_piped || streams == Streams::output_pipe;
    bool made = true;
    if (streams == Streams::input_reset) {
        made = socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, stream_pipe) == 0 &&
               write(stream_pipe[0], "?", 1) == 1;
    } else if (piped) {
        made = pipe2(stream_pipe, O_CLOEXEC) == 0;
    }
    if (!made) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    const bool error_to_file = streams == Streams::error_to_file || streams == Streams::input_reset;
    std::FILE* error_file = error_to_file ? std::tmpfile() : nullptr;
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        termios mode{};
        tcgetattr(STDIN_FILENO, &mode);
        mode.c_lflag &= ~static_cast<tcflag_t>(ECHO | ISIG);
        mode.c_oflag &= ~static_cast<tcflag_t>(OPOST);
        tcsetattr(STDIN_FILENO, TCSANOW, &mode);
        if (keys_piped) {
            dup2(stream_pipe[0], STDIN_FILENO);
        }
        if (streams == Streams::input_pipe) {
            const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
            dup2(null, STDERR_FILENO);
        } else if (streams == Streams::output_pipe) {
            dup2(stream_pipe[1], STDOUT_FILENO);
        } else if (error_file != nullptr) {
            dup2(fileno(error_file), STDERR_FILENO);
        }
        if (hang_up) {
            std::signal(SIGHUP, SIG_IGN);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    // The keys go to the pipe's writing end for input_pipe; the output comes
    // from its reading end for output_pipe.
    const int keys_fd = keys_piped ? stream_pipe[1] : master;
    const int output_fd = streams == Streams::output_pipe ? stream_pipe[0] : master;
    if (piped) {
        close(keys_piped ? stream_pipe[0] : stream_pipe[1]);
    }
    Session session;
    if (pid < 0) {
        ADD_FAILURE() << "forkpty failed";
        return session;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    if (!wait_for.empty()) {
        EXPECT_TRUE(read_until(master, session.before_typing, wait_for, deadline))
            << "not seen before typing: " << wait_for << "; seen: " << session.before_typing;
    }
    termios mode{};
    // (Wine's console reads the terminal only where standard input is that.)
    while (on_wine_console() && !keys_piped && tcgetattr(master, &mode) == 0 &&
           (mode.c_lflag & ICANON) != 0 && std::chrono::steady_clock::now() < deadline) {
        usleep(10'000);
    }
    for (const std::string& key : keys) {
        // One write a key group, each given time to reach the program on its
        // own, as typing does.
        EXPECT_EQ(write(keys_fd, key.data(), key.size()), static_cast<ssize_t>(key.size()));
        usleep(50'000);
    }
    if (keys_piped) {
        close(keys_fd);
    }
    if (hang_up) {
        // A read under way when the terminal hangs up fails; one begun later
        // would find the end of the input instead.
        wait_until_asleep(pid, deadline);
    } else {
        read_until(output_fd, session.after_typing, "", deadline);
    }
    if (output_fd != master) {
        close(output_fd);
    }
    close(master);
    int status = 0;
    waitpid(pid, &status, 0);
    session.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (error_file != nullptr) {
        lseek(fileno(error_file), 0, SEEK_SET);
        read_until(fileno(error_file), session.error, "", deadline);
        std::fclose(error_file);
    }
    return session;
}

struct TypedCase {
    std::string name;
    std::vector<std::string> keys;
    std::string expected_text;
    std::string value;
    std::string sum;
    Streams streams = Streams::terminal;
};

void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.name; }

class AtTerminal : public ::testing::TestWithParam<TypedCase> {};

// The prompt is on screen before anything is typed wherever standard output
// is the terminal, even with standard input a pipe, which makes the C library
// write out nothing before it reads: only the program's own set-up of
// standard output puts it there. A pipe gets it with the report.
TEST_P(AtTerminal, PromptsThenReportsTypedLine) {
    const TypedCase& c = GetParam();
    const bool on_screen = c.streams != Streams::output_pipe;
    std::vector<std::string> keys = c.keys;
    std::string echo;
    for (std::string& key : keys) {
        if (on_wine_console()) {
            key = console_keys(key);
            echo += console_echo(key);
        }
    }
    const Session s = run_at_terminal(program_command(), on_screen ? kPrompt : "", keys, c.streams);
    EXPECT_EQ(s.before_typing, on_screen ? kPrompt : "");
    EXPECT_EQ(s.before_typing + s.after_typing,
              kPrompt + echo + with_line_ends(report(c.expected_text, c.value, c.sum)));
    EXPECT_EQ(s.status, 0);
}

// Rows that hold on every console, the Windows program's under Wine included.
// clang-format off
INSTANTIATE_TEST_SUITE_P(AnyConsole, AtTerminal, ::testing::Values(
    TypedCase{"line", {"123\n"}, "123", "123", "124"},
    TypedCase{"ctrl_z_at_line_start_ends", {kCtrlZ + "45\n"}, "", "0", "1"}),
    kRowName);
// clang-format on

// The rest, on POSIX terminals only. Wine's own C runtime takes a 0x1A in a
// text stream as the end of the input for good, so the rule for a Ctrl-Z after
// other characters cannot be tried on the Windows program there.
// clang-format off
INSTANTIATE_TEST_SUITE_P(ConsoleRules, AtTerminal, ::testing::Values(
    TypedCase{"ctrl_z_mid_line_drops_rest", {"12" + kCtrlZ + "45\n", "3\n"}, "123", "123", "124"},
    TypedCase{"two_ctrl_z_in_a_line", {"12" + kCtrlZ + "4" + kCtrlZ + "5\n", "3\n"}, "123", "123", "124"},
    TypedCase{"typed_cr_lf_is_line_end", {"12" + kCr + "\n"}, "12", "12", "13"},
    TypedCase{"typed_cr_is_no_line_start", {"7" + kCr + kCtrlZ + "5\n", "3\n"}, "7\r3", "7", "8"},
    TypedCase{"ctrl_z_at_start_of_next_line", {"12" + kCtrlZ + "\n", kCtrlZ + "\n"}, "12", "12",
              "13"},
    TypedCase{"ctrl_d_at_line_start_ends", {kCtrlD}, "", "0", "1"},
    TypedCase{"ctrl_d_in_dropped_line_ends", {"12" + kCtrlZ + "9" + kCtrlD, kCtrlD}, "12", "12",
              "13"},
    TypedCase{"ctrl_d_after_text_ends", {"17" + kCtrlD, kCtrlD}, "17", "17", "18"},
    TypedCase{"ctrl_z_drop_runs_past_cr_and_zero", {"12" + kCtrlZ + "4" + kCr + std::string(1, '\0') + "5\n", "3\n"},
              "123", "123", "124"},
    TypedCase{"input_from_pipe", {"5\n"}, "5", "5", "6", Streams::input_pipe},
    TypedCase{"pipe_rules_for_piped_input", {"12\x1a" "34\n56\n"}, "12", "12", "13", Streams::input_pipe},
    TypedCase{"console_rules_from_input_alone", {"12" + kCtrlZ + "3\n", "4\n"}, "124", "124", "125",
              Streams::error_to_file},
    TypedCase{"output_to_pipe", {"12" + kCtrlZ + "45\n", "3\n"}, "123", "123", "124", Streams::output_pipe}),
    kRowName);
// clang-format on

// A read that fails with standard output at a console is a read error like
// any other, which is no end of input: no report, status 1, and one line on
// standard error, sent to a file. A terminal that hangs up fails the read
// under way, here while the rest of a Ctrl-Z line is dropped. Input piped
// in gets the pipe rules, in binary mode on Windows, whatever standard
// output is: its read that fails right after a CR is no end of input.
struct FailingCase {
    std::string name;
    std::vector<std::string> keys;
    Streams streams;
    bool hang_up;
    std::string posix_description;
};

void PrintTo(const FailingCase& c, std::ostream* os) { *os << c.name; }

class AtTerminalFailing : public ::testing::TestWithParam<FailingCase> {};

TEST_P(AtTerminalFailing, IsAReadError) {
    const FailingCase& c = GetParam();
    const Session s = run_at_terminal(program_command(), kPrompt, c.keys, c.streams, c.hang_up);
    const std::string head = "numscan: read error: ";
    EXPECT_EQ(s.after_typing.find("You entered"), std::string::npos) << s.after_typing;
    if (on_wine_console()) {  // the description is the C runtime's
        EXPECT_EQ(s.error.rfind(head, 0), 0U) << s.error;
        EXPECT_EQ(s.error.find('\n'), s.error.size() - 1) << "not one line: " << s.error;
    } else {
        EXPECT_EQ(s.error, head + c.posix_description + "\n");
    }
    EXPECT_EQ(s.status, 1);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(AnyConsole, AtTerminalFailing, ::testing::Values(
    FailingCase{"reset_after_cr_piped_in", {"12\r"}, Streams::input_reset, false, "Connection reset by peer"},
    FailingCase{"hang_up_mid_line", {"12"}, Streams::error_to_file, true, "Input/output error"}),
    kRowName);
INSTANTIATE_TEST_SUITE_P(ConsoleRules, AtTerminalFailing, ::testing::Values(
    FailingCase{"hang_up_while_dropping_a_line", {"12" + kCtrlZ + "9" + kCtrlD}, Streams::error_to_file, true,
                "Input/output error"}),
    kRowName);
// clang-format on

// A line longer than the text holds is read to its end, zero bytes and all,
// so the next program reading the same terminal starts at the next line. The
// keys are typed as one line, then "next".
class AtTerminalLongLine : public ::testing::TestWithParam<TypedCase> {};

TEST_P(AtTerminalLongLine, RestOfLongLineIsNotLeftBehind) {
    const TypedCase& c = GetParam();
    const Session s = run_at_terminal(
        numscan::testing::shell_command(R"("$@"; read next; printf '[%s]' "$next")"), kPrompt,
        {c.keys.at(0) + "\n" + "next\n"});
    EXPECT_EQ(s.after_typing, report(c.expected_text, c.value, c.sum) + "[next]");
    EXPECT_EQ(s.status, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AtTerminalLongLine,
    ::testing::Values(
        TypedCase{
            "digits", {std::string(300, '7')}, std::string(99, '7'), "2147483647", "-2147483648"},
        TypedCase{"zero_byte_then_digits",
                  {std::string("1\0", 2) + std::string(3000, '7')},
                  "1",
                  "1",
                  "2"}),
    kRowName);

}  // namespace
