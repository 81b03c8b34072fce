// Integer text conversion under exact 32-bit rules.
//
// All arithmetic is done on std::uint32_t, where overflow wraps by definition,
// and the final value is read as std::int32_t, which C++20 defines as the
// two's-complement reading of the same bits. No path has undefined behaviour,
// and nothing depends on the width of int or long.
#include "integer_text.hpp"

#include <array>
#include <cstdint>
#include <limits>

namespace numscan {
namespace {

using Byte = unsigned char;

// One lookup both classifies a byte and gives its digit value: 0 to 35 for a
// digit or letter, kWhite for the "C" locale's white space, kOther for every
// other byte (signs, punctuation, 0x80 to 0xFF, the terminating zero). Both
// markers are 36 or more, so `value < base` alone says "a digit of this base".
constexpr std::uint8_t kWhite = 0x40;
constexpr std::uint8_t kOther = 0xFF;

constexpr std::array<std::uint8_t, 256> make_char_table() {
    std::array<std::uint8_t, 256> table{};
    for (auto& entry : table) {
        entry = kOther;
    }
    for (const char c : {' ', '\t', '\n', '\v', '\f', '\r'}) {
        table[static_cast<Byte>(c)] = kWhite;
    }
    for (std::uint8_t i = 0; i < 10; ++i) {
        table[static_cast<Byte>('0' + i)] = i;
    }
    for (std::uint8_t i = 0; i < 26; ++i) {
        table[static_cast<Byte>('A' + i)] = static_cast<std::uint8_t>(10 + i);
        table[static_cast<Byte>('a' + i)] = static_cast<std::uint8_t>(10 + i);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kCharTable = make_char_table();

constexpr std::uint32_t kAccumulatorMax = std::numeric_limits<std::uint32_t>::max();

// The magnitude of the most negative value; any larger magnitude clamps.
constexpr std::uint32_t kNegativeLimit = 0x8000'0000U;
constexpr std::uint32_t kPositiveLimit = 0x7FFF'FFFFU;

// What the digit loop needs to know of a base, worked out once at compile
// time rather than with a division on every call.
struct BaseLimits {
    // The accumulator takes another digit d without passing kAccumulatorMax
    // exactly when it is below cutoff, or equal to cutoff with d <= slack.
    std::uint32_t cutoff;
    std::uint32_t slack;
    // So many digits can never pass kAccumulatorMax, whatever they are, and
    // are taken with no check at all.
    int safe_digits;
};

constexpr std::array<BaseLimits, 37> make_base_limits() {
    std::array<BaseLimits, 37> limits{};
    for (std::uint32_t base = 2; base <= 36; ++base) {
        int digits = 0;
        // Count the k with base^k - 1 <= kAccumulatorMax, in 64 bits.
        for (std::uint64_t power = base; power - 1 <= kAccumulatorMax; power *= base) {
            ++digits;
        }
        limits[base] = {.cutoff = kAccumulatorMax / base,
                        .slack = kAccumulatorMax % base,
                        .safe_digits = digits};
    }
    return limits;
}

constexpr std::array<BaseLimits, 37> kBaseLimits = make_base_limits();

static_assert(kBaseLimits[10].safe_digits == 9 && kBaseLimits[16].safe_digits == 8 &&
              kBaseLimits[2].safe_digits == 32 && kBaseLimits[36].safe_digits == 6);

constexpr bool is_hex_marker(Byte c) noexcept { return (c | 0x20U) == 'x'; }

const Byte* skip_white_space(const Byte* p) noexcept {
    while (kCharTable[*p] == kWhite) {
        ++p;
    }
    return p;
}

// Gives the signed result of a magnitude that did not overflow 32 bits.
std::int32_t apply_sign(std::uint32_t magnitude, bool negative) noexcept {
    if (negative) {
        return magnitude > kNegativeLimit ? std::numeric_limits<std::int32_t>::min()
                                          : static_cast<std::int32_t>(0U - magnitude);
    }
    return magnitude > kPositiveLimit ? std::numeric_limits<std::int32_t>::max()
                                      : static_cast<std::int32_t>(magnitude);
}

std::int32_t clamp_overflow(bool negative) noexcept {
    return negative ? std::numeric_limits<std::int32_t>::min()
                    : std::numeric_limits<std::int32_t>::max();
}

// Digit value of a decimal digit; every other byte maps to 10 or more
// through unsigned wrap-around, so base 10 needs no table load.
struct DecimalDigit {
    constexpr std::uint32_t operator()(Byte c) const noexcept {
        return static_cast<std::uint32_t>(c) - static_cast<std::uint32_t>('0');
    }
};

struct TableDigit {
    constexpr std::uint32_t operator()(Byte c) const noexcept { return kCharTable[c]; }
};

// Runs the digit loop from p in a base from 2 to 36: kFixedBase when it is
// not 0, so that the common bases multiply by a constant, and base otherwise.
// DigitOf gives a byte's digit value, or a value >= base for a byte that is
// not a digit of the base. Text with no digit gives 0. The first safe_digits
// digits need no overflow check; past them the accumulator is checked
// against the base's cut-off. An overflow settles the result, so the digits
// after it need not be read.
template <std::uint32_t kFixedBase, typename DigitOf>
std::int32_t scan_digits(const Byte* p, std::uint32_t base, bool negative) noexcept {
    if constexpr (kFixedBase != 0) {
        base = kFixedBase;
    }
    const DigitOf digit_of;
    const BaseLimits& limits = kBaseLimits[base];
    std::uint32_t acc = digit_of(*p);
    if (acc >= base) {
        return 0;
    }
    ++p;
    for (int n = limits.safe_digits - 1; n > 0; --n, ++p) {
        const std::uint32_t d = digit_of(*p);
        if (d >= base) {
            return apply_sign(acc, negative);
        }
        acc = acc * base + d;
    }
    for (;; ++p) {
        const std::uint32_t d = digit_of(*p);
        if (d >= base) {
            return apply_sign(acc, negative);
        }
        if (acc > limits.cutoff || (acc == limits.cutoff && d > limits.slack)) {
            return clamp_overflow(negative);
        }
        acc = acc * base + d;
    }
}

}  // namespace

std::int32_t convert_long(const char* text, std::int32_t base) noexcept {
    const Byte* p = skip_white_space(reinterpret_cast<const Byte*>(text));
    bool negative = false;
    if (*p == '-') {
        negative = true;
        ++p;
    } else if (*p == '+') {
        ++p;
    }
    if (base < 0 || base == 1 || base > 36) {
        return 0;
    }
    if (base == 0) {
        base = 10;
        if (p[0] == '0') {
            base = is_hex_marker(p[1]) ? 16 : 8;
        }
    }
    if (base == 16 && p[0] == '0' && is_hex_marker(p[1])) {
        p += 2;
    }
    const auto ubase = static_cast<std::uint32_t>(base);
    switch (ubase) {
    case 10:
        return scan_digits<10, DecimalDigit>(p, ubase, negative);
    case 16:
        return scan_digits<16, TableDigit>(p, ubase, negative);
    case 2:
        return scan_digits<2, TableDigit>(p, ubase, negative);
    case 8:
        return scan_digits<8, TableDigit>(p, ubase, negative);
    case 36:
        return scan_digits<36, TableDigit>(p, ubase, negative);
    default:
        return scan_digits<0, TableDigit>(p, ubase, negative);
    }
}

std::int32_t convert_decimal_int(const char* text) noexcept {
    const Byte* p = skip_white_space(reinterpret_cast<const Byte*>(text));
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    std::uint32_t value = 0;
    constexpr DecimalDigit digit_of;
    for (std::uint32_t d = digit_of(*p); d < 10; d = digit_of(*++p)) {
        value = value * 10U + d;
    }
    return static_cast<std::int32_t>(negative ? 0U - value : value);
}

}  // namespace numscan
