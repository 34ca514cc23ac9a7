#pragma once
// Files of a game the build knows, made as its profile says: a replay with
// the game's magic, a shot with its header kind and signature.
#include "image/ImageProfile.h"
#include "tools/games/Games.h"
#include "tools/games/ReplayBuilder.h"
#include "tools/games/ShotBuilder.h"

namespace testing_support {

// A replay of the game holding these sections behind a body of bodySize bytes.
inline Bytes ReplayOf(const games::Game& game, const std::vector<Bytes>& sections, uint32_t bodySize = 0)
{
    return Replay(game.Magic().c_str(), sections, bodySize);
}

// A shot of a picture game: the screenshot's fields where its header is a
// screenshot's, else the best shot's.
inline Bytes ShotOf(const games::Game& game, const shot_support::ScreenShot& screen,
                    const shot_support::BestShot& best, const Bytes& stream = Bytes())
{
    Bytes file = game.image->header == ShotKind::ScreenShot ? shot_support::ScreenShotFile(screen, stream)
                                                             : shot_support::BestShotFile(best, stream);
    return file.replace(0, 4, game.Magic());
}

}  // namespace testing_support
