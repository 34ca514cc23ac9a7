#include "TaskoRec.h"

#include "replay/ReplayLayouts.h"

namespace {

using namespace replay_layout;

constexpr char kPrefix[] = "tasko";

const InfoKey kKeys[] = {kVersionKey, kNameKey, kDateKey, kCharaKey, kSceneBeforeScoreKey, kScoreKey, kSlowRateKey};

constexpr auto kColumns = SceneColumns();

}  // namespace

const ReplayProfile kTaskoProfile = {
    {'t', 's', 'k', 'o'},
    {{
        "KARVO Plug-in For Taskodan Ver1.02 (C) 2026 the kvp-plugins authors",
        "Taskodan",
        "tasko_*.rpy",
        // "Taskodan リプレイファイル(tasko_*.rpy)"
        "Taskodan \x83\x8A\x83v\x83\x8C\x83" "C\x83t\x83@\x83" "C\x83\x8B(tasko_*.rpy)",
    }},
    {kKeys, sizeof kKeys / sizeof kKeys[0]},
    kColumns.at,
    kColumns.count,
    &CachedSlotPatterns<kPrefix>,
};
