#pragma once
// Every column title the plug-ins show, in Shift-JIS: one spelling each.

constexpr char kTitleFileName[] = "\x83t\x83@\x83" "C\x83\x8B\x96\xBC";              // ファイル名
constexpr char kTitleUpdateTime[] = "\x8DX\x90V\x93\xFA\x8E\x9E";                    // 更新日時
constexpr char kTitleFileSize[] = "\x83t\x83@\x83" "C\x83\x8B\x83T\x83" "C\x83Y";    // ファイルサイズ
constexpr char kTitleDirectory[] = "\x83" "f\x83" "B\x83\x8C\x83N\x83g\x83\x8A";     // ディレクトリ
constexpr char kTitleSlowRate[] = "\x8F\x88\x97\x9D\x97\x8E\x82\xBF\x97\xA6";        // 処理落ち率
constexpr char kTitleScene[] = "\x83V\x81[\x83\x93";                                 // シーン

// Replay columns.
constexpr char kTitleSlot[] = "No.";
constexpr char kTitlePlayerName[] = "\x83v\x83\x8C\x83" "C\x83\x84\x81[\x96\xBC";    // プレイヤー名
constexpr char kTitlePlayTime[] = "\x83v\x83\x8C\x83" "C\x8E\x9E\x8D\x8F";           // プレイ時刻
constexpr char kTitleCharacter[] = "\x8Eg\x97p\x83L\x83\x83\x83\x89";                // 使用キャラ
constexpr char kTitleRoute[] = "\x83\x8B\x81[\x83g";                                 // ルート
constexpr char kTitleDifficulty[] = "\x93\xEF\x88\xD5\x93x";                         // 難易度
constexpr char kTitleStage[] = "\x83X\x83" "e\x81[\x83W";                            // ステージ
constexpr char kTitleScore[] = "\x83X\x83R\x83" "A";                                 // スコア
constexpr char kTitleVersion[] = "\x83o\x81[\x83W\x83\x87\x83\x93";                  // バージョン
constexpr char kTitleComment[] = "\x83R\x83\x81\x83\x93\x83g";                       // コメント

// Picture columns.
constexpr char kTitleDay[] = "\x93\xFA\x95t";                                        // 日付
constexpr char kTitleDayScene[] = "\x93\xFA\x95t-\x83V\x81[\x83\x93";                // 日付-シーン
constexpr char kTitleWidth[] = "\x95\x9D";                                           // 幅
constexpr char kTitleHeight[] = "\x8D\x82\x82\xB3";                                  // 高さ
constexpr char kTitleShotTime[] = "\x93\xFA\x8E\x9E";                                // 日時
constexpr char kTitleSpellCardName[] = "\x83X\x83y\x83\x8B\x83J\x81[\x83h\x96\xBC";  // スペルカード名
constexpr char kTitleRating[] = "\x95]\x89\xBF\x93_";                                // 評価点
