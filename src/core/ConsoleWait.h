#pragma once

// Waits for a key press on the console: reads one byte from standard input. Returns at
// once when standard input is not a terminal or is at its end, so that runs without a
// console (tests, offline rendering) never block.
void waitForConsoleKey();
