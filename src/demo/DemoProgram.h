#pragma once

class Clock;
class DisplayDriver;
class MusicPlayer;

// Builds the demo's object graph (frame-size descriptor, render driver, Demo with the
// timeline, runner) on the platform the caller supplies, plays "data/musik.mp3" with
// "synkTest.snc" until a key is pressed, and destroys the descriptor. The clock drives
// the run timer; null means the real clock. Everything but the descriptor stays alive
// until the process ends.
void runDemoProgram(DisplayDriver* display, MusicPlayer* music, Clock* clock);
