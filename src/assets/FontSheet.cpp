#include "assets/FontSheet.h"

#include <cstdio>
#include <cstring>

#include "assets/ImageFactory.h"
#include "core/Bitmap.h"

FontSheet::FontSheet() = default;

FontSheet::~FontSheet() {
    delete[] glyphs;
    delete[] spare;
}

void FontSheet::loadSheet(const char* fileName) {
    if (glyphSize < 1 || glyphSize > kSheetHeight) {
        std::fprintf(stderr, "font sheet %s: glyph size %d does not fit the sheet; not loaded\n",
                     fileName ? fileName : "(null)", glyphSize);
        return;
    }
    VEX_ImageFactory factory;
    picture_.reset(new Bitmap(kSheetWidth, kSheetHeight));
    factory.loadInto(picture_.get(), fileName, kSheetWidth, kSheetHeight, false, 1);

    const size_t cellPixels = size_t(glyphSize) * size_t(glyphSize);
    delete[] glyphs;
    delete[] spare;
    glyphs = new uint32_t[kCellCount * cellPixels]();
    spare = new int32_t[glyphSize]();

    // Sheet cell n holds code firstCode + n; only codes 0..127 are cut.
    const int64_t firstCell = firstCode < 0 ? -int64_t(firstCode) : 0;
    const int64_t endCell = 128 - int64_t(firstCode);
    for (int64_t n = firstCell; n < endCell; ++n) {
        const int64_t column = (n * glyphSize) % kSheetWidth;
        const int64_t row = (n * glyphSize / kSheetWidth) * glyphSize;
        if (column + glyphSize > kSheetWidth || row + glyphSize > kSheetHeight) continue;
        uint32_t* cell = glyphs + size_t(firstCode + n) * cellPixels;
        for (int32_t y = 0; y < glyphSize; ++y)
            std::memcpy(cell + size_t(y) * glyphSize,
                        picture_->pixels + (row + y) * kSheetWidth + column,
                        sizeof(uint32_t) * size_t(glyphSize));
    }
}
