#pragma once
// Column titles that more than one plug-in shows (Shift-JIS).

constexpr char kTitleFileName[] = "\x83t\x83@\x83" "C\x83\x8B\x96\xBC";                    // ファイル名
constexpr char kTitleUpdateTime[] = "\x8DX\x90V\x93\xFA\x8E\x9E";                           // 更新日時
constexpr char kTitleFileSize[] = "\x83t\x83@\x83" "C\x83\x8B\x83T\x83" "C\x83Y";          // ファイルサイズ
constexpr char kTitleDirectory[] = "\x83" "f\x83" "B\x83\x8C\x83N\x83g\x83\x8A";           // ディレクトリ
constexpr char kTitleSlowRate[] = "\x8F\x88\x97\x9D\x97\x8E\x82\xBF\x97\xA6";               // 処理落ち率
constexpr char kTitleScene[] = "\x83V\x81[\x83\x93";                                        // シーン
constexpr char kTitleCharacter[] = "\x8Eg\x97p\x83L\x83\x83\x83\x89";                       // 使用キャラ
constexpr char kTitleRoute[] = "\x83\x8B\x81[\x83g";                                        // ルート
