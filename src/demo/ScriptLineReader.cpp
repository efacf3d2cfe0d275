#include "demo/ScriptLineReader.h"

const char* ScriptLineReader::next() {
    int length = 0;
    while (!ended && length < kMaxLine) {
        if (position == size) {
            ended = true;
            break;
        }
        const char c = static_cast<char>(data[position++]);
        // Text mode: CR LF is a line feed; a lone CR is an ordinary character.
        if (c == '\r' && position < size && data[position] == '\n') {
            ++position;
            break;
        }
        if (c == '\n') break;
        line[length++] = c;
    }
    line[length] = '\0';
    return line;
}
