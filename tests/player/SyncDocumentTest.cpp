#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "SyncDocument.h"
#include "demo/SyncEvent.h"
#include "demo/SyncScript.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace {

using Event = std::pair<std::string, int32_t>;

// A script with ignored lines of every odd kind the format allows: labels and third lines
// with text, blanks and tabs, CR LF breaks, notes after the last record. Event times are
// in time order, as a maker keeps them; `seed` picks everything.
std::string randomScript(uint32_t seed, std::vector<Event>& events) {
    std::mt19937 random(seed);
    auto pick = [&](std::vector<std::string> choices) { return choices[random() % choices.size()]; };
    const std::string br = random() % 3 == 0 ? "\r\n" : "\n";
    std::string text = pick({"QRM SYNCSCRIPT", "qrm syncscript", "Qrm SyncScript"}) + br;
    events.clear();
    const int count = static_cast<int>(random() % 12);
    int32_t bytes = 0;
    for (int i = 0; i < count; i++) {
        bytes += static_cast<int32_t>(random() % 4) * 44100;   // equal times now and then
        events.push_back({pick({"POWPOW", "FLASH", "two words", "x"}), bytes});
    }
    text += std::to_string(count) + br;
    for (const Event& event : events)
        text += event.first + br + std::to_string(event.second) + br + pick({"", " note", "\t#", "0"}) + br;
    const int changes = static_cast<int>(random() % 11);   // one for each part after the first
    text += std::to_string(changes) + br;
    double seconds = 0;
    for (int i = 0; i < changes; i++) {
        seconds += 0.5 + random() % 40 / 4.0;
        char value[32];
        std::snprintf(value, sizeof value, random() % 2 ? "%.1f" : "%.3f", seconds);
        text += pick({"title", "", "  a label ", "7"}) + br + value + br + pick({"", "x", " "}) + br;
    }
    return text + pick({"", br, "   " + br});
}

// What the demo's own reader takes from the text: events in its (stable) time order.
std::vector<Event> readByDemo(const std::string& text, std::vector<float>* changes = nullptr) {
    SyncScript script;
    testing::internal::CaptureStdout();
    script.parse(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    testing::internal::GetCapturedStdout();
    std::vector<Event> events;
    for (int32_t i = 0; i < script.eventCount; i++) events.push_back({script.events[i]->name, script.events[i]->time});
    if (changes) changes->assign(script.changes, script.changes + script.changeCount);
    return events;
}

std::vector<Event> eventsOf(const SyncDocument& document) {
    std::vector<Event> events;
    for (const SyncEventRecord& event : document.events()) events.push_back({event.name, event.bytes});
    return events;
}

// Where an edit puts a record in a list in time order: after every other one at its time.
size_t placeAfterEqual(std::vector<Event>& events, Event event) {
    auto at = std::upper_bound(events.begin(), events.end(), event,
                               [](const Event& a, const Event& b) { return a.second < b.second; });
    const auto index = at - events.begin();
    events.insert(at, std::move(event));
    return static_cast<size_t>(index);
}

// The same scripts mangled: cut anywhere, bytes changed to line breaks, carriage returns,
// digits or a long run. Whatever it reads, the document writes the same bytes, and when it
// takes a file as whole it reads what the demo reads.
TEST(SyncDocument, MangledScriptsKeepTheirBytesAndReadAsTheDemoDoes) {
    std::vector<Event> unused;
    for (uint32_t seed = 1; seed <= 300; seed++) {
        std::string text = randomScript(seed, unused);
        std::mt19937 random(seed);
        for (int change = 0; change < 3; change++) {
            const size_t at = random() % (text.size() + 1);
            const std::string pieces[] = {"\n", "\r", "\r\n", "7", std::string(300, 'x'), ""};
            text = text.substr(0, at) + pieces[random() % 6] + text.substr(std::min(text.size(), at + random() % 3));
        }
        if (random() % 4 == 0) text.resize(random() % (text.size() + 1));
        SyncDocument document(text);
        ASSERT_EQ(document.text(), text) << "seed " << seed;
        if (!document.complete()) {
            EXPECT_EQ(document.addEvent("POWPOW", 0), SyncDocument::kNoIndex) << "seed " << seed;
            continue;
        }
        std::vector<Event> events = eventsOf(document);
        std::stable_sort(events.begin(), events.end(), [](auto& a, auto& b) { return a.second < b.second; });
        EXPECT_EQ(events, readByDemo(text)) << "seed " << seed;
    }
}

TEST(SyncDocument, ReadsAsTheDemoDoesAndWritesTheSameBytes) {
    const std::string show = [] {
        const std::vector<uint8_t> bytes = readFileBytes(std::string(TEST_STAGE_DIR) + "/synkTest.snc");
        return std::string(bytes.begin(), bytes.end());
    }();
    ASSERT_FALSE(show.empty()) << "build the `stage` target";
    std::vector<Event> unused;
    for (uint32_t seed = 0; seed <= 200; seed++) {
        const std::string text = seed == 0 ? show : randomScript(seed, unused);
        const SyncDocument document(text);
        EXPECT_EQ(document.text(), text) << "seed " << seed;
        EXPECT_TRUE(document.complete()) << "seed " << seed;
        EXPECT_TRUE(document.warnings().empty()) << "seed " << seed << ": " << document.warnings()[0].message;
        std::vector<float> changes;
        std::vector<Event> events = eventsOf(document);
        std::stable_sort(events.begin(), events.end(), [](auto& a, auto& b) { return a.second < b.second; });
        EXPECT_EQ(events, readByDemo(text, &changes)) << "seed " << seed;
        ASSERT_EQ(document.changes().size(), changes.size()) << "seed " << seed;
        for (size_t i = 0; i < changes.size(); i++) EXPECT_EQ(document.changes()[i].seconds, changes[i]);
    }
}

// Random edits on random scripts, each against a plain list of events in time order; then
// undoing every step gives the file back byte for byte, and redoing them the edited one.
TEST(SyncDocument, RandomEditsKeepTimeOrderAndUndoToTheOriginalBytes) {
    for (uint32_t seed = 1; seed <= 100; seed++) {
        std::vector<Event> model;
        const std::string original = randomScript(seed, model);
        SyncDocument document(original);
        const std::vector<SyncChangeRecord> changes = document.changes();
        std::mt19937 random(seed);
        int steps = 0;
        for (int edit = 0; edit < 30; edit++) {
            const int32_t bytes = static_cast<int32_t>(random() % 40) * 44100;
            const size_t i = model.empty() ? 0 : random() % model.size();
            switch (random() % 3) {
            case 0:
                ASSERT_EQ(document.addEvent("POWPOW", bytes), placeAfterEqual(model, {"POWPOW", bytes}));
                steps++;
                break;
            case 1:
                if (model.empty()) break;
                if (bytes != model[i].second) {
                    Event moved = {model[i].first, bytes};
                    model.erase(model.begin() + static_cast<ptrdiff_t>(i));
                    ASSERT_EQ(document.moveEvent(i, bytes), placeAfterEqual(model, moved));
                    steps++;
                } else {
                    ASSERT_EQ(document.moveEvent(i, bytes), i) << "stays, and is no step";
                }
                break;
            default:
                ASSERT_EQ(document.removeEvent(i), !model.empty());
                if (model.empty()) break;
                model.erase(model.begin() + static_cast<ptrdiff_t>(i));
                steps++;
            }
            ASSERT_EQ(eventsOf(document), model) << "seed " << seed << " edit " << edit;
        }
        EXPECT_EQ(readByDemo(document.text()), model) << "seed " << seed;
        ASSERT_EQ(document.changes().size(), changes.size());
        for (size_t c = 0; c < changes.size(); c++) EXPECT_EQ(document.changes()[c].label, changes[c].label);
        EXPECT_TRUE(document.warnings().empty()) << document.warnings()[0].message;
        EXPECT_EQ(document.modified(), document.text() != original);

        const std::string edited = document.text();
        int undone = 0;
        while (document.undo()) undone++;
        EXPECT_EQ(undone, steps);
        EXPECT_EQ(document.text(), original) << "seed " << seed;
        EXPECT_FALSE(document.modified());
        while (document.redo()) {}
        EXPECT_EQ(document.text(), edited) << "seed " << seed;
    }
}

TEST(SyncDocument, EditsChangeOnlyTheirRecordsAndCount) {
    const std::string text = "QRM SYNCSCRIPT\n2\nPOWPOW\n100\nkeep me\nPOWPOW\n900\n\n2\ntitle\n12.5\n\ngrymt\n20\n  \n";
    SyncDocument document(text);
    EXPECT_EQ(document.addEvent("POWPOW", 900), 2u);
    EXPECT_EQ(document.text(),
              "QRM SYNCSCRIPT\n3\nPOWPOW\n100\nkeep me\nPOWPOW\n900\n\nPOWPOW\n900\n\n2\ntitle\n12.5\n\ngrymt\n20\n  \n");
    EXPECT_EQ(document.moveEvent(2, 50), 0u);
    EXPECT_EQ(document.events()[0].line, 3);
    EXPECT_TRUE(document.removeEvent(1));
    EXPECT_EQ(document.text(), "QRM SYNCSCRIPT\n2\nPOWPOW\n50\n\nPOWPOW\n900\n\n2\ntitle\n12.5\n\ngrymt\n20\n  \n");

    // A change stays between its neighbours (the first one after 0); a drag is one step.
    EXPECT_FALSE(document.moveChange(0, 20.0));
    EXPECT_FALSE(document.moveChange(0, 0.0));
    EXPECT_FALSE(document.moveChange(1, 12.5));
    EXPECT_TRUE(document.moveChange(1, 19.0 + 1.0 / 60));
    EXPECT_TRUE(document.moveChange(1, 19.5, true));
    EXPECT_EQ(document.changes()[1].seconds, 19.5);
    EXPECT_NE(document.text().find("grymt\n19.5\n  \n"), std::string::npos);
    EXPECT_TRUE(document.undo());
    EXPECT_NE(document.text().find("grymt\n20\n"), std::string::npos) << "the drag was one step";
    EXPECT_EQ(document.moveEvent(0, 1000), 1u);
    EXPECT_EQ(document.moveEvent(1, 1100, true), 1u);
    EXPECT_TRUE(document.undo());
    EXPECT_EQ(document.events()[0].bytes, 50);
    EXPECT_TRUE(document.canRedo());
    document.addEvent("x", 1);
    EXPECT_FALSE(document.canRedo()) << "a new edit drops what was undone";

    // CR LF files get CR LF records; bad names and a file cut short take no edits.
    SyncDocument windows("QRM SYNCSCRIPT\r\n0\r\n0\r\n");
    EXPECT_EQ(windows.addEvent("POWPOW", 4), 0u);
    EXPECT_EQ(windows.text(), "QRM SYNCSCRIPT\r\n1\r\nPOWPOW\r\n4\r\n\r\n0\r\n");
    EXPECT_EQ(windows.addEvent("", 4), SyncDocument::kNoIndex);
    EXPECT_EQ(windows.addEvent("a\nb", 4), SyncDocument::kNoIndex);
    EXPECT_EQ(SyncDocument("QRM SYNCSCRIPT\n2\nPOWPOW\n100\n").addEvent("POWPOW", 4), SyncDocument::kNoIndex);
}

TEST(SyncDocument, MusicTimeAndBeats) {
    EXPECT_EQ(snapToBeat(72.1), 72.0);
    EXPECT_EQ(snapToBeat(72.25), 72.5);
    EXPECT_EQ(musicBytesAt(snapToBeat(72.1)), 12700800);
    EXPECT_EQ(musicBytesAt(20.5), 3616200);
    EXPECT_EQ(musicBytesAt(1.0 / 44100 * 0.6) % 4, 0) << "whole sample frames";
    EXPECT_EQ(musicBytesAt(-3), 0);
    EXPECT_EQ(secondsAtBytes(12700800), 72.0);
}

// The mistakes a maker makes by hand, each found at its line; the fatal ones keep the
// player from applying the file.
TEST(SyncChecks, FindTheMistakesTheDemoTakesSilently) {
    const std::string changes = "2\ntitle\n12.5\n\ngrymt\n20\n\n";
    struct Case {
        std::string text;
        std::vector<std::pair<int32_t, std::string>> found;   // line, a piece of the message
        bool fatal;
    };
    std::string forty = "QRM SYNCSCRIPT\n0\n40\n";
    for (int i = 1; i <= 40; i++) forty += "c\n" + std::to_string(i) + "\n\n";
    const Case cases[] = {
        // An event removed without fixing its count: the changes are read as an event.
        {"QRM SYNCSCRIPT\n2\nPOWPOW\n100\n\n" + changes,
         {{6, "name \"2\" is a number"}, {7, "\"title\" is not a whole number"}, {9, "change count \"\""},
          {10, "text after the last change record"}},
         false},
        {"QRM SYNCSCRIPT\n1\nPOWPOW\n70.0\n\n" + changes, {{4, "read as 70"}}, false},
        {"QRM SYNCSCRIPT\n0\n3\na\nnan\n\nb\n1e39\n\nc\n-5\n\n",
         {{5, "\"nan\" is not a finite"}, {8, "\"1e39\" is not a finite"}, {11, "below 0"}},
         false},
        {"QRM SYNCSCRIPT\n0\n2\na\n20\n\nb\n12.5\n\n", {{8, "not after the one before (20)"}}, false},
        {forty, {{35, "the show has 11 parts"}, {101, "beyond 32 are dropped"}}, false},
        {"QRM SYNCSCRIPT\n1\n" + std::string(300, 'P') + "\n5\n\n" + changes,
         {{3, "longer than 255"}, {3, "not a whole number of music bytes"}, {5, "change count"}, {6, "text after"}},
         false},
        // Half written: cut between records, and inside the last value.
        {"QRM SYNCSCRIPT\n16\nPOWPOW\n100\n\n", {{5, "ends before the 16 events its count announces (1 there)"}},
         true},
        {"QRM SYNCSCRIPT\n0\n2\ntitle\n12.5\n\ngrymt\n2", {{8, "not after the one before"}, {8, "ends inside this line"}},
         true},
        {"QRM SYNCSCRIPT \n0\n0\n", {{1, "not QRM SYNCSCRIPT"}}, true},
    };
    for (const Case& each : cases) {
        const SyncDocument document(each.text);
        const std::vector<SyncWarning>& found = document.warnings();
        ASSERT_EQ(found.size(), each.found.size()) << each.text << "\nfirst: " << (found.empty() ? "" : found[0].message);
        for (size_t i = 0; i < found.size(); i++) {
            EXPECT_EQ(found[i].line, each.found[i].first) << found[i].message;
            EXPECT_NE(found[i].message.find(each.found[i].second), std::string::npos) << found[i].message;
        }
        EXPECT_EQ(!refusalOf(document).empty(), each.fatal) << each.text;
        EXPECT_EQ(document.complete(), !each.fatal) << each.text;
    }
}

// A file written in two halves with a pause: each state is read once it has stood still
// for the settle time, and the half one is refused, so the old script stays.
TEST(SyncChecks, SettledFilesAreReadOnceAndHalfOnesRefused) {
    constexpr int64_t kMs = 1000000;
    ScriptSettle settle("old");
    EXPECT_FALSE(settle.due("old", 0));
    EXPECT_FALSE(settle.due("half", 10 * kMs));
    EXPECT_FALSE(settle.due("more", 100 * kMs)) << "still changing";
    EXPECT_FALSE(settle.due("more", 299 * kMs));
    EXPECT_TRUE(settle.due("more", 300 * kMs));
    EXPECT_FALSE(settle.due("more", 600 * kMs)) << "read once";
    const std::string whole = "QRM SYNCSCRIPT\n2\nPOWPOW\n100\n\nPOWPOW\n900\n\n1\nx\n12.5\n\n";
    EXPECT_NE(refusalOf(SyncDocument(whole.substr(0, whole.size() / 2))), "");
    EXPECT_EQ(refusalOf(SyncDocument(whole)), "");
    settle.markRead("saved");
    EXPECT_FALSE(settle.due("saved", 900 * kMs)) << "the player's own save is not read back";
}

TEST(SyncFiles, SaveReplacesAtomicallyAndKeepsThePreviousFile) {
    TempDir dir;
    const std::string path = dir.file("synkTest.snc");
    std::string error;
    ASSERT_TRUE(saveScript(path, "one\n", error)) << error;
    EXPECT_FALSE(std::filesystem::exists(path + "~"));
    ASSERT_TRUE(saveScript(path, "two\n", error)) << error;
    EXPECT_EQ(readFileBytes(path), std::vector<uint8_t>({'t', 'w', 'o', '\n'}));
    EXPECT_EQ(readFileBytes(path + "~"), std::vector<uint8_t>({'o', 'n', 'e', '\n'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 2) << "no temporary left";
    EXPECT_FALSE(saveScript(dir.file("missing/synkTest.snc"), "x", error));
    EXPECT_NE(error, "");

    // Into the source as well only when playing the stage the build made.
    const std::string source = dir.write("show/synkTest.snc", "x");
    const std::string stage = dir.file("stage");
    std::filesystem::create_directories(stage);
    EXPECT_EQ(saveTargets(stage + "/synkTest.snc", stage, source).paths,
              std::vector<std::string>({stage + "/synkTest.snc", source}));
    EXPECT_EQ(saveTargets(dir.file("synkTest.snc"), stage, source).paths.size(), 1u);
    EXPECT_EQ(saveTargets(stage + "/synkTest.snc", "", "").paths.size(), 1u);
}

}  // namespace
