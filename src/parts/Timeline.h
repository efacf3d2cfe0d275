#pragma once

class Demo;

// Creates the parts of the timeline and adds them to the demo in order, with the
// cross-fade transition after the first part.
void addTimeline(Demo* demo);
