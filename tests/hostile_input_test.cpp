// Input no user should send: huge arguments and lines, random bytes. Every
// run must still exit 0 with a report of the defined form, in bounded memory.
#include "oracle.hpp"
#include "program_run.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using numscan::testing::kPrompt;
using numscan::testing::report;
using numscan::testing::run_program;

// Checks that out is a report of the defined form whose value is what the
// oracle gives for its own echo in base, and whose sum is that value plus one,
// wrapped.
void expect_consistent_report(const std::string& out, std::int32_t base) {
    const std::string head = "You entered \"";
    const auto text_end = out.rfind("\"\nIn base 10, this number is ");
    ASSERT_TRUE(out.rfind(head, 0) == 0 && text_end != std::string::npos && text_end >= head.size())
        << "not a report: " << out;
    const std::string text = out.substr(head.size(), text_end - head.size());
    EXPECT_LE(text.size(), 99U);
    const std::int32_t value = numscan::oracle::expected_long(text.c_str(), base);
    const auto sum = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + 1U);
    EXPECT_EQ(out, report(text, std::to_string(value), std::to_string(sum)));
}

// Peak memory a run may use, when this build gives one (sanitizers need more).
long memory_bound_kib() {
    const char* bound = std::getenv("NUMSCAN_MAX_RSS_KIB");
    return bound != nullptr ? std::atol(bound) : 0;
}

TEST(HostileInput, HugeArgumentIsCutTo99Characters) {
    const std::string text = "-" + std::string(99'999, '9');
    const auto result = run_program({text}, "");
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, report(text.substr(0, 99), "-2147483648", "-2147483647"));
    EXPECT_EQ(result.err, "");
}

// A short argument with no environment after it lies a few bytes below the
// top of the stack, where only the program's own path follows it: a copy
// that reads a fixed length past its end faults there, every time.
TEST(HostileInput, ShortArgumentAtTheTopOfTheStack) {
    std::vector<std::string> command = numscan::testing::program_command();
    command.insert(command.begin(), {"env", "-i"});
    command.emplace_back("5");
    const auto result = numscan::testing::run_command(command, "");
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, report("5", "5", "6"));
}

// The 64 MiB line comes from a shell pipeline rather than from this process:
// a child's peak memory counts the pages it shared with its parent before it
// started the program, so the parent must not hold the line.
TEST(HostileInput, HugeLineIsReadInConstantMemory) {
    const auto result = numscan::testing::run_command(
        numscan::testing::shell_command(
            R"({ printf '  12'; head -c 67108864 /dev/zero | tr '\0' 3; } | "$@")"),
        "");
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out,
              kPrompt + report("  12" + std::string(95, '3'), "2147483647", "-2147483648"));
    if (memory_bound_kib() > 0) {
        EXPECT_LT(result.max_rss_kib, memory_bound_kib()) << "peak memory in KiB";
    }
}

TEST(HostileInput, RandomBytesOnStandardInput) {
    std::mt19937 random(20261208);
    for (int run = 0; run < 40; ++run) {
        std::string input(random() % 300, '\0');
        for (char& c : input) {
            // Mostly digits, signs and blanks, so that values come out too.
            const auto pick = random() % 4;
            c = pick == 0 ? "0123456789+- \t"[random() % 14] : static_cast<char>(random() % 256);
        }
        SCOPED_TRACE(testing::PrintToString(input));
        const auto result = run_program({}, input);
        EXPECT_EQ(result.exit_code, 0);
        EXPECT_EQ(result.err, "");
        ASSERT_EQ(result.out.rfind(kPrompt, 0), 0U);
        expect_consistent_report(result.out.substr(kPrompt.size()), 10);
    }
}

TEST(HostileInput, RandomBytesInArguments) {
    std::mt19937 random(8122026);
    for (int run = 0; run < 40; ++run) {
        std::vector<std::string> args(1 + random() % 3);
        for (std::string& arg : args) {
            arg.resize(random() % 150);
            for (char& c : arg) {
                const auto pick = random() % 3;
                // Arguments cannot hold a zero byte.
                c = pick == 0 ? "0123456789xX+-"[random() % 14]
                              : static_cast<char>(1 + random() % 255);
            }
        }
        SCOPED_TRACE(testing::PrintToString(args));
        const auto result = run_program(args, "");
        EXPECT_EQ(result.exit_code, 0);
        EXPECT_EQ(result.err, "");
        expect_consistent_report(
            result.out,
            args.size() > 1 ? numscan::oracle::expected_decimal_int(args[1].c_str()) : 10);
    }
}

}  // namespace
