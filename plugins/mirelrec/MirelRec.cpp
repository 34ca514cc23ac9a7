#include "MirelRec.h"

#include "replay/ReplayLayouts.h"

namespace {

using namespace replay_layout;

constexpr char kPrefix[] = "mirel";

const InfoKey kKeys[] = {kVersionKey, kNameKey, kDateKey, kRouteKey, kRankKey, kStageKey, kScoreKey, kSlowRateKey};

constexpr auto kColumns = StageColumns(kTitleRoute, InfoField::Route);

}  // namespace

const ReplayProfile kMirelProfile = {
    {'m', 'i', 'r', 'l'},
    {{
        "KARVO Plug-in For Mireldan Ver1.01 (C) 2026 the kvp-plugins authors",
        "Mireldan",
        "mirel_*.rpy",
        // "Mireldan リプレイファイル(mirel_*.rpy)"
        "Mireldan \x83\x8A\x83v\x83\x8C\x83" "C\x83t\x83@\x83" "C\x83\x8B(mirel_*.rpy)",
    }},
    {kKeys, sizeof kKeys / sizeof kKeys[0]},
    kColumns.at,
    kColumns.count,
    &CachedSlotPatterns<kPrefix>,
};
