/* The same job done the plain C way, with the C library's own strtol, as a
 * yardstick for the cost of one whole numscan run. */
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
    char text[100] = "";
    int base = 10;
    if (argc < 2) {
        printf("Enter number to be scanned:  ");
        fflush(stdout);
        if (fgets(text, sizeof text, stdin) != NULL) {
            text[strcspn(text, "\n")] = '\0';
        }
    } else {
        strncpy(text, argv[1], sizeof text - 1);
        if (argc > 2) {
            base = atoi(argv[2]);
        }
    }
    long value = strtol(text, NULL, base);
    if (value > INT_MAX) {
        value = INT_MAX;
    } else if (value < INT_MIN) {
        value = INT_MIN;
    }
    printf("You entered \"%s\"\n", text);
    printf("In base 10, this number is %ld\n", value);
    printf("Your number + 1 is:  %ld", (long)(int)((unsigned)value + 1u));
    return 0;
}
