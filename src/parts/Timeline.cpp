#include "parts/Timeline.h"

// Parts are added here as their effects land.
void addTimeline(Demo*) {}
