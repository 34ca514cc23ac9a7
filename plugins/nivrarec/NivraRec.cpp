#include "NivraRec.h"

#include "replay/ReplayLayouts.h"

namespace {

using namespace replay_layout;

constexpr char kPrefix[] = "nivra";

const InfoKey kKeys[] = {kVersionKey, kNameKey, kDateKey, kCharaKey, kRankKey, kStageKey, kScoreKey, kSlowRateKey};

constexpr auto kColumns = StageColumns(kTitleCharacter, InfoField::Chara);

}  // namespace

const ReplayProfile kNivraProfile = {
    {'n', 'i', 'v', 'r'},
    {{
        "KARVO Plug-in For Nivradan Ver1.02 (C) 2026 the kvp-plugins authors",
        "Nivradan",
        "nivra_*.rpy",
        // "Nivradan リプレイファイル(nivra_*.rpy)"
        "Nivradan \x83\x8A\x83v\x83\x8C\x83" "C\x83t\x83@\x83" "C\x83\x8B(nivra_*.rpy)",
    }},
    {kKeys, sizeof kKeys / sizeof kKeys[0]},
    kColumns.at,
    kColumns.count,
    &CachedSlotPatterns<kPrefix>,
};
