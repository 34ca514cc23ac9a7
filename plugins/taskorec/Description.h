#pragma once
// What taskorec.kvp is: the facts common/PluginDescription.h lists.
#define KVP_PLUGIN_KIND "Taskodan"
#define KVP_PLUGIN_VERSION_MAJOR 1
#define KVP_PLUGIN_VERSION_MINOR 2
#define KVP_REPLAY_PREFIX "tasko"
#define KVP_PLUGIN_READER CTaskoRec
#define KVP_PLUGIN_PROFILE kTaskoProfile
#define KVP_SAMPLE_SERIES 2
#include "replay/ReplayDescription.h"
