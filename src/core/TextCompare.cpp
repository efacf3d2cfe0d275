#include "core/TextCompare.h"

namespace {

int folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
}

}  // namespace

int compareIgnoringCase(const char* a, const char* b, size_t count) {
    for (size_t i = 0; i < count; i++) {
        const int difference = folded(a[i]) - folded(b[i]);
        if (difference != 0 || a[i] == '\0') return difference;
    }
    return 0;
}

int compareIgnoringCase(const char* a, const char* b) { return compareIgnoringCase(a, b, static_cast<size_t>(-1)); }
