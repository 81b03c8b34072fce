// What the conversion must give, worked out another way: the C library's
// own readers and wider arithmetic. The tests and the fuzz target check the
// conversion against these, never against itself.
#pragma once

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace numscan::oracle {

// The nearest 32-bit value to wide.
inline std::int32_t clamp32(long long wide) {
    return wide < INT32_MIN   ? INT32_MIN
           : wide > INT32_MAX ? INT32_MAX
                              : static_cast<std::int32_t>(wide);
}

// Where text's digits start: past its leading white space and one sign.
inline const char* after_blanks_and_sign(const char* text) {
    while (std::isspace(static_cast<unsigned char>(*text)) != 0) {
        ++text;
    }
    return *text == '+' || *text == '-' ? text + 1 : text;
}

// What convert_long gives: the C library's strtoll, whose 64-bit range
// covers every clamp decision of a 32-bit reader, clamped to 32 bits.
// A C23 library (glibc 2.38 on, say) reads "0b" or "0B" as a binary prefix
// in bases 0 and 2; the rules know no such prefix, so there the text is a
// lone 0 that the 'b' ends, whichever library this is.
inline std::int32_t expected_long(const char* text, std::int32_t base) {
    if (base < 0 || base == 1 || base > 36) {
        return 0;
    }
    const char* p = after_blanks_and_sign(text);
    if ((base == 0 || base == 2) && p[0] == '0' && (p[1] == 'b' || p[1] == 'B')) {
        return 0;
    }
    return clamp32(std::strtoll(text, nullptr, base));
}

// What convert_decimal_int gives: the digits' value worked out in 64 bits and
// reduced modulo 2^32 after every step, with the C library's classes for
// white space and digits.
inline std::int32_t expected_decimal_int(const char* text) {
    const char* digits = after_blanks_and_sign(text);
    const bool negative = digits != text && digits[-1] == '-';  // the sign just skipped
    const auto* p = reinterpret_cast<const unsigned char*>(digits);
    constexpr std::uint64_t kModulus = std::uint64_t{1} << 32;
    std::uint64_t value = 0;
    for (; std::isdigit(*p) != 0; ++p) {
        value = (value * 10 + static_cast<std::uint64_t>(*p - '0')) % kModulus;
    }
    if (negative) {
        value = (kModulus - value) % kModulus;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// magnitude written in base (2 to 36), with upper- or lower-case letters.
inline std::string digits_of(std::uint64_t magnitude, std::uint64_t base, bool upper) {
    const char* digits =
        upper ? "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ" : "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string text;
    do {
        text.insert(text.begin(), digits[magnitude % base]);
        magnitude /= base;
    } while (magnitude != 0);
    return text;
}

}  // namespace numscan::oracle
