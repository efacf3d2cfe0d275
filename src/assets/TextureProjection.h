#pragma once

class PolygonTexture;
struct LwoTexture;

// A new PolygonTexture for one texture definition of an object file: its picture loaded
// through the image factory at 256 x 256, its map type from the type name, its axis from
// the flags, its centre and size.
PolygonTexture* buildProjection(const LwoTexture& texture);

// Texture coordinates of the point (x, y, z) under `projection` (may be null), in texels.
// Two values of the demo's rand() sequence (u first) give a pseudo-random pair in 0..255 that stays for a
// null projection, for the cylindrical and spherical kinds and for an unknown axis; the
// planar kind maps the box `size` around `centre` onto u 0..255 and v 0..-255. A planar
// coordinate without a finite value (a zero size component, a non-finite point) keeps
// its random value. Both are rounded down.
void projectPoint(const PolygonTexture* projection, float x, float y, float z, float& u,
                  float& v);
