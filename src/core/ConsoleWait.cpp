#include "core/ConsoleWait.h"

#include <unistd.h>

void waitForConsoleKey() {
    if (!::isatty(STDIN_FILENO)) return;
    char byte;
    // A failed or empty read (end of input) ends the wait just like a key.
    (void)!::read(STDIN_FILENO, &byte, 1);
}
