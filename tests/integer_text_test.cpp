// The conversion's rules, one table row a case.
#include "integer_text.hpp"

#include <gtest/gtest.h>

#include <cstdint>
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

TEST_P(ConvertLong, GivesExpectedValue) {
    const LongCase& c = GetParam();
    EXPECT_EQ(convert_long(c.text.c_str(), c.base), c.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Scanning, ConvertLong, ::testing::Values(
    LongCase{"", 10, 0},
    LongCase{"   ", 10, 0},
    LongCase{"-", 10, 0},
    LongCase{"+", 10, 0},
    LongCase{"- 5", 10, 0},        // white space after the sign ends the scan
    LongCase{"+-5", 10, 0},        // only one sign is taken
    LongCase{"--5", 10, 0},
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
    LongCase{"012", 16, 18},  // a '0' without 'x' is a digit  // the prefix is skipped once
    LongCase{"0x1A", 10, 0},
    LongCase{"0x1A", 36, 42814},  // 'x' is a digit in base 36: no prefix
    LongCase{"0b101", 2, 0},
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

}  // namespace
