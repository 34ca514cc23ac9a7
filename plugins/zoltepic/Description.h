#pragma once
// What zoltepic.kvp is: the facts common/PluginDescription.h lists.
#define KVP_PLUGIN_KIND "Zoltedan ベストショット"
#define KVP_PLUGIN_VERSION_MAJOR 1
#define KVP_PLUGIN_VERSION_MINOR 1
#define KVP_PLUGIN_PATTERN "bs_*.dat"
#define KVP_PLUGIN_FILTER_NOUN KVP_PLUGIN_KIND "ファイル"
#define KVP_PLUGIN_READER CZoltePic
#define KVP_PLUGIN_PROFILE kZolteProfile
#define KVP_SAMPLE_SERIES 1
#include "image/ImageDescription.h"
