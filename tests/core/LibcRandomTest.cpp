#include <gtest/gtest.h>

#include <cstdlib>

#include "core/LibcRandom.h"

namespace {

TEST(LibcRandom, StartsWhereAFreshRandStartsAndRepeatsAfterAReseed) {
    LibcRandom random;
    // glibc's first two numbers from the default seed.
    EXPECT_EQ(random.next(), 1804289383);
    EXPECT_EQ(random.next(), 846930886);
    for (int i = 0; i < 1000; i++) random.next();
    random.reseed(0);   // counts as seed 1
    EXPECT_EQ(random.next(), 1804289383);
    demoRandom().reseed(1);
    EXPECT_EQ(demoRandom().next(), 1804289383);
}

#ifdef __GLIBC__
TEST(LibcRandom, MatchesTheCLibrarysRandForManySeeds) {
    for (unsigned seed : {1u, 2u, 77u, 12345u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        LibcRandom random(seed);
        std::srand(seed);
        for (int i = 0; i < 5000; i++) ASSERT_EQ(random.next(), std::rand()) << "seed " << seed << ", value " << i;
    }
}
#endif

}  // namespace
