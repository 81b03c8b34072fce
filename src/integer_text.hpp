// Conversion of integer text to exact 32-bit values.
//
// This header is the whole interface between the console driver and the
// conversion. Both functions are pure: they read a zero-terminated text,
// never change it, keep no state between calls and give a defined value for
// every input. Character classes are the fixed ones of the "C" locale, and
// every result is a 32-bit two's-complement value whatever the width of the
// host's own integer types.
#pragma once

#include <cstdint>

namespace numscan {

// convert_long reads the integer at the start of text in the given base.
//
// Leading white space (space, \t, \n, \v, \f, \r) is skipped, then one
// optional '+' or '-'. A base below 0, equal to 1 or above 36 gives 0. Base 0
// picks 16 for a "0x" or "0X" prefix, 8 for any other leading '0' and 10
// otherwise; under base 16 a "0x" or "0X" prefix is skipped. Digits are '0'
// to '9' and then the letters, 'a' or 'A' worth 10 up to 'z' or 'Z' worth 35;
// the scan ends at the first character that is not a digit of the base.
// Text with no digit gives 0. A value outside the 32-bit range gives the
// nearest limit, INT32_MIN or INT32_MAX.
std::int32_t convert_long(const char* text, std::int32_t base) noexcept;

// convert_decimal_int reads the decimal integer at the start of text.
//
// Leading white space and one optional '+' or '-' are skipped as for
// convert_long; the decimal digits that follow form the number, which wraps
// modulo 2^32 at every step and is negated modulo 2^32 after a '-'. There is
// no base prefix and no clamping. Text with no digit gives 0.
std::int32_t convert_decimal_int(const char* text) noexcept;

}  // namespace numscan
