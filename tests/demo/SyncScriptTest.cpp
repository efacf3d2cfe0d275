#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

#include "DemoFakes.h"
#include "support/TempDir.h"
#include "demo/Demo.h"
#include "demo/SyncEvent.h"
#include "demo/SyncScript.h"

namespace {

// A Demo of three recording parts with the runner's default windows, and a script
// registered to it.
class SyncScriptTest : public ::testing::Test {
protected:
    SyncScriptTest() : demo(512, 384, 32, 0, nullptr) {
        for (int i = 0; i < 3; i++) {
            parts.push_back(std::make_unique<RecordingPart>(&log, std::to_string(i)));
            demo.addPart(parts.back().get());
            parts.back()->start = i == 0 ? 0.0f : 1000.0f;
            parts.back()->end = i == 0 ? 1000.0f : 2000.0f;
        }
        script.setDemo(&demo);
    }

    // Loads the bytes as a script file and returns what it printed.
    std::string load(const std::string& bytes) {
        std::string file = dir.write("synkTest.snc", bytes);
        testing::internal::CaptureStdout();
        script.load(file.c_str());
        return testing::internal::GetCapturedStdout();
    }

    void expectWindow(int part, float start, float end) {
        EXPECT_EQ(parts[part]->start, start) << "part " << part;
        EXPECT_EQ(parts[part]->end, end) << "part " << part;
    }

    CallLog log;
    std::vector<std::unique_ptr<RecordingPart>> parts;
    Demo demo;
    SyncScript script;
    TempDir dir;
};

TEST_F(SyncScriptTest, ExampleFileSetsEventsAndWindows) {
    std::string printed = load(
        "QRM SYNCSCRIPT\n2\nPOWPOW\n100\n\nPOWPOW\n900\n\n2\ntitle\n12.5\n\ngrymt\n20\n\n");
    ASSERT_EQ(script.eventCount, 2);
    EXPECT_STREQ(script.events[0]->name, "POWPOW");
    EXPECT_EQ(script.events[0]->time, 100);
    EXPECT_EQ(script.events[1]->time, 900);
    ASSERT_EQ(script.changeCount, 2);
    expectWindow(0, 0.0f, 12.5f);
    expectWindow(1, 12.5f, 20.0f);
    expectWindow(2, 20.0f, 100000.0f);
    EXPECT_EQ(printed,
              "change 0: 12.500000\nchange 0: 12.500000\n"
              "change 0: 12.500000\nchange 1: 20.000000\n"
              "change 0: 12.500000\nchange 1: 20.000000\n");
}

TEST_F(SyncScriptTest, ChangesPrintBeforeAndAfterSorting) {
    std::string printed = load("QRM SYNCSCRIPT\n0\n2\na\n20\n\nb\n12.5\n\n");
    EXPECT_EQ(printed,
              "change 0: 20.000000\nchange 0: 20.000000\n"
              "change 0: 20.000000\nchange 1: 12.500000\n"
              "change 0: 12.500000\nchange 1: 20.000000\n");
    expectWindow(0, 0.0f, 12.5f);
    expectWindow(1, 12.5f, 20.0f);
}

TEST_F(SyncScriptTest, HeaderIgnoresCaseButNotBlanks) {
    load("qrm SyncScript\n1\nA\n5\n\n0\n");
    EXPECT_EQ(script.eventCount, 1);

    SyncScript other;
    other.setDemo(&demo);
    std::string file = dir.write("blank.snc", "QRM SYNCSCRIPT \n1\nA\n5\n\n1\nx\n3\n\n");
    testing::internal::CaptureStdout();
    other.load(file.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(other.eventCount, 0);
    EXPECT_EQ(other.changeCount, 0);
    expectWindow(0, 0.0f, 1000.0f);
}

// A script held in memory: the same line rules as a file, nothing read past its size, and
// no bytes at all load nothing.
TEST_F(SyncScriptTest, ParsesAScriptHeldInMemory) {
    const char raw[] = "QRM SYNCSCRIPT\r\n2\r\nPOW\rPOW\r\n5\r\n\r\nB\0C\n-3\n\n1\r\nx\r\n2.57";
    const std::string bytes(raw, sizeof raw - 1);
    testing::internal::CaptureStdout();
    script.parse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() - 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "change 0: 2.500000\nchange 0: 2.500000\n");
    ASSERT_EQ(script.eventCount, 2);
    EXPECT_STREQ(script.events[0]->name, "B");  // the name ends at the NUL byte
    EXPECT_EQ(script.events[0]->time, -3);
    EXPECT_STREQ(script.events[1]->name, "POW\rPOW");
    EXPECT_EQ(script.events[1]->time, 5);
    ASSERT_EQ(script.changeCount, 1);
    expectWindow(0, 0.0f, 2.5f);  // the "7" after the size is not read
    expectWindow(1, 2.5f, 100000.0f);

    SyncScript empty;
    empty.setDemo(&demo);
    empty.parse(nullptr, 10);
    empty.parse(reinterpret_cast<const uint8_t*>(bytes.data()), 13);  // the header cut short
    EXPECT_EQ(empty.eventCount, 0);
    EXPECT_EQ(empty.changeCount, 0);
}

TEST_F(SyncScriptTest, MissingFileLoadsNothing) {
    testing::internal::CaptureStdout();
    script.load((dir.path + "/absent.snc").c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(script.eventCount, 0);
    expectWindow(1, 1000.0f, 2000.0f);
}

TEST_F(SyncScriptTest, EqualTimesKeepFileOrder) {
    load("QRM SYNCSCRIPT\n3\nfirst\n500\n\nearly\n100\n\nsecond\n500\n\n0\n");
    ASSERT_EQ(script.eventCount, 3);
    EXPECT_STREQ(script.events[0]->name, "early");
    EXPECT_STREQ(script.events[1]->name, "first");
    EXPECT_STREQ(script.events[2]->name, "second");
}

TEST_F(SyncScriptTest, EventOrderMatchesAStableSortOnRandomTimes) {
    for (uint32_t seed = 1; seed <= 5; seed++) {
        SyncScript seeded;
        std::mt19937 random(seed);
        std::vector<std::pair<int32_t, std::string>> expected;
        std::string bytes = "QRM SYNCSCRIPT\n300\n";
        for (int i = 0; i < 300; i++) {
            int32_t time = static_cast<int32_t>(random() % 21) - 10;
            expected.emplace_back(time, "e" + std::to_string(i));
            bytes += expected.back().second + "\n" + std::to_string(time) + "\n\n";
        }
        std::stable_sort(expected.begin(), expected.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        seeded.load(dir.write("random.snc", bytes + "0\n").c_str());
        ASSERT_EQ(seeded.eventCount, 300);
        for (int i = 0; i < 300; i++) {
            ASSERT_EQ(seeded.events[i]->time, expected[i].first) << "seed " << seed << " index " << i;
            ASSERT_EQ(seeded.events[i]->name, expected[i].second) << "seed " << seed << " index " << i;
        }
    }
}

TEST_F(SyncScriptTest, HugeCountsAfterTheEndFillTheListsAndStop) {
    load("QRM SYNCSCRIPT\n2147483647\n");
    EXPECT_EQ(script.eventCount, SyncScript::kMaxEvents);
    EXPECT_STREQ(script.events[1023]->name, "");
    EXPECT_EQ(script.changeCount, 0);

    SyncScript changes;
    changes.setDemo(&demo);
    std::string file = dir.write("changes.snc", "QRM SYNCSCRIPT\n0\n2147483647\n");
    testing::internal::CaptureStdout();
    changes.load(file.c_str());
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(changes.changeCount, SyncScript::kMaxChanges);
    expectWindow(2, 0.0f, 100000.0f);
}

TEST_F(SyncScriptTest, NumbersFollowAtoiAndAtof) {
    load("QRM SYNCSCRIPT\n 4 records\na\n  -12abc\n\nb\n+7\n\nc\nnone\n\nd\n99999999999\n\n"
         "1\nx\nhalf\n\n");
    ASSERT_EQ(script.eventCount, 4);
    EXPECT_EQ(script.events[0]->time, -12);
    EXPECT_STREQ(script.events[1]->name, "c");   // no digits: time 0
    EXPECT_EQ(script.events[1]->time, 0);
    EXPECT_EQ(script.events[2]->time, 7);
    EXPECT_EQ(script.events[3]->time, INT32_MAX);  // saturates instead of overflowing
    ASSERT_EQ(script.changeCount, 1);
    EXPECT_EQ(script.changes[0], 0.0f);
}

TEST_F(SyncScriptTest, LongLineContinuesAsTheNextLine) {
    std::string name(255, 'n');
    load("QRM SYNCSCRIPT\n2\n" + name + "42\n7\n" + name + "\n9\n1\nx\n3\n\n");
    ASSERT_EQ(script.eventCount, 2);
    // The rest of the long name line ("42") is the first record's time line.
    EXPECT_EQ(std::string(script.events[1]->name), name);
    EXPECT_EQ(script.events[1]->time, 42);
    // Exactly 255 characters: the line feed reads as an empty time line.
    EXPECT_EQ(std::string(script.events[0]->name), name);
    EXPECT_EQ(script.events[0]->time, 0);
    ASSERT_EQ(script.changeCount, 1);
    EXPECT_EQ(script.changes[0], 3.0f);
}

TEST_F(SyncScriptTest, CarriageReturnBeforeLineFeedIsDropped) {
    load("QRM SYNCSCRIPT\r\n1\r\nPOW\rPOW \r\n5\r\n\r\n1\r\nx\r\n2.5\r\n\r\n");
    ASSERT_EQ(script.eventCount, 1);
    EXPECT_STREQ(script.events[0]->name, "POW\rPOW ");
    EXPECT_EQ(script.events[0]->time, 5);
    expectWindow(0, 0.0f, 2.5f);
}

TEST_F(SyncScriptTest, FileEndingEarlyReadsEmptyLines) {
    load("QRM SYNCSCRIPT\n3\nA\n7\n");
    ASSERT_EQ(script.eventCount, 3);
    EXPECT_STREQ(script.events[0]->name, "");
    EXPECT_EQ(script.events[0]->time, 0);
    EXPECT_STREQ(script.events[2]->name, "A");
    EXPECT_EQ(script.changeCount, 0);

    SyncScript changesCut;
    changesCut.setDemo(&demo);
    std::string file = dir.write("cut.snc", "QRM SYNCSCRIPT\n0\n2\nlabel\n");
    testing::internal::CaptureStdout();
    changesCut.load(file.c_str());
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(changesCut.changeCount, 2);
    expectWindow(0, 0.0f, 0.0f);
    expectWindow(1, 0.0f, 0.0f);
    expectWindow(2, 0.0f, 100000.0f);
}

TEST_F(SyncScriptTest, EventsBeyondTheLimitAreReadButDropped) {
    std::string bytes = "QRM SYNCSCRIPT\n1025\n";
    for (int i = 0; i < 1024; i++) bytes += "e" + std::to_string(i) + "\n" + std::to_string(i) + "\nx\n";
    bytes += "late\n-1\nx\n1\nlabel\n7.5\n\n";
    load(bytes);
    ASSERT_EQ(script.eventCount, SyncScript::kMaxEvents);
    EXPECT_STREQ(script.events[0]->name, "e0");
    EXPECT_STREQ(script.events[1023]->name, "e1023");
    ASSERT_EQ(script.changeCount, 1);
    EXPECT_EQ(script.changes[0], 7.5f);
}

TEST_F(SyncScriptTest, NoChangesKeepTheDefaults) {
    load("QRM SYNCSCRIPT\n1\nA\n5\n\n0\n");
    expectWindow(0, 0.0f, 1000.0f);
    expectWindow(1, 1000.0f, 2000.0f);
    expectWindow(2, 1000.0f, 2000.0f);
}

TEST_F(SyncScriptTest, PartsBeyondTheChangesAreNeverCurrent) {
    load("QRM SYNCSCRIPT\n0\n1\nx\n30\n\n");
    expectWindow(0, 0.0f, 30.0f);
    expectWindow(1, 30.0f, 100000.0f);
    expectWindow(2, 1000.0f, 100000.0f);
}

TEST_F(SyncScriptTest, ChangesBeyondTheLastPartSetNoWindow) {
    load("QRM SYNCSCRIPT\n0\n4\na\n4\n\nb\n3\n\nc\n2\n\nd\n1\n\n");
    ASSERT_EQ(script.changeCount, 4);
    EXPECT_EQ(script.changes[3], 4.0f);
    expectWindow(0, 0.0f, 1.0f);
    expectWindow(1, 1.0f, 2.0f);
    expectWindow(2, 2.0f, 100000.0f);
}

TEST_F(SyncScriptTest, ChangesBeyondTheLimitAreDroppedSilently) {
    testing::internal::CaptureStdout();
    for (int i = 0; i < SyncScript::kMaxChanges; i++) script.addChange(static_cast<float>(i + 1));
    testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    script.addChange(0.5f);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(script.changeCount, SyncScript::kMaxChanges);
    EXPECT_EQ(script.changes[0], 1.0f);
    expectWindow(1, 1.0f, 2.0f);
}

}  // namespace
