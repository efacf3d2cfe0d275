#pragma once

class Bitmap;
class Clock;
class Demo;
class DemoRunner;
class DisplayDriver;
class MusicPlayer;
class NewRenderDriver;

// The demo's object graph on the platform the caller supplies: the frame-size descriptor,
// the render driver, the Demo with the timeline and the runner, built in that order. A
// front end calls run, or steps the runner itself between begin and finish. Everything
// but the descriptor stays alive until the process ends, as in the demo.
class DemoProgram {
public:
    static constexpr const char* kMusicFile = "data/musik.mp3";
    static constexpr const char* kSyncFile = "synkTest.snc";

    // Also starts the demo's rand() sequence afresh, so every program in a process draws
    // the same frames. The clock drives the run timer and must outlive the program.
    DemoProgram(DisplayDriver* display, MusicPlayer* music, Clock& clock);
    DemoProgram(const DemoProgram&) = delete;
    DemoProgram& operator=(const DemoProgram&) = delete;

    // The runner's begin with the demo's music and sync script.
    void begin();
    // The runner's finish, then the descriptor goes, which prints the last line.
    void finish();
    // begin, frames until a key press, finish.
    void run();

    Demo& demo() { return *demoObject; }
    DemoRunner& runner() { return *runnerObject; }

private:
    void releaseFrameSize();

    Bitmap* frameSize;
    NewRenderDriver* renderDriver;
    Demo* demoObject;
    DemoRunner* runnerObject;
};

// Builds the program and runs it until a key is pressed.
void runDemoProgram(DisplayDriver* display, MusicPlayer* music, Clock& clock);
