#pragma once
// The column layouts and key lists the replay games share. A game's profile
// picks one and names its own character (or route) column.
#include <cstddef>
#include <cstdint>

#include "common/ColumnTitles.h"
#include "replay/ReplayProfile.h"

struct ReplayColumnSpec {
    const char* title;
    int32_t rightAlign;
    int32_t sortKind;
    int32_t hostField;
    ColumnSource source;
    InfoField field;
};

template <size_t N>
struct ReplayColumns {
    ReplayColumn at[N];
    static constexpr uint32_t count = N;
};

template <size_t N>
constexpr ReplayColumns<N> MakeReplayColumns(const ReplayColumnSpec (&specs)[N])
{
    ReplayColumns<N> table{};
    for (size_t i = 0; i < N; ++i) {
        table.at[i].info = MakeColumnInfo(specs[i].title, specs[i].rightAlign, specs[i].sortKind, specs[i].hostField);
        table.at[i].source = specs[i].source;
        table.at[i].field = specs[i].field;
    }
    return table;
}

namespace replay_layout {

constexpr InfoField kNone = InfoField::Count;

// The columns every replay game shows.
constexpr ReplayColumnSpec kFileNameColumn{kTitleFileName, 0, 0, kHostFileName, ColumnSource::Host, kNone};
constexpr ReplayColumnSpec kUpdateTimeColumn{kTitleUpdateTime, 0, 0, kHostUpdateTime, ColumnSource::Host, kNone};
constexpr ReplayColumnSpec kSlotColumn{kTitleSlot, 0, 0, kPluginFills, ColumnSource::Slot, kNone};
constexpr ReplayColumnSpec kNameColumn{kTitlePlayerName, 0, 0, kPluginFills, ColumnSource::Info, InfoField::Name};
constexpr ReplayColumnSpec kDateColumn{kTitlePlayTime, 0, 0, kPluginFills, ColumnSource::Info, InfoField::Date};
constexpr ReplayColumnSpec kScoreColumn{kTitleScore, 1, 1, kPluginFills, ColumnSource::Info, InfoField::Score};
constexpr ReplayColumnSpec kSlowRateColumn{kTitleSlowRate, 1, 2, kPluginFills, ColumnSource::Info, InfoField::SlowRate};
constexpr ReplayColumnSpec kVersionColumn{kTitleVersion, 0, 0, kPluginFills, ColumnSource::Info, InfoField::Version};
constexpr ReplayColumnSpec kCommentColumn{kTitleComment, 0, 0, kPluginFills, ColumnSource::Comment, kNone};
constexpr ReplayColumnSpec kFileSizeColumn{kTitleFileSize, 1, 1, kHostFileSize, ColumnSource::Host, kNone};
constexpr ReplayColumnSpec kDirectoryColumn{kTitleDirectory, 0, 0, kHostDirectory, ColumnSource::Host, kNone};

// Games whose replays name difficulty and stage: 14 columns.
constexpr ReplayColumns<14> StageColumns(const char* characterTitle, InfoField characterField)
{
    const ReplayColumnSpec specs[14] = {
        kFileNameColumn, kUpdateTimeColumn, kSlotColumn, kNameColumn, kDateColumn,
        {characterTitle, 0, 0, kPluginFills, ColumnSource::Info, characterField},
        {kTitleDifficulty, 0, 0, kPluginFills, ColumnSource::Info, InfoField::Rank},
        {kTitleStage, 0, 0, kPluginFills, ColumnSource::Info, InfoField::Stage},
        kScoreColumn, kSlowRateColumn, kVersionColumn, kCommentColumn, kFileSizeColumn, kDirectoryColumn,
    };
    return MakeReplayColumns(specs);
}

// Games whose replays name a scene instead: 13 columns.
constexpr ReplayColumns<13> SceneColumns()
{
    const ReplayColumnSpec specs[13] = {
        kFileNameColumn, kUpdateTimeColumn, kSlotColumn, kNameColumn, kDateColumn,
        {kTitleCharacter, 0, 0, kPluginFills, ColumnSource::Info, InfoField::Chara},
        {kTitleScene, 0, 0, kPluginFills, ColumnSource::Info, InfoField::Scene},
        kScoreColumn, kSlowRateColumn, kVersionColumn, kCommentColumn, kFileSizeColumn, kDirectoryColumn,
    };
    return MakeReplayColumns(specs);
}

// Key lists: every key is matched with its trailing blank.
constexpr InfoKey kVersionKey{InfoField::Version, "Version ", 8};
constexpr InfoKey kNameKey{InfoField::Name, "Name ", 5};
constexpr InfoKey kDateKey{InfoField::Date, "Date ", 5};
constexpr InfoKey kCharaKey{InfoField::Chara, "Chara ", 6};
constexpr InfoKey kRouteKey{InfoField::Route, "Route ", 6};
constexpr InfoKey kRankKey{InfoField::Rank, "Rank ", 5};
constexpr InfoKey kStageKey{InfoField::Stage, "Stage ", 6};
constexpr InfoKey kScoreKey{InfoField::Score, "Score ", 6};
constexpr InfoKey kSlowRateKey{InfoField::SlowRate, "Slow Rate ", 10};
// The scene has no key: it is the last four bytes (and CR LF) before "Score ".
constexpr InfoKey kSceneBeforeScoreKey{InfoField::Scene, "Score ", -6};

}  // namespace replay_layout
