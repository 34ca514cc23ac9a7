#include "TaskoRec.h"

namespace {

constexpr char kPrefix[] = "tasko";

const InfoKey kKeys[] = {
    {InfoField::Version, "Version ", 8},
    {InfoField::Name, "Name ", 5},
    {InfoField::Date, "Date ", 5},
    {InfoField::Chara, "Chara ", 6},
    {InfoField::Scene, "Score ", -6},
    {InfoField::Score, "Score ", 6},
    {InfoField::SlowRate, "Slow Rate ", 10},
};

const ReplayColumn kColumns[] = {
    {{"\x83t\x83@\x83" "C\x83\x8B\x96\xBC", 0, 0, kHostFileName}, ColumnSource::Host, InfoField::Count},  // ファイル名
    {{"\x8DX\x90V\x93\xFA\x8E\x9E", 0, 0, kHostUpdateTime}, ColumnSource::Host, InfoField::Count},  // 更新日時
    {{"No.", 0, 0, kPluginFills}, ColumnSource::Slot, InfoField::Count},  // No.
    {{"\x83v\x83\x8C\x83" "C\x83\x84\x81[\x96\xBC", 0, 0, kPluginFills}, ColumnSource::Info, InfoField::Name},  // プレイヤー名
    {{"\x83v\x83\x8C\x83" "C\x8E\x9E\x8D\x8F", 0, 0, kPluginFills}, ColumnSource::Info, InfoField::Date},  // プレイ時刻
    {{"\x8Eg\x97p\x83L\x83\x83\x83\x89", 0, 0, kPluginFills}, ColumnSource::Info, InfoField::Chara},  // 使用キャラ
    {{"\x83V\x81[\x83\x93", 0, 0, kPluginFills}, ColumnSource::Info, InfoField::Scene},  // シーン
    {{"\x83X\x83R\x83" "A", 1, 1, kPluginFills}, ColumnSource::Info, InfoField::Score},  // スコア
    {{"\x8F\x88\x97\x9D\x97\x8E\x82\xBF\x97\xA6", 1, 2, kPluginFills}, ColumnSource::Info, InfoField::SlowRate},  // 処理落ち率
    {{"\x83o\x81[\x83W\x83\x87\x83\x93", 0, 0, kPluginFills}, ColumnSource::Info, InfoField::Version},  // バージョン
    {{"\x83R\x83\x81\x83\x93\x83g", 0, 0, kPluginFills}, ColumnSource::Comment, InfoField::Count},  // コメント
    {{"\x83t\x83@\x83" "C\x83\x8B\x83T\x83" "C\x83Y", 1, 1, kHostFileSize}, ColumnSource::Host, InfoField::Count},  // ファイルサイズ
    {{"\x83" "f\x83" "B\x83\x8C\x83N\x83g\x83\x8A", 0, 0, kHostDirectory}, ColumnSource::Host, InfoField::Count},  // ディレクトリ
};

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
    kColumns,
    sizeof kColumns / sizeof kColumns[0],
    &CachedSlotPatterns<kPrefix>,
};
