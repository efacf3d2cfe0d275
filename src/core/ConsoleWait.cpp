#include "core/ConsoleWait.h"

#include "core/PlatformConsole.h"

void waitForConsoleKey() {
    char byte;
    // A failed or empty read (end of input) ends the wait just like a key.
    (void)platform::readConsoleByte(byte);
}
