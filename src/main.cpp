// numscan: reads the text of one integer, from the first argument or from a
// line typed after a prompt, in base 10 or the base given as the second
// argument, and reports the text, its value and the value plus one.
#include "integer_text.hpp"
#include "text_streams.hpp"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>

namespace {

// The number's text: at most 99 characters and the terminating zero. Longer
// input is cut to its first 99 characters, so the report always echoes
// exactly the text that was converted.
constexpr std::size_t kNumberTextSize = 100;
using NumberText = std::span<char, kNumberTextSize>;

// fetch_text_line reads one line of standard input into buffer, without its
// line feed, stores a terminating zero after it and returns true. Zero bytes
// are stored like any other character. Characters past the buffer's capacity
// are read and dropped up to the line feed, so memory stays constant and none
// of the line is left behind for the next reader of the same terminal.
// Returns false, leaving buffer untouched, when the input ends before any
// character or line feed arrives.
bool fetch_text_line(NumberText buffer) noexcept {
    std::size_t stored = 0;
    bool anything_read = false;
    for (int c = numscan::read_text_char(); c != EOF; c = numscan::read_text_char()) {
        anything_read = true;
        if (c == '\n') {
            break;
        }
        if (stored < buffer.size() - 1) {
            buffer[stored++] = static_cast<char>(c);
        }
    }
    if (!anything_read) {
        return false;
    }
    buffer[stored] = '\0';
    return true;
}

// Copies at most the capacity of buffer, less the terminating zero, of text.
void copy_number_text(const char* text, NumberText buffer) noexcept {
    std::size_t length = 0;
    while (length < buffer.size() - 1 && text[length] != '\0') {
        ++length;
    }
    std::memcpy(buffer.data(), text, length);
    buffer[length] = '\0';
}

// Says on standard error that reading the input or writing the report failed,
// with the system's description of error.
void say_failure(const char* what, int error) noexcept {
    std::fprintf(stderr, "numscan: %s error: %s\n", what, std::strerror(error));
}

// The errno of the first failed write to standard output, or 0.
int first_write_error = 0;

void note_write(int written) noexcept {
    if (written < 0 && first_write_error == 0) {
        first_write_error = errno != 0 ? errno : EIO;
    }
}

// Writes out standard output and says whether everything reached it; if not,
// reports the failure on standard error.
bool finish_output() noexcept {
    if (std::fflush(stdout) != 0) {
        note_write(-1);
    }
    if (first_write_error == 0 && std::ferror(stdout) != 0) {
        first_write_error = EIO;
    }
    if (first_write_error == 0) {
        return true;
    }
    say_failure("write", first_write_error);
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    numscan::prepare_text_streams();

    // Stays the empty text when the input ends before any character.
    char number_text[kNumberTextSize] = "";
    std::int32_t base = 10;

    if (argc < 2) {
        note_write(std::printf("Enter number to be scanned:  "));
        fetch_text_line(number_text);
        // A line cut short by a failed read is not the user's number: no
        // report, and a status that says so. The prompt stays written.
        if (const int error = numscan::text_input_error(); error != 0) {
            say_failure("read", error);
            return 1;
        }
    } else {
        copy_number_text(argv[1], number_text);
        if (argc > 2) {
            base = numscan::convert_decimal_int(argv[2]);
        }
    }

    const std::int32_t value = numscan::convert_long(number_text, base);
    // The sum wraps in 32 bits: 2147483647 + 1 is -2147483648.
    const auto sum = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + 1U);

    note_write(std::printf("You entered \"%s\"\n", number_text));
    note_write(std::printf("In base 10, this number is %d\n", static_cast<int>(value)));
    note_write(std::printf("Your number + 1 is:  %ld", static_cast<long>(sum)));

    return finish_output() ? 0 : 1;
}
