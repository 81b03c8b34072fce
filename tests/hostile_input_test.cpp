// Input no user should send: huge arguments and lines, random bytes. Every
// run must still exit 0 with a report of the defined form, in bounded memory.
#include "integer_text.hpp"
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

// The three parts of a report, or empty parts when out is not one.
struct Report {
    bool parsed = false;
    std::string text;
    std::int32_t value = 0;
    std::int32_t sum = 0;
};

Report parse_report(const std::string& out) {
    const std::string head = "You entered \"";
    const std::string middle = "\"\nIn base 10, this number is ";
    const std::string tail = "\nYour number + 1 is:  ";
    Report r;
    const auto text_end = out.rfind(middle);
    const auto value_end = out.rfind(tail);
    if (out.rfind(head, 0) != 0 || text_end == std::string::npos ||
        value_end == std::string::npos || value_end < text_end) {
        return r;
    }
    const std::string value =
        out.substr(text_end + middle.size(), value_end - text_end - middle.size());
    const std::string sum = out.substr(value_end + tail.size());
    r.text = out.substr(head.size(), text_end - head.size());
    r.value = static_cast<std::int32_t>(std::stoll(value));
    r.sum = static_cast<std::int32_t>(std::stoll(sum));
    // Each number must be exactly as %d writes it: no sign but '-', no padding.
    r.parsed = std::to_string(r.value) == value && std::to_string(r.sum) == sum;
    return r;
}

// Checks that out is a report whose value is the conversion of its own echo
// in base, and whose sum is that value plus one, wrapped.
void expect_consistent_report(const std::string& out, std::int32_t base) {
    const Report r = parse_report(out);
    ASSERT_TRUE(r.parsed) << "not a report: " << out;
    EXPECT_LE(r.text.size(), 99U);
    EXPECT_EQ(r.value, numscan::convert_long(r.text.c_str(), base));
    EXPECT_EQ(static_cast<std::uint32_t>(r.sum), static_cast<std::uint32_t>(r.value) + 1U);
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

TEST(HostileInput, HugeLineIsReadInConstantMemory) {
    const std::string line = "  12" + std::string(64 * 1024 * 1024, '3');
    const auto result = run_program({}, line);
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, kPrompt + report(line.substr(0, 99), "2147483647", "-2147483648"));
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
            result.out, args.size() > 1 ? numscan::convert_decimal_int(args[1].c_str()) : 10);
    }
}

}  // namespace
