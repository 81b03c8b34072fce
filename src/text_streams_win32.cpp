// On Windows the C runtime's text mode already is the stream the driver
// expects: CR LF arrives as '\n', 0x1A ends redirected input, the console
// handles Ctrl-Z itself, each '\n' written goes out as CR LF, and output to a
// console is written out at the end of every call. A failed read is told
// from the end of input by the stream's error flag.
#include "text_streams.hpp"

#include <cerrno>
#include <cstdio>

namespace numscan {
namespace {

int input_error = 0;  // errno of the failed read, or 0

}  // namespace

void prepare_text_streams() noexcept {}

int read_text_char() noexcept {
    if (input_error != 0) {
        return EOF;
    }
    const int c = std::getchar();
    if (c == EOF && std::ferror(stdin) != 0) {
        input_error = errno != 0 ? errno : EIO;
    }
    return c;
}

int text_input_error() noexcept { return input_error; }

}  // namespace numscan
