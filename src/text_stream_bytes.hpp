// What both platforms' standard-input layers share: reading a byte with its
// failure noted, and the CR LF rule of a text stream. Internal to those
// layers; the driver sees only text_streams.hpp.
#pragma once

#include <cerrno>
#include <cstdio>

namespace numscan::text_bytes {

// The byte that ends a text stream read from a file or pipe (Ctrl-Z).
constexpr int kEndOfText = 0x1A;

// The next byte of standard input, or EOF at its end or on a failed read,
// whose errno goes to error unless a failure is noted there already.
inline int next_byte(int& error) noexcept {
    const int c = std::getchar();
    if (c == EOF && std::ferror(stdin) != 0 && error == 0) {
        error = errno != 0 ? errno : EIO;
    }
    return c;
}

// Gives '\n' for a CR that a LF follows, reading that LF; any other c as it
// is. The byte after a lone CR (or the end of input) is left to be read next.
inline int fold_cr_lf(int c, int& error) noexcept {
    if (c != '\r') {
        return c;
    }
    const int next = next_byte(error);
    if (next == '\n') {
        return '\n';
    }
    std::ungetc(next, stdin);
    return c;
}

}  // namespace numscan::text_bytes
