#pragma once
// What nivrarec.kvp says of itself, once: its GetPluginInfo strings and its
// version resource are both made from these (common/PluginDescription.h).
#define KVP_PLUGIN_KIND "Nivradan"
#define KVP_PLUGIN_VERSION_MAJOR 1
#define KVP_PLUGIN_VERSION_MINOR 2
#define KVP_REPLAY_PREFIX "nivra"
#include "replay/ReplayDescription.h"
