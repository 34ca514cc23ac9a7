#pragma once
// What taskorec.kvp says of itself, once: its GetPluginInfo strings and its
// version resource are both made from these (common/PluginDescription.h).
#define KVP_PLUGIN_KIND "Taskodan"
#define KVP_PLUGIN_VERSION_MAJOR 1
#define KVP_PLUGIN_VERSION_MINOR 2
#define KVP_REPLAY_PREFIX "tasko"
#include "replay/ReplayDescription.h"
