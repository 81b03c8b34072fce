// On POSIX hosts standard input is a plain byte stream, so the line-end and
// end-of-input rules of a console text stream are applied here, over stdio.
#include "text_streams.hpp"

#include "text_stream_bytes.hpp"

#include <cstdio>

#include <unistd.h>

namespace numscan {
namespace {

using text_bytes::kEndOfText;

struct InputState {
    bool checked;        // terminal has been worked out
    bool terminal;       // standard input is a terminal
    bool ended;          // EOF has been returned
    bool at_line_start;  // nothing read yet on the current terminal line
    int error;           // errno of the failed read, or 0
};

InputState input{
    .checked = false, .terminal = false, .ended = false, .at_line_start = true, .error = 0};

int end_input() noexcept {
    input.ended = true;
    return EOF;
}

// The next byte of standard input; a failed read is noted in input.error.
int next_byte() noexcept { return text_bytes::next_byte(input.error); }

}  // namespace

void prepare_text_streams() noexcept {
    if (isatty(STDOUT_FILENO) != 0) {
        std::setvbuf(stdout, nullptr, _IONBF, 0);
    }
}

int read_text_char() noexcept {
    if (input.ended || input.error != 0) {
        return EOF;
    }
    if (!input.checked) {
        input.terminal = isatty(STDIN_FILENO) != 0;
        input.checked = true;
    }
    for (;;) {
        int c = next_byte();
        if (c == EOF) {
            return end_input();
        }
        if (c == kEndOfText) {
            if (!input.terminal || input.at_line_start) {
                return end_input();
            }
            // Mid-line at a terminal: drop the rest of this line, its line
            // end included, and go on with the next line.
            do {
                c = next_byte();
            } while (c != EOF && c != '\n');
            if (c == EOF) {
                return end_input();
            }
            input.at_line_start = true;
            continue;
        }
        c = text_bytes::fold_cr_lf(c, input.error);
        input.at_line_start = c == '\n';
        return c;
    }
}

int text_input_error() noexcept { return input.error; }

}  // namespace numscan
