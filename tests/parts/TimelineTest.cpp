#include <gtest/gtest.h>

#include <typeindex>
#include <vector>

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
#include "parts/Timeline.h"

TEST(Timeline, PartsInOrderWithOneCrossfade) {
    Demo demo(512, 384, 32, 0, nullptr);
    addTimeline(&demo);
    // SLOT index 5: typeid(KebabPart) joins the list with its part.
    const std::vector<std::type_index> expected = {typeid(ForstaPart), typeid(GrymtPart),  typeid(FetdelPart),
                                                   typeid(ForortPart), typeid(GrymtPart),  typeid(HusetPart),
                                                   typeid(GrymtPart),  typeid(CredsPart),  typeid(GreetsPart),
                                                   typeid(SlutPart)};
    ASSERT_EQ(demo.partCount, static_cast<int32_t>(expected.size()));
    for (int32_t i = 0; i < demo.partCount; ++i) {
        EXPECT_EQ(std::type_index(typeid(*demo.parts[i])), expected[i]) << "index " << i;
        EXPECT_EQ(demo.parts[i]->owner, &demo);
    }
    // The strip parts are separate objects.
    EXPECT_NE(demo.parts[1], demo.parts[4]);
    ASSERT_EQ(demo.transitionCount, 1);
    EXPECT_NE(dynamic_cast<CrossfadeTransition*>(demo.transitions[0]), nullptr);
    EXPECT_EQ(demo.transitions[0]->duration, 1.0f);
    EXPECT_EQ(demo.transitions[0]->owner, &demo);

    for (int32_t i = 0; i < demo.partCount; ++i) delete demo.parts[i];
    delete demo.transitions[0];
}
