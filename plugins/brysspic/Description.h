#pragma once
// What brysspic.kvp says of itself, once: its GetPluginInfo strings and its
// version resource are both made from these (common/PluginDescription.h).
#define KVP_PLUGIN_KIND "Bryssdan スクリーンショット"
#define KVP_PLUGIN_VERSION_MAJOR 1
#define KVP_PLUGIN_VERSION_MINOR 0
#define KVP_PLUGIN_PATTERN "sc*.dat"
#define KVP_PLUGIN_FILTER_NOUN "Bryssdan スクリーンファイル"
#include "image/ImageDescription.h"
