#pragma once
// What kvorarec.kvp says of itself, once: its GetPluginInfo strings and its
// version resource are both made from these (common/PluginDescription.h).
#define KVP_PLUGIN_KIND "Kvoradan"
#define KVP_PLUGIN_VERSION_MAJOR 1
#define KVP_PLUGIN_VERSION_MINOR 0
#define KVP_REPLAY_PREFIX "kvora"
#include "replay/ReplayDescription.h"
