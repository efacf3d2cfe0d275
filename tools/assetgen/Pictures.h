#pragma once
#include "Canvas.h"
#include "Text.h"

// Every picture of the show, at the size its part loads it. The invented names used in
// the pictures (the group, its members, the greeted groups) live in Credits.h.

// Font sheet, 320 x 200: 8 x 8 glyphs for codes 31..127 in rows of 40 cells.
Canvas makeFontSheet(TextRenderer& text);

// Title, strips and the flash (TitlePictures.cpp).
Canvas makeTitle(TextRenderer& text);                 // 512 x 384
Canvas makeGrymtStrip(TextRenderer& text);            // 512 x 100
Canvas makeFlowStrip(TextRenderer& text);             // 512 x 100
Canvas makePow(TextRenderer& text);                   // 512 x 384

// Tiling textures (Textures.cpp): all 256 x 256 and seamless at every edge.
Canvas makePlasmaTile();      // rotozoom base layer
Canvas makeRingTile();        // rotozoom layer added on top
Canvas makeTunnelTile();      // credits tunnel
Canvas makeBumpHeights();     // kebab bump heights, grey (the blue channel counts)
Canvas makeEnvironment();     // kebab environment, a shiny studio seen in a mirror ball

// Scenes (Scenes.cpp).
Canvas makeGraffiti(TextRenderer& text);              // 512 x 384
Canvas makeKebabBackdrop(TextRenderer& text);         // 512 x 384

// The house at night (HousePictures.cpp).
Canvas makeHouse(TextRenderer& text);                 // 512 x 384
Canvas makeMeLabel(TextRenderer& text);               // 100 x 30, on black (added)
Canvas makeArrow();                                   // 40 x 40, on black (added)

// Credits and greetings (CreditPictures.cpp); all on black, added onto what is below.
Canvas makeCodePlate(TextRenderer& text);             // 512 x 80
Canvas makeGraphicsPlate(TextRenderer& text);         // 512 x 80
Canvas makeMusicPlate(TextRenderer& text);            // 512 x 160
Canvas makeEmblem();                                  // 256 x 256
Canvas makeGreetingsBackdrop(TextRenderer& text);     // 512 x 384
Canvas makeGreetPlate(TextRenderer& text, int number);// 100 x 30, number 1..5
template <int Number>
Canvas makeGreetPlate(TextRenderer& text) { return makeGreetPlate(text, Number); }

// The end scroller, 512 x 1536, on the scroller's own dark grey-blue.
Canvas makeEndScroller(TextRenderer& text);
