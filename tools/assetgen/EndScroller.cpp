#include <string>
#include <vector>

#include "Credits.h"
#include "Lettering.h"
#include "Pictures.h"

namespace {

enum class Kind { Title, Heading, Line, Small, Gap };

struct ScrollLine {
    Kind kind;
    std::string text;
};

std::vector<ScrollLine> scrollText() {
    using credits::kGreeted;
    const std::string dot = " \xC2\xB7 ";
    return {{Kind::Title, credits::kDemoName},
            {Kind::Small, "a realtime ride by"},
            {Kind::Line, credits::kGroup},
            {Kind::Gap, ""},
            {Kind::Heading, "CODE"},
            {Kind::Line, credits::kCoder},
            {Kind::Heading, "GRAPHICS"},
            {Kind::Line, credits::kGraphician},
            {Kind::Heading, "MUSIC"},
            {Kind::Line, credits::kMusician},
            {Kind::Heading, "THE KEBAB"},
            {Kind::Line, std::string(credits::kCoder) + " & " + credits::kGraphician},
            {Kind::Gap, ""},
            {Kind::Heading, "THANKS"},
            {Kind::Line, std::string(kGreeted[0]) + dot + kGreeted[1]},
            {Kind::Line, std::string(kGreeted[2]) + dot + kGreeted[3]},
            {Kind::Line, kGreeted[4]},
            {Kind::Small, "the night shift at the corner kebab shop"},
            {Kind::Small, "everyone who still writes software rasterisers"},
            {Kind::Gap, ""},
            {Kind::Heading, "LAST WORDS"},
            {Kind::Small, "Every pixel you saw was put there by the CPU,"},
            {Kind::Small, "one span at a time, sixteen bits of fraction each."},
            {Kind::Small, "No graphics card was harmed."},
            {Kind::Gap, ""},
            {Kind::Small, "Extra garlic sauce, please."},
            {Kind::Small, "See you at the next party!"},
            {Kind::Gap, ""},
            {Kind::Title, "SLUT"}};
}

}  // namespace

Canvas makeEndScroller(TextRenderer& text) {
    // The scroller's background is the part's own fill colour, so its edges never show.
    Canvas c(512, 1536, hex(0x4A525A));
    TextStyle title;
    title.fill = {{0, hex(0xFFFFFF)}, {0.5f, hex(0xFFE070)}, {1, hex(0xFF7A20)}};
    title.outline = 2;
    title.outlineColour = hex(0x1A1A20);
    title.shadowOffset = 4;
    title.shadowBlur = 2;
    title.bevel = 2.5f;
    TextStyle heading;
    heading.fill = {{0, hex(0x9CF0FF)}, {1, hex(0x40A8E0)}};
    heading.shadowOffset = 2;
    heading.shadowBlur = 1;
    TextStyle line;
    line.fill = {{0, hex(0xFFFFFF)}, {1, hex(0xD8DCE8)}};
    line.shadowOffset = 2;
    line.shadowBlur = 1;
    TextStyle small;
    small.fill = {{0, hex(0xE8ECF0)}, {1, hex(0xC0C8D0)}};
    small.shadowOffset = 1;
    small.shadowBlur = 1;

    int y = 120;
    for (const ScrollLine& l : scrollText()) {
        switch (l.kind) {
            case Kind::Gap: y += 70; continue;
            case Kind::Title: {
                Mask m = text.render(Face::SansBoldOblique, 64, l.text, 0, 2);
                drawText(c, m, centredX(c, m), y, title);
                y += m.height + 30;
                break;
            }
            case Kind::Heading: {
                Mask m = text.render(Face::SansBold, 16, l.text, 0, 6);
                drawText(c, m, centredX(c, m), y, heading);
                y += 28;
                break;
            }
            case Kind::Line: {
                Mask m = text.render(Face::SansBold, 26, l.text, 0, 1);
                drawText(c, m, centredX(c, m), y, line);
                y += 44;
                break;
            }
            case Kind::Small: {
                Mask m = text.render(Face::Sans, 17, l.text, 0, 0);
                drawText(c, m, centredX(c, m), y, small);
                y += 30;
                break;
            }
        }
    }
    return c;
}
