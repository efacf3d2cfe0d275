#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "demo/DemoPart.h"

class PartModule;

// A part whose code can change while the show plays: it forwards every call to a part
// made by that code, each call guarded, and holds the code while it lives (deleting it
// deletes the part, then lets the code go). A draw that crashes or hangs puts the frame
// back as it was before the draw, and the fault is kept for the live coder, which then
// puts code that works in its place. A faulted part is never called or deleted again: its
// state is not to be trusted. The window (start, end, owner) is the place's: the session
// sets it here, and every forwarded call hands it on.
class LivePart : public DemoPart {
public:
    static constexpr double kCallLimitSeconds = 1.0;

    LivePart(std::shared_ptr<PartModule> code, DemoPart* part);
    ~LivePart() override;

    void init(Bitmap* frame, NewRenderDriver* driver) override;
    void draw(Bitmap* target, NewRenderDriver* driver, float time) override;
    int32_t onEvent(const SyncEvent* event) override;
    void notify(int32_t value) override;
    void rewind() override;

    // Hands this place's window to a part.
    void lendWindow(DemoPart& part) const;

    const std::shared_ptr<PartModule>& code() const { return current; }
    DemoPart* part() const { return inner; }
    bool faulted() const { return !faultReason.empty(); }
    // What went wrong and where ("SIGSEGV (Segmentation fault) in draw at 93.20 s").
    const std::string& fault() const { return faultReason; }

private:
    bool guard(const char* call, float time, const std::function<void()>& work);

    std::shared_ptr<PartModule> current;
    DemoPart* inner;
    std::string faultReason;
    std::vector<uint32_t> frameBefore;
};

