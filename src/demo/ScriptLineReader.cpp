#include "demo/ScriptLineReader.h"

const char* ScriptLineReader::next() {
    int length = 0;
    if (!file) ended = true;
    while (!ended && length < kMaxLine) {
        int c = std::fgetc(file);
        if (c == EOF) {
            ended = true;
            break;
        }
        if (c == '\r') {
            // Text mode: CR LF is a line feed; a lone CR is an ordinary character.
            int following = std::fgetc(file);
            if (following == '\n') break;
            if (following != EOF) std::ungetc(following, file);
        }
        if (c == '\n') break;
        line[length++] = static_cast<char>(c);
    }
    line[length] = '\0';
    return line;
}
