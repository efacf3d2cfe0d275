#include "parts/Timeline.h"

#include "demo/Demo.h"
#include "demo/Transition.h"
#include "parts/CredsPart.h"
#include "parts/FetdelPart.h"
#include "parts/ForortPart.h"
#include "parts/ForstaPart.h"
#include "parts/GreetsPart.h"
#include "parts/GrymtPart.h"
#include "parts/HusetPart.h"
#include "parts/SlutPart.h"

// The list index is what ties a part to its change times in the sync script.
void addTimeline(Demo* demo) {
    demo->addPart(new ForstaPart());
    CrossfadeTransition* crossfade = new CrossfadeTransition();
    crossfade->duration = 1.0f;
    demo->addTransition(crossfade);
    demo->addPart(new GrymtPart());
    demo->addPart(new FetdelPart());
    demo->addPart(new ForortPart());
    demo->addPart(new GrymtPart());
    // SLOT index 5: KebabPart is added here, between the second strips and the house,
    // once its unit lands on main.
    demo->addPart(new HusetPart());
    demo->addPart(new GrymtPart());
    demo->addPart(new CredsPart());
    demo->addPart(new GreetsPart());
    demo->addPart(new SlutPart());
}
