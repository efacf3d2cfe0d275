#pragma once

class Bitmap;
class meshSurfaceObject;

// Loads the kebab object and dresses it in one bump- and environment-mapped surface whose
// texture coordinates come from the vertex normals. Keeps no state.
class KebabObjectLoader {
public:
    // The mesh of objectFile with one surface of flags 7: image texture imageFile,
    // environment envFile and the gradient of bumpFile (both pictures 256 by 256).
    meshSurfaceObject* load(const char* objectFile, const char* bumpFile, const char* envFile,
                            const char* imageFile);
};

// A new 256 by 256 bump map from a 256 by 256 height picture (its blue channel): bits
// 16-23 carry the horizontal and bits 0-7 the vertical central difference, halved, as
// signed bytes; the picture wraps at its edges.
Bitmap* makeBumpGradient(const Bitmap* picture);

// Where a unit normal points, as texel coordinates: u from its x, v from its y (1..255).
float normalToTexel(double component);
