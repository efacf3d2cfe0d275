#pragma once
#include <string>
#include <vector>

// What a saved file means to live code, worked out from the source tree: a part's source
// or a header only parts include rebuilds those parts' modules; a header the player's own
// code includes as well cannot change under a running player; a file of the data
// generator remakes the pictures of the parts whose makers it names.
struct WatchedFile {
    enum Kind { PartCode, HostHeader, PictureMaker };
    std::string path;                  // under the source folder
    Kind kind;
    std::vector<std::string> classes;  // the part classes it concerns (PartCode, HostHeader)
};

// Every file to watch under the source folder, for the part classes of the show.
std::vector<WatchedFile> liveWatchList(const std::string& sourceDir);

// The part classes whose pictures a generator file makes: those whose makers it names, or
// every class when it names none (code all makers share).
std::vector<std::string> pictureClassesOf(const std::string& generatorText);

// The show's part classes, each once, in play order.
std::vector<std::string> showPartClasses();
