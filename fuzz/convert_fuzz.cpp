// Differential fuzz target: both conversions against independent oracles.
//
// An input's first byte chooses the form of the rest and the base:
// - below 0x80: the rest is the text, in base (byte % 41) - 2, so that -2 to
//   38 and every usable base are reached often;
// - 0x80 to 0xFE: the rest spells a number (see number_text), in base
//   ((byte - 0x80) % 41) - 2. Random bytes rarely spell a value at a limit;
//   these inputs do, so the checks at each limit are reached every run;
// - 0xFF: the next four bytes are the base's raw 32 bits, the rest the text.
// A text ends at its first zero byte, as any C text does.
#include "integer_text.hpp"
#include "oracle.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Reads the fixed-size fields of an input, zero once the input runs out.
struct Fields {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t next() { return size == 0 ? 0 : (--size, *data++); }
};

// The text of a number: the value is 2^31, 2^32, a power of the base, or
// eight raw bytes (by the first field), plus a signed delta (the second),
// written in the base (10 where it is unusable) after the blanks, sign and
// prefix the next two fields choose, in the case they choose, and followed by
// the rest of the input.
std::string number_text(Fields in, std::int32_t base) {
    const std::uint8_t anchor = in.next();
    const auto delta = static_cast<std::int8_t>(in.next());
    const std::uint8_t form = in.next();
    const std::uint8_t prefix = in.next() % 4;
    const std::uint64_t digit_base = base >= 2 && base <= 36      ? static_cast<std::uint64_t>(base)
                                     : prefix == 1 || prefix == 2 ? 16
                                     : prefix == 3                ? 8
                                                                  : 10;
    std::uint64_t value = 0;
    if (anchor % 4 == 0) {
        value = std::uint64_t{1} << 31;
    } else if (anchor % 4 == 1) {
        value = std::uint64_t{1} << 32;
    } else if (anchor % 4 == 2) {
        value = 1;
        for (int k = anchor / 4 % 34; k > 0 && value <= UINT64_MAX / digit_base; --k) {
            value *= digit_base;
        }
    } else {
        for (int i = 0; i < 8; ++i) {
            value = value << 8 | in.next();
        }
    }
    value += static_cast<std::uint64_t>(static_cast<std::int64_t>(delta));

    const bool upper = (form & 0x80) != 0;
    std::string text(form % 4, " \t\n\v\f\r"[form / 4 % 6]);
    text += "\0+-"[form / 32 % 4 % 3];
    if (text.back() == '\0') {
        text.pop_back();
    }
    text += std::array{"", "0x", "0X", "0"}[prefix];
    text += numscan::oracle::digits_of(value, digit_base, upper);
    text.append(reinterpret_cast<const char*>(in.data), in.size);
    return text;
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
    std::string text;
    if (data[0] < 0x80) {
        base = static_cast<std::int32_t>(data[0] % 41) - 2;
        text.assign(reinterpret_cast<const char*>(data) + 1, size - 1);
    } else if (data[0] < 0xFF) {
        base = static_cast<std::int32_t>((data[0] - 0x80) % 41) - 2;
        text = number_text(Fields{data + 1, size - 1}, base);
    } else if (size >= 5) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, data + 1, sizeof bits);
        base = static_cast<std::int32_t>(bits);
        text.assign(reinterpret_cast<const char*>(data) + 5, size - 5);
    }

    const std::int32_t got_long = numscan::convert_long(text.c_str(), base);
    const std::int32_t want_long = numscan::oracle::expected_long(text.c_str(), base);
    if (got_long != want_long) {
        report_disagreement("convert_long", text, base, got_long, want_long);
    }
    const std::int32_t got_decimal = numscan::convert_decimal_int(text.c_str());
    const std::int32_t want_decimal = numscan::oracle::expected_decimal_int(text.c_str());
    if (got_decimal != want_decimal) {
        report_disagreement("convert_decimal_int", text, base, got_decimal, want_decimal);
    }
    return 0;
}
