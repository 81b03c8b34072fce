// On Windows the C runtime's text mode already is the stream the driver
// expects: CR LF arrives as '\n', 0x1A ends redirected input, the console
// handles Ctrl-Z itself, each '\n' written goes out as CR LF, and output to a
// console is written out at the end of every call.
#include "text_streams.hpp"

#include <cstdio>

namespace numscan {

void prepare_text_streams() noexcept {}

int read_text_char() noexcept { return std::getchar(); }

}  // namespace numscan
