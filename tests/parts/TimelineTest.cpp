#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "demo/Demo.h"
#include "demo/DemoPart.h"
#include "demo/Transition.h"
#include "parts/Show.h"
#include "parts/Timeline.h"

TEST(Timeline, PartsOfTheShowsRowsInOrderWithOneCrossfade) {
    Demo demo(512, 384, 32, 0, nullptr);
    addTimeline(&demo);
    ASSERT_EQ(demo.partCount, show::kPartCount);
    std::set<const DemoPart*> distinct;
    for (int32_t i = 0; i < demo.partCount; ++i) {
        // The type name of a class outside any namespace is its length and its name.
        const char* name = show::kParts[i].className;
        EXPECT_EQ(typeid(*demo.parts[i]).name(), std::to_string(std::strlen(name)) + name) << "index " << i;
        EXPECT_EQ(demo.parts[i]->owner, &demo);
        distinct.insert(demo.parts[i]);
    }
    // Rows of one class (the strips) are separate objects.
    EXPECT_EQ(distinct.size(), static_cast<size_t>(demo.partCount));
    ASSERT_EQ(demo.transitionCount, 1);
    EXPECT_NE(dynamic_cast<CrossfadeTransition*>(demo.transitions[0]), nullptr);
    EXPECT_EQ(demo.transitions[0]->duration, 1.0f);
    EXPECT_EQ(demo.transitions[0]->owner, &demo);

    for (int32_t i = 0; i < demo.partCount; ++i) delete demo.parts[i];
    delete demo.transitions[0];
}
