#include "Description.h"
#include "replay/ReplayLayouts.h"

namespace {

using namespace replay_layout;

constexpr char kPrefix[] = KVP_REPLAY_PREFIX;

const InfoKey kKeys[] = {kVersionKey, kNameKey, kDateKey, kCharaKey, kSceneBeforeScoreKey, kScoreKey, kSlowRateKey};

constexpr auto kColumns = SceneColumns();

}  // namespace

extern const ReplayProfile kTaskoProfile = {
    {'t', 's', 'k', 'o'},
    kPrefix,
    {kKeys, sizeof kKeys / sizeof kKeys[0]},
    kColumns.at,
    kColumns.count,
};
