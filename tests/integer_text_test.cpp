// The conversion's rules, one table row a case.
#include "integer_text.hpp"
#include "oracle.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

namespace {

using numscan::convert_decimal_int;
using numscan::convert_long;

constexpr std::int32_t kMin = INT32_MIN;
constexpr std::int32_t kMax = INT32_MAX;

struct LongCase {
    std::string text;
    std::int32_t base;
    std::int32_t expected;
};

void PrintTo(const LongCase& c, std::ostream* os) {
    *os << "convert_long(\"" << c.text << "\", " << c.base << ")";
}

class ConvertLong : public ::testing::TestWithParam<LongCase> {};

// Each row checks the oracle that the sweeps and the fuzz target trust too,
// so a C library that changes its rules shows up here by name.
TEST_P(ConvertLong, GivesExpectedValue) {
    const LongCase& c = GetParam();
    EXPECT_EQ(convert_long(c.text.c_str(), c.base), c.expected);
    EXPECT_EQ(numscan::oracle::expected_long(c.text.c_str(), c.base), c.expected) << "the oracle";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Scanning, ConvertLong, ::testing::Values(
    LongCase{"", 10, 0},
    LongCase{"   ", 10, 0},
    LongCase{"-", 10, 0},
    LongCase{"+", 10, 0},
    LongCase{"- 5", 10, 0},        // white space after the sign ends the scan
    LongCase{"+ 5", 10, 0},
    LongCase{"+-5", 10, 0},        // only one sign is taken
    LongCase{"--5", 10, 0},
    LongCase{"-+5", 10, 0},
    LongCase{"++5", 10, 0},
    LongCase{"  +12abc", 10, 12},
    LongCase{"12abc", 16, 76476},
    LongCase{"\t\n\v\f\r 42", 10, 42},
    LongCase{"\x1c" "42", 10, 0},  // a control byte that is not white space
    LongCase{" \xb2" "5", 10, 0},  // high bytes are in no class
    LongCase{"\xa0" "5", 10, 0},   // not even a no-break space
    LongCase{"1e5", 10, 1},
    LongCase{"3.9", 10, 3},
    LongCase{"1,000", 10, 1},
    LongCase{"12", 2, 1},
    LongCase{"777", 8, 511},
    LongCase{"-17", 10, -17},
    LongCase{"007", 10, 7},
    LongCase{"-0", 10, 0}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(BasesAndPrefixes, ConvertLong, ::testing::Values(
    LongCase{"z", 36, 35},
    LongCase{"Z", 36, 35},
    LongCase{"10", 36, 36},
    LongCase{"zik0zj", 36, 2147483647},  // the largest base-36 value
    LongCase{"8", 8, 0},
    LongCase{"9", 9, 0},
    LongCase{"a", 10, 0},
    LongCase{"a", 11, 10},
    LongCase{"[", 36, 0},  // the bytes just past 'Z' and 'z' are no digits
    LongCase{"{", 36, 0},
    LongCase{"@", 36, 0},
    LongCase{"`", 36, 0},
    LongCase{"0x1A", 0, 26},
    LongCase{"0X1a", 0, 26},
    LongCase{"017", 0, 15},
    LongCase{"08", 0, 0},
    LongCase{"0", 0, 0},
    LongCase{"0x", 0, 0},
    LongCase{"0xg", 0, 0},
    LongCase{"42", 0, 42},
    LongCase{"-0x10", 0, -16},
    LongCase{"  +0x10", 0, 16},
    LongCase{"0x1f", 16, 31},
    LongCase{"1f", 16, 31},
    LongCase{"0X1F", 16, 31},
    LongCase{"0x0x1", 16, 0},
    LongCase{"1x5", 16, 1},  // an 'x' after another digit is no prefix
    LongCase{"012", 16, 18},  // a '0' without 'x' is a digit  // the prefix is skipped once
    LongCase{"0x1A", 10, 0},
    LongCase{"0x1A", 36, 42814},  // 'x' is a digit in base 36: no prefix
    LongCase{"0b101", 2, 0},  // no binary prefix, in base 2 or base 0
    LongCase{"0B1", 2, 0},
    LongCase{"0b1", 0, 0},
    LongCase{"-0B101", 0, 0},
    LongCase{" +0b11", 0, 0},
    LongCase{"101", 2, 5},
    LongCase{"1", 1, 0},
    LongCase{"1", 37, 0},
    LongCase{"1", -1, 0},
    LongCase{"1", -16, 0},
    LongCase{"1", kMin, 0},
    LongCase{"1", kMax, 0}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(RangeLimits, ConvertLong, ::testing::Values(
    LongCase{"2147483647", 10, kMax},
    LongCase{"2147483648", 10, kMax},
    LongCase{"-2147483648", 10, kMin},
    LongCase{"-2147483647", 10, -2147483647},
    LongCase{"-2147483649", 10, kMin},
    LongCase{"99999999999999999999", 10, kMax},
    LongCase{"-99999999999999999999", 10, kMin},
    LongCase{"4294967295", 10, kMax},
    LongCase{"4294967296", 10, kMax},  // first value past the accumulator
    LongCase{"42949672950", 10, kMax},
    LongCase{"5000000000", 10, kMax},  // its 32-bit wrap lands above the partial value
    LongCase{"-5000000000", 10, kMin},
    LongCase{"-4294967295", 10, kMin},
    LongCase{"-4294967296", 10, kMin},
    LongCase{"000000000000002147483647", 10, kMax},  // leading zeros don't count
    LongCase{"000000000000000000000012", 10, 12},
    LongCase{"ffffffff", 16, kMax},
    LongCase{"-80000000", 16, kMin},
    LongCase{"-7fffffff", 16, -2147483647},
    LongCase{"7fffffff", 16, kMax},
    LongCase{"100000000", 16, kMax},
    LongCase{"0x80000000", 0, kMax},
    LongCase{"-020000000000", 0, kMin},
    LongCase{"11111111111111111111111111111111", 2, kMax},
    LongCase{"-10000000000000000000000000000000", 2, kMin},
    LongCase{"1z141z3", 36, kMax},  // 4294967295 in base 36
    LongCase{"1z141z4", 36, kMax},
    LongCase{"-1z141z4", 36, kMin}));
// clang-format on

struct DecimalCase {
    std::string text;
    std::int32_t expected;
};

void PrintTo(const DecimalCase& c, std::ostream* os) {
    *os << "convert_decimal_int(\"" << c.text << "\")";
}

class ConvertDecimalInt : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ConvertDecimalInt, GivesExpectedValue) {
    const DecimalCase& c = GetParam();
    EXPECT_EQ(convert_decimal_int(c.text.c_str()), c.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Scanning, ConvertDecimalInt, ::testing::Values(
    DecimalCase{"16", 16},
    DecimalCase{"\t-2", -2},
    DecimalCase{" \n+7", 7},
    DecimalCase{"", 0},
    DecimalCase{"-", 0},
    DecimalCase{"--2", 0},
    DecimalCase{"- 5", 0},  // white space after the sign ends the scan
    DecimalCase{"+ 5", 0},
    DecimalCase{"10xyz", 10},
    DecimalCase{"x10", 0},
    DecimalCase{"0x10", 0},
    DecimalCase{"\xb2" "5", 0}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(WrapAround, ConvertDecimalInt, ::testing::Values(
    DecimalCase{"2147483647", kMax},
    DecimalCase{"4294967312", 16},
    DecimalCase{"2147483648", kMin},
    DecimalCase{"-2147483648", kMin},
    DecimalCase{"-4294967295", 1},
    DecimalCase{"4294967296", 0},
    DecimalCase{"18446744073709551626", 10}));  // wraps at every step
// clang-format on

// The rules swept over whole classes of input, with expected values worked out
// from the definitions in wider arithmetic, never by the conversion.

// The digit value of a byte: 0 to 35, or 36 for a byte that is no digit.
std::uint32_t digit_value(unsigned char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'A' && c <= 'Z' ? c - 'A' + 10U
           : c >= 'a' && c <= 'z' ? c - 'a' + 10U
                                  : 36;
}

// The bytes just past each range of digits, and no byte.
const std::initializer_list<const char*> kEnds = {"", ":", "@", "[", "`", "{"};

TEST(ConvertLongSweep, EveryByteAfterADigitInEveryBase) {
    for (std::int32_t base = 2; base <= 36; ++base) {
        const auto ubase = static_cast<std::uint32_t>(base);
        for (int c = 1; c < 256; ++c) {
            const std::string text = {'1', static_cast<char>(c)};
            const std::uint32_t d = digit_value(static_cast<unsigned char>(c));
            const auto expected = static_cast<std::int32_t>(d < ubase ? ubase + d : 1);
            EXPECT_EQ(convert_long(text.c_str(), base), expected)
                << "byte " << c << ", base " << base;
        }
    }
    // After a leading '0' only 'x' or 'X' marks base 16, under base 0 or 16;
    // any other byte is a digit of the base (8 when detected) or ends the scan.
    for (int c = 1; c < 256; ++c) {
        const std::string text = {'0', static_cast<char>(c), '5'};
        const std::uint32_t d = digit_value(static_cast<unsigned char>(c));
        const bool marker = c == 'x' || c == 'X';
        const auto expected = [&](std::uint32_t radix) {
            return static_cast<std::int32_t>(marker ? 5 : d < radix ? d * radix + 5 : 0);
        };
        EXPECT_EQ(convert_long(text.c_str(), 0), expected(8)) << "byte " << c;
        EXPECT_EQ(convert_long(text.c_str(), 16), expected(16)) << "byte " << c;
    }
}

// Values around 2^31, 2^32, the first power of the base that takes more
// digits than can be read without an overflow check, and the first multiple
// of the base whose partial value p times the base passes 2^32 by at least
// p, so that its last digit wraps the accumulator to no less than it was
// (and, from base 4 on, below 2^31): in every base, with
// either sign and case, each end byte, and each prefix the base takes: its
// base-0 form for 8, 10 and 16, and "0x" under base 16 itself.
TEST(ConvertLongSweep, EveryBaseAroundEveryLimit) {
    const auto expect_value = [](const std::string& text, std::int32_t base,
                                 std::int32_t expected) {
        EXPECT_EQ(convert_long(text.c_str(), base), expected) << text << ", base " << base;
    };
    for (std::int32_t base = 2; base <= 36; ++base) {
        const auto ubase = static_cast<std::uint64_t>(base);
        std::uint64_t power = ubase;
        while (power * ubase <= std::uint64_t{1} << 32) {
            power *= ubase;
        }
        const char* detected_prefix = base == 16   ? "0X"
                                      : base == 8  ? "0"
                                      : base == 10 ? ""
                                                   : nullptr;
        for (const std::uint64_t anchor : {std::uint64_t{1} << 31, std::uint64_t{1} << 32, power,
                                           ((std::uint64_t{1} << 32) / (ubase - 1) + 1) * ubase}) {
            for (std::uint64_t magnitude = anchor - 2; magnitude <= anchor + 2; ++magnitude) {
                for (int form = 0; form < 4; ++form) {  // sign and case
                    const bool negative = (form & 1) != 0;
                    const long long wide = static_cast<long long>(magnitude);
                    const std::int32_t expected = numscan::oracle::clamp32(negative ? -wide : wide);
                    const std::string sign = negative ? "-" : "";
                    for (const char* end : kEnds) {
                        const std::string digits =
                            numscan::oracle::digits_of(magnitude, ubase, form >= 2) + end;
                        expect_value(sign + digits, base, expected);
                        if (detected_prefix != nullptr) {
                            expect_value(sign + detected_prefix + digits, 0, expected);
                        }
                        if (base == 16) {
                            expect_value(sign + "0x" + digits, 16, expected);
                        }
                    }
                }
            }
        }
    }
}

// Decimal values around 2^31, 2^32, 10^9 and 10^19, with every sign and end
// byte, and every byte after a digit: the value wraps modulo 2^32.
TEST(ConvertDecimalIntSweep, AroundEveryWrap) {
    for (const std::uint64_t anchor :
         {std::uint64_t{1} << 31, std::uint64_t{1} << 32, std::uint64_t{1'000'000'000},
          std::uint64_t{10'000'000'000'000'000'000U}}) {
        for (std::uint64_t magnitude = anchor - 2; magnitude <= anchor + 2; ++magnitude) {
            for (const char* sign : {"", "+", "-"}) {
                const auto low = static_cast<std::uint32_t>(magnitude);
                const auto expected = static_cast<std::int32_t>(*sign == '-' ? 0U - low : low);
                for (const char* end : kEnds) {
                    const std::string text = sign + std::to_string(magnitude) + end;
                    EXPECT_EQ(convert_decimal_int(text.c_str()), expected) << text;
                }
            }
        }
    }
    // Every byte after a digit, and every byte before one, for both readers:
    // before the digits only the six blanks are skipped, and one sign taken.
    for (int c = 1; c < 256; ++c) {
        const std::string text = {'1', static_cast<char>(c)};
        const bool digit = c >= '0' && c <= '9';
        EXPECT_EQ(convert_decimal_int(text.c_str()), digit ? 10 + c - '0' : 1) << "byte " << c;
        const std::string before = {static_cast<char>(c), '7'};
        const bool blank = c == ' ' || (c >= '\t' && c <= '\r');
        const std::int32_t expected = blank || c == '+' ? 7
                                      : c == '-'        ? -7
                                      : digit           ? (c - '0') * 10 + 7
                                                        : 0;
        EXPECT_EQ(convert_decimal_int(before.c_str()), expected) << "byte " << c << " before";
        EXPECT_EQ(convert_long(before.c_str(), 10), expected) << "byte " << c << " before";
    }
}

}  // namespace
