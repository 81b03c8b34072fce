// The platform's standard streams as the driver sees them: text streams in
// which a line end, whatever the host writes, is one line feed.
#pragma once

namespace numscan {

// prepare_text_streams readies standard output so that, when it is a
// terminal, each write reaches the terminal before it returns (a prompt is on
// screen while the program waits). Elsewhere output stays buffered until exit.
// Call it once, before the first write.
void prepare_text_streams() noexcept;

// read_text_char returns the next character of standard input as an unsigned
// char value, or EOF once the input has ended; after EOF it keeps returning
// EOF. A CR LF pair arrives as one '\n' and a CR not followed by LF as itself.
// A 0x1A byte in a file or pipe ends the input. At a terminal a 0x1A at the
// start of a line ends the input, and one after other characters drops itself
// and the rest of its line, line end included. A failed read also ends the
// input, and text_input_error then tells it from a true end.
int read_text_char() noexcept;

// text_input_error returns 0 while standard input has been read without
// failure, or the errno of the failed read that ended it.
int text_input_error() noexcept;

}  // namespace numscan
