#pragma once
#include <cstdint>

class Bitmap;
struct RenderPolygon;

// A sprite for drawSprite: a 256- or 64-wide picture, its size in world units and its
// camera-space position.
struct SpriteRecord {
    const Bitmap* picture = nullptr;
    double sizeX = 0, sizeY = 0;
    double x = 0, y = 0, z = 0;
};

// The 3D engine's drawing interface: 22 operations in a fixed order. The base draws nothing.
// Kept for fidelity though nothing calls them: the unusedN slots, which hold the operations'
// places in the order (no polygon kind dispatches to them), and drawTexturedShaded,
// drawShaded and setFlag, which complete the driver.
class RenderDriver {
public:
    virtual void unused0(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawFlat(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawTextured(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void unused3(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawImageEnv(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawTranspMapped(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawBumpEnv(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawImageBumpEnv(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void unused8(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void unused9(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void unused10(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawPerspective(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawPerspectiveKeyed(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawPerspectiveNoDepth(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawPerspectiveFogNoDepth(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawPerspectiveFog(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawTexturedShaded(RenderPolygon*, Bitmap*, int32_t) {}
    virtual void drawShaded(RenderPolygon*, Bitmap*, int32_t) {}
    // The sprite slot, kept for fidelity: complete, but nothing in the demo draws sprites.
    virtual void drawSprite(const SpriteRecord*, Bitmap*, int32_t) {}
    virtual void setFlag(uint8_t) {}
    virtual void clearDepth() {}
    virtual ~RenderDriver() = default;
};

// The software driver: owns the depth buffer and the fog settings; its fill operations
// are the rasterisers.
class NewRenderDriver : public RenderDriver {
public:
    float fogNear = 0.0f;
    float fogFar = 0.0f;
    float fogRange = 0.0f;
    uint32_t fogColour = 0;
    float* depthBuffer = nullptr;   // width * height keys, row-major
    int32_t width = 0;
    int32_t height = 0;
    uint8_t flag = 0;

    // Reads only size's width and height.
    explicit NewRenderDriver(const Bitmap* size);
    ~NewRenderDriver() override;   // prints "deleting a NewRenderDriver \n"

    void drawFlat(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawTextured(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawImageEnv(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawTranspMapped(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawBumpEnv(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawImageBumpEnv(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawPerspective(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawPerspectiveKeyed(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawPerspectiveNoDepth(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawPerspectiveFogNoDepth(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawPerspectiveFog(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawTexturedShaded(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawShaded(RenderPolygon* polygon, Bitmap* target, int32_t stamp) override;
    void drawSprite(const SpriteRecord* sprite, Bitmap* target, int32_t stamp) override;
    void setFlag(uint8_t value) override;
    void clearDepth() override;

    NewRenderDriver(const NewRenderDriver&) = delete;
    NewRenderDriver& operator=(const NewRenderDriver&) = delete;
};
