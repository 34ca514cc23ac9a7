#include "KvoraRec.h"

#include "replay/ReplayLayouts.h"

namespace {

using namespace replay_layout;

constexpr char kPrefix[] = "kvora";

const InfoKey kKeys[] = {kVersionKey, kNameKey, kDateKey, kCharaKey, kRankKey, kStageKey, kScoreKey, kSlowRateKey};

constexpr auto kColumns = StageColumns(kTitleCharacter, InfoField::Chara);

}  // namespace

const ReplayProfile kKvoraProfile = {
    {'k', 'v', 'o', 'r'},
    {{
        "KARVO Plug-in For Kvoradan Ver1.00 (C) 2026 the kvp-plugins authors",
        "Kvoradan",
        "kvora_*.rpy",
        // "Kvoradan リプレイファイル(kvora_*.rpy)"
        "Kvoradan \x83\x8A\x83v\x83\x8C\x83" "C\x83t\x83@\x83" "C\x83\x8B(kvora_*.rpy)",
    }},
    {kKeys, sizeof kKeys / sizeof kKeys[0]},
    kColumns.at,
    kColumns.count,
    &CachedSlotPatterns<kPrefix>,
};
