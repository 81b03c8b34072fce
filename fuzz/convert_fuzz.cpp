// Differential fuzz target: both conversions against independent oracles.
//
// An input's first byte chooses the base: below 0x80 it is (byte % 41) - 2,
// so -2 to 38 and every usable base are reached often; from 0x80 on, the next
// four bytes are the base's raw 32 bits. The rest of the input is the text,
// which ends at its first zero byte as any C text does.
#include "integer_text.hpp"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// What convert_long must give: the C library's strtoll, whose 64-bit range
// covers every clamp decision of a 32-bit reader, clamped to 32 bits.
std::int32_t oracle_long(const char* text, std::int32_t base) {
    if (base < 0 || base == 1 || base > 36) {
        return 0;
    }
    const long long wide = std::strtoll(text, nullptr, base);
    if (wide < INT32_MIN) {
        return INT32_MIN;
    }
    if (wide > INT32_MAX) {
        return INT32_MAX;
    }
    return static_cast<std::int32_t>(wide);
}

// What convert_decimal_int must give: the digits' value worked out in 64
// bits and reduced modulo 2^32 after every step, with the C library's
// classes for white space and digits.
std::int32_t oracle_decimal(const char* text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (std::isspace(*p) != 0) {
        ++p;
    }
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    std::uint64_t value = 0;
    for (; std::isdigit(*p) != 0; ++p) {
        value = (value * 10 + static_cast<std::uint64_t>(*p - '0')) % (std::uint64_t{1} << 32);
    }
    if (negative) {
        value = ((std::uint64_t{1} << 32) - value) % (std::uint64_t{1} << 32);
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

[[noreturn]] void report_disagreement(const char* what, const std::string& text, std::int32_t base,
                                      std::int32_t got, std::int32_t expected) {
    std::fprintf(stderr, "%s disagrees: base %d, got %d, expected %d, text bytes:", what,
                 static_cast<int>(base), static_cast<int>(got), static_cast<int>(expected));
    for (const char c : text) {
        std::fprintf(stderr, " %02x", static_cast<unsigned>(static_cast<unsigned char>(c)));
    }
    std::fprintf(stderr, "\n");
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::int32_t base = 0;
    std::size_t start = 1;
    if (data[0] < 0x80) {
        base = static_cast<std::int32_t>(data[0] % 41) - 2;
    } else if (size >= 5) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, data + 1, sizeof bits);
        base = static_cast<std::int32_t>(bits);
        start = 5;
    }
    const std::string text(reinterpret_cast<const char*>(data) + start, size - start);

    const std::int32_t got_long = numscan::convert_long(text.c_str(), base);
    const std::int32_t want_long = oracle_long(text.c_str(), base);
    if (got_long != want_long) {
        report_disagreement("convert_long", text, base, got_long, want_long);
    }
    const std::int32_t got_decimal = numscan::convert_decimal_int(text.c_str());
    const std::int32_t want_decimal = oracle_decimal(text.c_str());
    if (got_decimal != want_decimal) {
        report_disagreement("convert_decimal_int", text, base, got_decimal, want_decimal);
    }
    return 0;
}
