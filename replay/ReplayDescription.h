#pragma once
// What a replay plug-in's texts derive from its game's title
// (KVP_PLUGIN_KIND) and its replays' file-name prefix (KVP_REPLAY_PREFIX),
// and the reader its own is made from.
#define KVP_KIND_READER CReplayReader
#define KVP_KIND_READER_HEADER "replay/CReplayReader.h"
#define KVP_PLUGIN_PATTERN KVP_REPLAY_PREFIX "_*.rpy"
#define KVP_PLUGIN_FILE_NOUN KVP_PLUGIN_KIND " リプレイ"
#define KVP_PLUGIN_FILTER_NOUN KVP_PLUGIN_FILE_NOUN "ファイル"
#include "common/PluginDescription.h"
