#pragma once
// What nivrarec.kvp is: the facts common/PluginDescription.h lists.
#define KVP_PLUGIN_KIND "Nivradan"
#define KVP_PLUGIN_VERSION_MAJOR 1
#define KVP_PLUGIN_VERSION_MINOR 2
#define KVP_REPLAY_PREFIX "nivra"
#define KVP_PLUGIN_READER CNivraRec
#define KVP_PLUGIN_PROFILE kNivraProfile
#define KVP_SAMPLE_SERIES 3
#include "replay/ReplayDescription.h"
