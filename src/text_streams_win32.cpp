// On Windows the console already is the stream the driver expects: the C
// runtime's text mode turns CR LF into '\n', ends the input at a Ctrl-Z at
// the start of a line, writes each '\n' as CR LF and writes output to a
// console out at the end of every call. Redirected input is read in binary
// mode instead and its line ends are worked out here: text mode reads one
// byte past a CR to see whether a LF follows and drops a failure of that
// read, which would turn a broken input into a report. A failed read is told
// from the end of input by the stream's error flag.
#include "text_streams.hpp"

#include "text_stream_bytes.hpp"

#include <cstdio>

#include <fcntl.h>
#include <io.h>

namespace numscan {
namespace {

struct InputState {
    bool checked;     // the mode of standard input has been set
    bool redirected;  // standard input is a file or pipe, read in binary mode
    bool ended;       // EOF has been returned
    int error;        // errno of the failed read, or 0
};

InputState input{.checked = false, .redirected = false, .ended = false, .error = 0};

// The descriptor of standard input, as on every C runtime.
constexpr int kInputDescriptor = 0;

}  // namespace

void prepare_text_streams() noexcept {}

int read_text_char() noexcept {
    if (input.ended || input.error != 0) {
        return EOF;
    }
    if (!input.checked) {
        input.redirected =
            _isatty(kInputDescriptor) == 0 && _setmode(kInputDescriptor, _O_BINARY) != -1;
        input.checked = true;
    }
    const int c = text_bytes::next_byte(input.error);
    if (!input.redirected) {
        return c;
    }
    if (c == EOF || c == text_bytes::kEndOfText) {
        input.ended = true;
        return EOF;
    }
    return text_bytes::fold_cr_lf(c, input.error);
}

int text_input_error() noexcept { return input.error; }

}  // namespace numscan
