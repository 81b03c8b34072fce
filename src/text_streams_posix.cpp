// On POSIX hosts standard input is a plain byte stream, so the line-end and
// end-of-input rules of a console text stream are applied here, over stdio.
#include "text_streams.hpp"

#include <cerrno>
#include <cstdio>

#include <unistd.h>

namespace numscan {
namespace {

// The byte that ends a console text stream (Ctrl-Z).
constexpr int kEndOfText = 0x1A;

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

// The next byte of standard input, or EOF at its end or on a failed read,
// which is noted.
int next_byte() noexcept {
    const int c = std::getchar();
    if (c == EOF && std::ferror(stdin) != 0 && input.error == 0) {
        input.error = errno != 0 ? errno : EIO;
    }
    return c;
}

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
        if (c == '\r') {
            const int next = next_byte();
            if (next == '\n') {
                c = '\n';
            } else {
                // Not part of a line end: the CR stands, and the byte after
                // it (or the end of input) is read next.
                std::ungetc(next, stdin);
            }
        }
        input.at_line_start = c == '\n';
        return c;
    }
}

int text_input_error() noexcept { return input.error; }

}  // namespace numscan
