// One plug-in's game. The build compiles this once for each plug-in, with
// the plug-in's folder on the include path (its PluginReader.h,
// Description.h and Samples.h) and KVP_GAME set to its name.
#include <type_traits>

#include "Description.h"
#include "PluginReader.h"
#include "Samples.h"
#include "image/CImageReader.h"
#include "replay/CReplayReader.h"
#include "support/Games.h"

#define KVP_GAME_TEXT_(name) #name
#define KVP_GAME_TEXT(name) KVP_GAME_TEXT_(name)
#define KVP_GAME_ENTRY_(name) Entry_##name
#define KVP_GAME_ENTRY(name) KVP_GAME_ENTRY_(name)

namespace games {

namespace {

template <typename Reader>
void TakeProfile(Game& game)
{
    const Reader reader;
    if constexpr (std::is_base_of<CReplayReader, Reader>::value) {
        game.replay = &reader.Profile();
    } else {
        static_assert(std::is_base_of<CImageReader, Reader>::value, "a replay or a picture reader");
        game.image = &reader.Profile();
    }
}

}  // namespace

Game KVP_GAME_ENTRY(KVP_GAME)()
{
    Game game = {KVP_GAME_TEXT(KVP_GAME),  nullptr,                  nullptr,
                 KVP_PLUGIN_KIND,          KVP_PLUGIN_PATTERN,       KVP_PLUGIN_FILTER_NOUN,
                 KVP_PLUGIN_VERSION_MAJOR, KVP_PLUGIN_VERSION_MINOR, KVP_SAMPLE_SERIES};
    TakeProfile<CPluginReader>(game);
    return game;
}

}  // namespace games
