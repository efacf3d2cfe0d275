#include "assets/TextureProjection.h"

#include <cmath>

#include "assets/ImageFactory.h"
#include "assets/LwoReader.h"
#include "core/Bitmap.h"
#include "core/LibcRandom.h"
#include "core/TextCompare.h"
#include "engine/PolygonTexture.h"

PolygonTexture* buildProjection(const LwoTexture& texture) {
    PolygonTexture* projection = new PolygonTexture;
    projection->width = 256;
    projection->height = 256;
    projection->mapType = PolygonTexture::Planar;
    projection->axis = PolygonTexture::AxisX;

    projection->image = new Bitmap(256, 256);
    projection->loadedImage = projection->image;
    VEX_ImageFactory factory;
    factory.loadInto(projection->image, texture.imageName, 256, 256, true, 1);

    if (compareIgnoringCase(texture.typeName, "Planar Image Map") == 0)
        projection->mapType = PolygonTexture::Planar;
    if (compareIgnoringCase(texture.typeName, "Cylindrical Image Map") == 0)
        projection->mapType = PolygonTexture::Cylindrical;
    if (compareIgnoringCase(texture.typeName, "Spherical Image Map") == 0)
        projection->mapType = PolygonTexture::Spherical;

    // Tested in this order, so of several bits the highest wins.
    if (texture.flags & 0x1) projection->axis = PolygonTexture::AxisX;
    if (texture.flags & 0x2) projection->axis = PolygonTexture::AxisY;
    if (texture.flags & 0x4) projection->axis = PolygonTexture::AxisZ;

    projection->centre.setFrom(texture.centre);
    projection->size.setFrom(texture.size);
    return projection;
}

namespace {

// Replaces `coordinate` with value when that is finite.
void keepFinite(double value, float& coordinate) {
    if (std::isfinite(value)) coordinate = static_cast<float>(value);
}

}  // namespace

void projectPoint(const PolygonTexture* projection, float x, float y, float z, float& u,
                  float& v) {
    u = static_cast<float>(demoRandom().next() & 0xFF);
    v = static_cast<float>(demoRandom().next() & 0xFF);
    if (!projection) return;

    if (projection->mapType == PolygonTexture::Planar) {
        const Vector& centre = projection->centre;
        const Vector& size = projection->size;
        const double qx = (x - centre.x) / size.x + 0.5;
        const double qy = (y - centre.y) / size.y + 0.5;
        const double qz = (z - centre.z) / size.z + 0.5;
        switch (projection->axis) {
            case PolygonTexture::AxisX:
                keepFinite(qz * 255, u);
                keepFinite(qy * -255, v);
                break;
            case PolygonTexture::AxisY:
                keepFinite(qx * 255, u);
                keepFinite(qz * -255, v);
                break;
            case PolygonTexture::AxisZ:
                keepFinite(qx * 255, u);
                keepFinite(qy * -255, v);
                break;
            default: break;
        }
    }
    u = std::floor(u);
    v = std::floor(v);
}
