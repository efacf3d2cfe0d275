#pragma once
#include <string>

#include "Mask.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

// The Debian DejaVu faces used for lettering.
enum class Face { Sans, SansBold, SansBoldOblique, Condensed, SerifBoldItalic, MonoBold };

// Renders UTF-8 text into coverage masks with FreeType.
class TextRenderer {
public:
    explicit TextRenderer(const std::string& fontDirectory);
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // A mask just large enough for the text's ink box, with `border` empty pixels around.
    // `tracking` adds that many pixels between letters.
    Mask render(Face face, int pixelSize, const std::string& utf8, int border = 0,
                int tracking = 0);
    // Like render, but lays the text into a cell of exactly width x height with the
    // baseline at `baseline` (rows from the top), starting `left` pixels in; antialiasing
    // can be switched off for crisp small glyphs.
    Mask renderCell(Face face, int pixelSize, const std::string& utf8, int width, int height,
                    int left, int baseline, bool antialias);

private:
    FT_FaceRec_* face(Face which);
    void drawInto(Mask& target, FT_FaceRec_* f, const std::string& utf8, int penX, int baseline,
                  int tracking, bool antialias);

    FT_LibraryRec_* library = nullptr;
    FT_FaceRec_* faces[6] = {};
    std::string directory;
};
