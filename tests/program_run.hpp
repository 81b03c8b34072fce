// Runs the numscan program under test as a child process and collects what it
// wrote, its exit status and its peak memory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace numscan::testing {

// Where the child's standard output goes. A pipe with no reader ends the
// child by SIGPIPE, unless the child starts with SIGPIPE ignored, as some
// process managers and language runtimes start theirs.
enum class OutputTo { pipe, dev_full, closed, broken_pipe, broken_pipe_sigpipe_ignored };

// Where the child's standard input comes from: the input given, through a
// pipe; nothing (closed); a directory; a file whose every read fails (EIO);
// a socket that delivers the input given, then is reset (ECONNRESET); a
// non-blocking pipe whose writer stays open and writes nothing (EAGAIN).
enum class InputFrom { pipe, closed, directory, failing_file, reset_socket, idle_nonblocking_pipe };

struct RunResult {
    std::string out;
    std::string err;
    int exit_code;     // the exit status, or -1 when a signal ended the child
    int signal;        // the signal that ended the child, or 0
    long max_rss_kib;  // peak resident memory of the child
};

// The program under test: $NUMSCAN_PROGRAM, run through the command in
// $NUMSCAN_LAUNCHER (for instance wine) when that is set.
std::vector<std::string> program_command();

// A shell running script, in which "$@" is program_command().
std::vector<std::string> shell_command(const std::string& script);

// Runs program_command() with args appended, feeding input to its standard
// input (then closing it) and collecting standard output and error.
RunResult run_program(const std::vector<std::string>& args, std::string_view input,
                      OutputTo output = OutputTo::pipe, InputFrom from = InputFrom::pipe);

// Runs command, a program and its arguments, as run_program does.
RunResult run_command(std::vector<std::string> command, std::string_view input,
                      OutputTo output = OutputTo::pipe, InputFrom from = InputFrom::pipe);

// True when the program under test runs with Windows line ends (CR LF), as
// $NUMSCAN_LINE_END=crlf says.
bool expects_crlf();

// The prompt written before a line is read, and the report of a run, with
// "\n" line ends.
inline const std::string kPrompt = "Enter number to be scanned:  ";
std::string report(std::string_view text, std::string_view value, std::string_view sum);

// Names a table row by its `name` member, so that a test's name says its case
// in plain ASCII.
inline constexpr auto kRowName = [](const auto& info) { return info.param.name; };

// Turns each "\n" of text into the line end the program under test writes.
std::string with_line_ends(std::string_view text);

}  // namespace numscan::testing
