#pragma once
// What mirelrec.kvp says of itself, once: its GetPluginInfo strings and its
// version resource are both made from these (common/PluginDescription.h).
#define KVP_PLUGIN_KIND "Mireldan"
#define KVP_PLUGIN_VERSION_MAJOR 1
#define KVP_PLUGIN_VERSION_MINOR 1
#define KVP_REPLAY_PREFIX "mirel"
#include "replay/ReplayDescription.h"
