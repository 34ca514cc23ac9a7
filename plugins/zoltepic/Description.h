#pragma once
// What zoltepic.kvp says of itself, once: its GetPluginInfo strings and its
// version resource are both made from these (common/PluginDescription.h).
#define KVP_PLUGIN_KIND "Zoltedan ベストショット"
#define KVP_PLUGIN_VERSION_MAJOR 1
#define KVP_PLUGIN_VERSION_MINOR 1
#define KVP_PLUGIN_PATTERN "bs_*.dat"
#define KVP_PLUGIN_FILTER_NOUN KVP_PLUGIN_KIND "ファイル"
#include "image/ImageDescription.h"
