#pragma once
// Every plug-in's game, as the build knows them (tools/games/Games.cmake):
// what the tests, the fuzz targets and the sample generators learn of each
// from its folder, so that a new folder in plugins/ reaches all of them.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "image/ImageProfile.h"
#include "replay/ReplayProfile.h"

namespace games {

struct Game {
    const char* plugin;             // "kvorarec": kvorarec.kvp, samples/kvorarec
    const ReplayProfile* replay;    // the profile it is built with: a replay game's ...
    const ImageProfile* image;      // ... or a picture game's
    // Its Description.h, in UTF-8 as written there.
    const char* kind;               // GetPluginInfo's string 1
    const char* pattern;            // string 2
    const char* filterNoun;         // what string 3 names before the pattern
    int versionMajor;
    int versionMinor;
    // Which series of made-up files samples/PLUGIN holds.
    int sampleSeries;

    bool IsReplay() const { return replay != nullptr; }
    // The first four bytes of every file of the game.
    std::string Magic() const { return std::string(replay ? replay->magic : image->signature, 4); }
    // Its files' names up to the pattern's '*': "kvora_", "sc".
    std::string Prefix() const
    {
        const std::string p = pattern;
        return p.substr(0, p.find('*'));
    }
    // A name of its files: the pattern with `part` for its '*'.
    std::string FileName(const std::string& part) const
    {
        std::string name = pattern;
        return name.replace(name.find('*'), 1, part);
    }
    // The fields of a list row.
    uint32_t Columns() const { return replay ? replay->columnCount : image->columnCount; }
    // Whether a replay game reads this field of the information text.
    bool Reads(InfoField field) const
    {
        for (uint32_t i = 0; replay && i < replay->keys.count; ++i)
            if (replay->keys.keys[i].field == field) return true;
        return false;
    }
};

// Tests name a game by its plug-in.
inline std::ostream& operator<<(std::ostream& out, const Game& game) { return out << game.plugin; }

// In the order of their folders' names.
const std::vector<Game>& All();
const std::vector<Game>& Replays();
const std::vector<Game>& Pictures();

}  // namespace games
