#pragma once
#include <memory>
#include <string>

#include "LivePlatform.h"

class DemoPart;

// The code of one part class: a loaded module, or the player's own built-in copy. Makes new
// parts of the class. A module stays loaded while anything holds it: every live part made
// from it holds it, so the last part's release unloads it.
class PartModule {
public:
    // The module file of a part class: its parts' maker and its class name, checked.
    static std::shared_ptr<PartModule> load(const std::string& path, const std::string& className,
                                            std::string& error);
    // The part class as the player was built with it; null for a class the show lacks.
    static std::shared_ptr<PartModule> builtIn(const std::string& className);

    ~PartModule();
    PartModule(const PartModule&) = delete;
    PartModule& operator=(const PartModule&) = delete;

    // A new part, not yet initialised.
    DemoPart* make() const { return maker(); }
    const std::string& className() const { return name; }
    bool isBuiltIn() const { return module == nullptr; }
    // Counts the modules loaded so far in this process; 0 for the built-in code.
    int serial() const { return loadSerial; }

private:
    PartModule(live::Module* module, DemoPart* (*maker)(), std::string name, int serial)
        : module(module), maker(maker), name(std::move(name)), loadSerial(serial) {}

    live::Module* module;
    DemoPart* (*maker)();
    std::string name;
    int loadSerial;
};

// What a part module exports (see ModuleEntry.cpp).
#define LIVE_PART_MAKER_SYMBOL "livePartMaker"
#define LIVE_PART_CLASS_SYMBOL "livePartClass"
