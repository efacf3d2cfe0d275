#include "PartModule.h"

#include <cstring>

#include "parts/Timeline.h"

namespace {

struct BuiltInMaker {
    const char* className;
    DemoPart* (*maker)();
};

#define LIVE_BUILT_IN(Class, ...) BuiltInMaker{#Class, &new##Class},
const BuiltInMaker kBuiltIn[] = {SHOW_PARTS(LIVE_BUILT_IN, SHOW_SKIP)};
#undef LIVE_BUILT_IN

int modulesLoaded = 0;

}  // namespace

std::shared_ptr<PartModule> PartModule::load(const std::string& path, const std::string& className,
                                             std::string& error) {
    live::Module* module = live::loadModule(path, error);
    if (!module) return nullptr;
    auto maker = reinterpret_cast<DemoPart* (*)()>(live::moduleSymbol(module, LIVE_PART_MAKER_SYMBOL));
    auto name = reinterpret_cast<const char* (*)()>(live::moduleSymbol(module, LIVE_PART_CLASS_SYMBOL));
    if (!maker || !name) error = path + " is no part module: it lacks " LIVE_PART_MAKER_SYMBOL;
    else if (className != name()) error = path + " makes " + name() + ", not " + className;
    if (!error.empty()) {
        live::unloadModule(module);
        return nullptr;
    }
    return std::shared_ptr<PartModule>(new PartModule(module, maker, className, ++modulesLoaded));
}

std::shared_ptr<PartModule> PartModule::builtIn(const std::string& className) {
    for (const BuiltInMaker& entry : kBuiltIn)
        if (className == entry.className)
            return std::shared_ptr<PartModule>(new PartModule(nullptr, entry.maker, className, 0));
    return nullptr;
}

PartModule::~PartModule() { live::unloadModule(module); }
