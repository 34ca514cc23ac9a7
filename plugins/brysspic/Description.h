#pragma once
// What brysspic.kvp is: the facts common/PluginDescription.h lists.
#define KVP_PLUGIN_KIND "Bryssdan スクリーンショット"
#define KVP_PLUGIN_VERSION_MAJOR 1
#define KVP_PLUGIN_VERSION_MINOR 0
#define KVP_PLUGIN_PATTERN "sc*.dat"
#define KVP_PLUGIN_FILTER_NOUN "Bryssdan スクリーンファイル"
#define KVP_PLUGIN_READER CBryssPic
#define KVP_PLUGIN_PROFILE kBryssProfile
#define KVP_SAMPLE_SERIES 0
#include "image/ImageDescription.h"
