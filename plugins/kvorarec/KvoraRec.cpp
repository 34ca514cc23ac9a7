#include "Description.h"
#include "replay/ReplayLayouts.h"

namespace {

using namespace replay_layout;

constexpr char kPrefix[] = KVP_REPLAY_PREFIX;

const InfoKey kKeys[] = {kVersionKey, kNameKey, kDateKey, kCharaKey, kRankKey, kStageKey, kScoreKey, kSlowRateKey};

constexpr auto kColumns = StageColumns(kTitleCharacter, InfoField::Chara);

}  // namespace

extern const ReplayProfile kKvoraProfile = {
    {'k', 'v', 'o', 'r'},
    kPrefix,
    {kKeys, sizeof kKeys / sizeof kKeys[0]},
    kColumns.at,
    kColumns.count,
};
