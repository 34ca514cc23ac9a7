// The list of every plug-in's game. GameNames.inc, written by the build,
// holds a KVP_GAME(name) line for each plug-in; GameEntry.cpp makes each.
#include "tools/games/Games.h"

namespace games {

#define KVP_GAME(name) Game Entry_##name();
#include "GameNames.inc"
#undef KVP_GAME

namespace {

std::vector<Game> Kind(bool replays)
{
    std::vector<Game> kind;
    for (const Game& game : All())
        if (game.IsReplay() == replays) kind.push_back(game);
    return kind;
}

}  // namespace

const std::vector<Game>& All()
{
    static const std::vector<Game> all = {
#define KVP_GAME(name) Entry_##name(),
#include "GameNames.inc"
#undef KVP_GAME
    };
    return all;
}

const std::vector<Game>& Replays()
{
    static const std::vector<Game> replays = Kind(true);
    return replays;
}

const std::vector<Game>& Pictures()
{
    static const std::vector<Game> pictures = Kind(false);
    return pictures;
}

}  // namespace games
