#pragma once
// What mirelrec.kvp is: the facts common/PluginDescription.h lists.
#define KVP_PLUGIN_KIND "Mireldan"
#define KVP_PLUGIN_VERSION_MAJOR 1
#define KVP_PLUGIN_VERSION_MINOR 1
#define KVP_REPLAY_PREFIX "mirel"
#define KVP_PLUGIN_READER CMirelRec
#define KVP_PLUGIN_PROFILE kMirelProfile
#define KVP_SAMPLE_SERIES 1
#include "replay/ReplayDescription.h"
