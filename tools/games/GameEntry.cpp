// One plug-in's game. The build compiles this once for each plug-in, with
// the plug-in's folder on the include path (its Description.h) and KVP_GAME
// set to its name.
#include <type_traits>

#include "common/PluginReader.h"
#include "tools/games/Games.h"

#define KVP_GAME_TEXT_(name) #name
#define KVP_GAME_TEXT(name) KVP_GAME_TEXT_(name)
#define KVP_GAME_ENTRY_(name) Entry_##name
#define KVP_GAME_ENTRY(name) KVP_GAME_ENTRY_(name)

namespace games {

namespace {

template <typename Profile>
void TakeProfile(Game& game, const Profile& profile)
{
    if constexpr (std::is_same<Profile, ReplayProfile>::value) {
        game.replay = &profile;
    } else {
        static_assert(std::is_same<Profile, ImageProfile>::value, "a replay or a picture game's profile");
        game.image = &profile;
    }
}

}  // namespace

Game KVP_GAME_ENTRY(KVP_GAME)()
{
    Game game = {KVP_GAME_TEXT(KVP_GAME),  nullptr,                  nullptr,
                 KVP_PLUGIN_KIND,          KVP_PLUGIN_PATTERN,       KVP_PLUGIN_FILTER_NOUN,
                 KVP_PLUGIN_VERSION_MAJOR, KVP_PLUGIN_VERSION_MINOR, KVP_SAMPLE_SERIES};
    TakeProfile(game, KVP_PLUGIN_PROFILE);
    return game;
}

}  // namespace games
