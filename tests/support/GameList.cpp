// The list of every plug-in's game. GameNames.inc, written by the build,
// holds a KVP_GAME(name) line for each plug-in; GameEntry.cpp makes each.
#include "support/Games.h"

namespace games {

#define KVP_GAME(name) Game Entry_##name();
#include "GameNames.inc"
#undef KVP_GAME

const std::vector<Game>& All()
{
    static const std::vector<Game> all = {
#define KVP_GAME(name) Entry_##name(),
#include "GameNames.inc"
#undef KVP_GAME
    };
    return all;
}

std::vector<Game> Replays()
{
    std::vector<Game> replays;
    for (const Game& game : All())
        if (game.IsReplay()) replays.push_back(game);
    return replays;
}

std::vector<Game> Pictures()
{
    std::vector<Game> pictures;
    for (const Game& game : All())
        if (!game.IsReplay()) pictures.push_back(game);
    return pictures;
}

}  // namespace games
