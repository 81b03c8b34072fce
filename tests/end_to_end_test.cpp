// The whole program, run as a user runs it: arguments and standard input in,
// standard output and the exit status compared byte for byte. The same table
// runs against every build, with the line end that build writes.
#include "program_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <optional>
#include <string>
#include <vector>

namespace {

using numscan::testing::expects_crlf;
using numscan::testing::InputFrom;
using numscan::testing::kPrompt;
using numscan::testing::kRowName;
using numscan::testing::OutputTo;
using numscan::testing::report;
using numscan::testing::run_program;
using numscan::testing::with_line_ends;

struct RunCase {
    std::string name;
    std::optional<std::vector<std::string>> args;  // none: read a line after the prompt
    std::string input;
    std::string expected;  // with "\n" line ends
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class EndToEnd : public ::testing::TestWithParam<RunCase> {};

// A row with arguments and no input runs with standard input closed: nothing
// is read then, so a broken standard input changes nothing.
TEST_P(EndToEnd, WritesExactReportAndExitsZero) {
    const RunCase& c = GetParam();
    const auto has_high_byte = [](const std::string& arg) {
        return std::ranges::any_of(arg,
                                   [](char b) { return static_cast<unsigned char>(b) > 0x7F; });
    };
    if (expects_crlf() && c.args && std::ranges::any_of(*c.args, has_high_byte)) {
        // Wine hands a Windows program its arguments through the Unix
        // locale's character set, so these bytes never reach it as they are.
        GTEST_SKIP() << "Wine re-encodes bytes above 0x7F in arguments";
    }
    const auto from = c.args && c.input.empty() ? InputFrom::closed : InputFrom::pipe;
    const auto result =
        run_program(c.args.value_or(std::vector<std::string>{}), c.input, OutputTo::pipe, from);
    EXPECT_EQ(result.out, with_line_ends(c.expected));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exit_code, 0);
}

const std::string k99 = std::string(97, '0') + "42";  // 99 characters worth 42

// clang-format off
INSTANTIATE_TEST_SUITE_P(Arguments, EndToEnd, ::testing::Values(
    RunCase{"hex_with_base", {{"ff", "16"}}, "", report("ff", "255", "256")},
    RunCase{"prefix_in_base_10", {{"0x1A"}}, "", report("0x1A", "0", "1")},
    RunCase{"prefix_detected", {{"0x1A", "0"}}, "", report("0x1A", "26", "27")},
    RunCase{"prefix_in_base_16", {{"0x1A", "16"}}, "", report("0x1A", "26", "27")},
    RunCase{"base_text_reads_as_0", {{"11", "x"}}, "", report("11", "11", "12")},
    RunCase{"extra_argument_ignored", {{"11", "2", "extra"}}, "", report("11", "3", "4")},
    RunCase{"base_1", {{"abc", "1"}}, "", report("abc", "0", "1")},
    RunCase{"negative_base", {{"-8", "-5"}}, "", report("-8", "0", "1")},
    RunCase{"negative_base_unusable", {{"11", "-2"}}, "", report("11", "0", "1")},
    RunCase{"empty_base_reads_as_0", {{"0x1A", ""}}, "", report("0x1A", "26", "27")},
    RunCase{"blank_after_minus_in_base", {{"5", "- 5"}}, "", report("5", "5", "6")},
    RunCase{"blank_after_plus_in_base", {{"9", "+ 8"}}, "", report("9", "9", "10")},
    RunCase{"line_feed_echoed", {{"12\n34"}}, "", report("12\n34", "12", "13")},
    RunCase{"ctrl_z_echoed", {{"12\x1a" "34"}}, "", report("12\x1a" "34", "12", "13")},  // no stream rule
    RunCase{"base_argument_wraps", {{"12", "4294967312"}}, "", report("12", "18", "19")},
    RunCase{"largest", {{"2147483647"}}, "", report("2147483647", "2147483647", "-2147483648")},
    RunCase{"clamped", {{"2147483648"}}, "", report("2147483648", "2147483647", "-2147483648")},
    RunCase{"smallest", {{"-2147483648"}}, "", report("-2147483648", "-2147483648", "-2147483647")},
    RunCase{"blanks_kept", {{"  42  "}}, "", report("  42  ", "42", "43")},
    RunCase{"empty_argument", {{""}}, "", report("", "0", "1")},
    RunCase{"options_are_text", {{"--help"}}, "", report("--help", "0", "1")},
    RunCase{"high_bytes_echoed", {{"\xff\xfe" "7"}}, "", report("\xff\xfe" "7", "0", "1")},
    RunCase{"stdin_unused_with_arguments", {{"5"}}, "7\n", report("5", "5", "6")},
    RunCase{"long_argument_cut_to_99", {{k99 + "999"}}, "", report(k99, "42", "43")}),
    kRowName);
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(InputLine, EndToEnd, ::testing::Values(
    RunCase{"line", std::nullopt, "123\n", kPrompt + report("123", "123", "124")},
    RunCase{"empty_line", std::nullopt, "\n", kPrompt + report("", "0", "1")},
    RunCase{"no_input", std::nullopt, "", kPrompt + report("", "0", "1")},
    RunCase{"blanks_kept", std::nullopt, "  42  \n", kPrompt + report("  42  ", "42", "43")},
    RunCase{"no_line_feed", std::nullopt, "17", kPrompt + report("17", "17", "18")},
    RunCase{"only_first_line", std::nullopt, "5\n6\n", kPrompt + report("5", "5", "6")},
    RunCase{"high_bytes_echoed", std::nullopt, "\xe9" "5\x80\n", kPrompt + report("\xe9" "5\x80", "0", "1")},
    RunCase{"always_base_10", std::nullopt, "0x1f\n", kPrompt + report("0x1f", "0", "1")},
    RunCase{"cr_lf_is_line_end", std::nullopt, "12\r\n34\r\n", kPrompt + report("12", "12", "13")},
    RunCase{"lone_cr_kept", std::nullopt, "1\r2\n", kPrompt + report("1\r2", "1", "2")},
    RunCase{"cr_before_cr_lf_kept", std::nullopt, "12\r\r\n", kPrompt + report("12\r", "12", "13")},
    RunCase{"cr_cr_before_text_kept", std::nullopt, "1\r\r2\n", kPrompt + report("1\r\r2", "1", "2")},
    RunCase{"ctrl_d_byte_is_text", std::nullopt, "1\x04" "2\n", kPrompt + report("1\x04" "2", "1", "2")},
    RunCase{"cr_at_end_kept", std::nullopt, "9\r", kPrompt + report("9\r", "9", "10")},
    RunCase{"ctrl_z_ends_input", std::nullopt, "12\x1a" "34\n56\n", kPrompt + report("12", "12", "13")},
    RunCase{"ctrl_z_first", std::nullopt, "\x1a" "5\n", kPrompt + report("", "0", "1")},
    RunCase{"ctrl_z_after_cr", std::nullopt, "7\r\x1a\n", kPrompt + report("7\r", "7", "8")},
    RunCase{"zero_byte_ends_text", std::nullopt, std::string("1\0" "2\n", 4),
            kPrompt + report("1", "1", "2")},
    RunCase{"long_line_cut_to_99", std::nullopt, k99 + "999\n",
            kPrompt + report(k99, "42", "43")}),
    kRowName);
// clang-format on

// A failed read of the input or write of the report exits 1 with one line on
// standard error: "numscan: read error: " or "numscan: write error: " and the
// platform's description. Nothing but the prompt is written after a failed
// read. A pipe closed by its reader is the exception on POSIX, where it ends
// the program by SIGPIPE as it ends any Unix tool; Windows has no such signal.
struct FailureCase {
    std::string name;
    std::vector<std::string> args;
    std::string input;
    InputFrom from;
    OutputTo output;
    std::string posix_description;  // empty: ended by SIGPIPE, nothing said
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class Failure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(Failure, ExitsOneWithOneLine) {
    const FailureCase& c = GetParam();
    if (expects_crlf() && c.from == InputFrom::idle_nonblocking_pipe) {
        // Wine's read of such a pipe waits for data, as a Windows pipe's does.
        GTEST_SKIP() << "a Windows program sees no non-blocking pipe";
    }
    const auto result = run_program(c.args, c.input, c.output, c.from);
    const bool reading = c.from != InputFrom::pipe;
    const std::string head = reading ? "numscan: read error: " : "numscan: write error: ";
    EXPECT_EQ(result.out, reading ? kPrompt : "");
    if (expects_crlf()) {  // the Windows program: descriptions are the C runtime's
        EXPECT_EQ(result.exit_code, 1);
        EXPECT_EQ(result.err.rfind(head, 0), 0U) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "not one line: " << result.err;
    } else if (c.posix_description.empty()) {
        EXPECT_EQ(result.signal, SIGPIPE);
        EXPECT_EQ(result.err, "");
    } else {
        EXPECT_EQ(result.exit_code, 1);
        EXPECT_EQ(result.err, head + c.posix_description + "\n");
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Output, Failure, ::testing::Values(
    FailureCase{"full_disk", {"ff", "16"}, "", InputFrom::pipe, OutputTo::dev_full, "No space left on device"},
    FailureCase{"closed", {}, "5\n", InputFrom::pipe, OutputTo::closed, "Bad file descriptor"},
    FailureCase{"closed_pipe", {"ff", "16"}, "", InputFrom::pipe, OutputTo::broken_pipe, ""},
    FailureCase{"closed_pipe_sigpipe_ignored", {"ff", "16"}, "", InputFrom::pipe,
                OutputTo::broken_pipe_sigpipe_ignored, "Broken pipe"}),
    kRowName);
INSTANTIATE_TEST_SUITE_P(Input, Failure, ::testing::Values(
    FailureCase{"closed", {}, "", InputFrom::closed, OutputTo::pipe, "Bad file descriptor"},
    FailureCase{"directory", {}, "", InputFrom::directory, OutputTo::pipe, "Is a directory"},
    FailureCase{"failing_file", {}, "", InputFrom::failing_file, OutputTo::pipe, "Input/output error"},
    FailureCase{"reset_after_digits", {}, "12", InputFrom::reset_socket, OutputTo::pipe,
                "Connection reset by peer"},
    FailureCase{"reset_after_cr", {}, "12\r", InputFrom::reset_socket, OutputTo::pipe,
                "Connection reset by peer"},
    FailureCase{"nothing_yet_nonblocking", {}, "", InputFrom::idle_nonblocking_pipe, OutputTo::pipe,
                "Resource temporarily unavailable"}),
    kRowName);
// clang-format on

}  // namespace
