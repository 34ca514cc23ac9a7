#include "Description.h"
#include "replay/ReplayLayouts.h"

namespace {

using namespace replay_layout;

constexpr char kPrefix[] = KVP_REPLAY_PREFIX;

const InfoKey kKeys[] = {kVersionKey, kNameKey, kDateKey, kRouteKey, kRankKey, kStageKey, kScoreKey, kSlowRateKey};

constexpr auto kColumns = StageColumns(kTitleRoute, InfoField::Route);

}  // namespace

extern const ReplayProfile kMirelProfile = {
    {'m', 'i', 'r', 'l'},
    kPrefix,
    {kKeys, sizeof kKeys / sizeof kKeys[0]},
    kColumns.at,
    kColumns.count,
};
