// The program at a terminal: a pseudo-terminal stands in for the user's, so
// the prompt must reach it before anything is typed, and the console rules for
// Ctrl-Z (typed as Ctrl-V Ctrl-Z, since Ctrl-Z alone is job control) and
// Ctrl-D apply to what is typed.
#include "program_run.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

using numscan::testing::kPrompt;
using numscan::testing::kRowName;
using numscan::testing::program_command;
using numscan::testing::report;

const std::string kCtrlZ = "\x16\x1a";  // Ctrl-V, then the literal Ctrl-Z byte
const std::string kCtrlD = "\x04";

struct Session {
    std::string before_typing;  // output seen before the first key was sent
    std::string after_typing;   // the rest of the output
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
    }
    return true;
}

// Where the keys go: typed at the terminal, or fed to standard input through
// a pipe, with standard output still the terminal.
enum class KeysTo { terminal, pipe };

// Starts command on a new pseudo-terminal with echo and output processing
// off, so what is read back is exactly what the program wrote; waits for
// wait_for, then sends each of keys in turn.
Session run_at_terminal(std::vector<std::string> command, const std::string& wait_for,
                        const std::vector<std::string>& keys, KeysTo keys_to = KeysTo::terminal) {
    std::vector<char*> argv;
    for (std::string& word : command) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    int keys_pipe[2] = {-1, -1};
    if (keys_to == KeysTo::pipe && pipe(keys_pipe) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        termios mode{};
        tcgetattr(STDIN_FILENO, &mode);
        mode.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        mode.c_oflag &= ~static_cast<tcflag_t>(OPOST);
        tcsetattr(STDIN_FILENO, TCSANOW, &mode);
        if (keys_to == KeysTo::pipe) {
            dup2(keys_pipe[0], STDIN_FILENO);
            close(keys_pipe[0]);
            close(keys_pipe[1]);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    const int keys_fd = keys_to == KeysTo::pipe ? keys_pipe[1] : master;
    if (keys_to == KeysTo::pipe) {
        close(keys_pipe[0]);
    }
    Session session;
    if (pid < 0) {
        ADD_FAILURE() << "forkpty failed";
        return session;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    EXPECT_TRUE(read_until(master, session.before_typing, wait_for, deadline))
        << "not seen before typing: " << wait_for << "; seen: " << session.before_typing;
    for (const std::string& key : keys) {
        // One write a key group, each given time to reach the program on its
        // own, as typing does.
        EXPECT_EQ(write(keys_fd, key.data(), key.size()), static_cast<ssize_t>(key.size()));
        usleep(50'000);
    }
    if (keys_to == KeysTo::pipe) {
        close(keys_fd);
    }
    read_until(master, session.after_typing, "", deadline);
    close(master);
    int status = 0;
    waitpid(pid, &status, 0);
    session.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return session;
}

struct TypedCase {
    std::string name;
    std::vector<std::string> keys;
    std::string expected_text;
    std::string value;
    std::string sum;
};

void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.name; }

class AtTerminal : public ::testing::TestWithParam<TypedCase> {};

TEST_P(AtTerminal, PromptsThenReportsTypedLine) {
    const TypedCase& c = GetParam();
    const Session s = run_at_terminal(program_command(), kPrompt, c.keys);
    EXPECT_EQ(s.before_typing, kPrompt);
    EXPECT_EQ(s.after_typing, report(c.expected_text, c.value, c.sum));
    EXPECT_EQ(s.status, 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ConsoleRules, AtTerminal, ::testing::Values(
    TypedCase{"line", {"123\n"}, "123", "123", "124"},
    TypedCase{"ctrl_z_mid_line_drops_rest", {"12" + kCtrlZ + "45\n", "3\n"}, "123", "123", "124"},
    TypedCase{"ctrl_z_at_line_start_ends", {kCtrlZ + "\n"}, "", "0", "1"},
    TypedCase{"ctrl_z_at_start_of_next_line", {"12" + kCtrlZ + "\n", kCtrlZ + "\n"}, "12", "12",
              "13"},
    TypedCase{"ctrl_d_at_line_start_ends", {kCtrlD}, "", "0", "1"},
    TypedCase{"ctrl_d_in_dropped_line_ends", {"12" + kCtrlZ + "9" + kCtrlD, kCtrlD}, "12", "12",
              "13"},
    TypedCase{"ctrl_d_after_text_ends", {"17" + kCtrlD, kCtrlD}, "17", "17", "18"}),
    kRowName);
// clang-format on

// With standard input a pipe the C library does not write out a terminal's
// line buffer before it reads, so only the program's own set-up of standard
// output puts the prompt on screen before any input arrives.
TEST(AtTerminalInputFromPipe, PromptIsOnScreenBeforeInputArrives) {
    const Session s = run_at_terminal(program_command(), kPrompt, {"5\n"}, KeysTo::pipe);
    EXPECT_EQ(s.before_typing, kPrompt);
    EXPECT_EQ(s.after_typing, report("5", "5", "6"));
    EXPECT_EQ(s.status, 0);
}

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
