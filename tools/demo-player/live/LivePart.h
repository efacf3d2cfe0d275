#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "demo/DemoPart.h"

class PartModule;

// A place in the show whose code can change while it plays: it forwards every call to a
// part made by the current code, each call guarded. A draw that crashes or hangs puts the
// frame back as it was before the draw, and the fault is kept for the live coder, which
// then brings back code that works. The window (start, end, owner) is the place's: the
// sync script sets it here, and every forwarded call hands it on.
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

    // Puts a new part in, made and initialised by the caller from code; the old part is
    // deleted (unless it faulted: its state is not to be trusted, so it is left alone) and
    // its code let go.
    void replace(std::shared_ptr<PartModule> code, DemoPart* part);
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

// The class of the part a place holds: the inner part's for a LivePart.
std::string livePartClassName(const DemoPart& part);
