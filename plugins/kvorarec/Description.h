#pragma once
// What kvorarec.kvp is: the facts common/PluginDescription.h lists.
#define KVP_PLUGIN_KIND "Kvoradan"
#define KVP_PLUGIN_VERSION_MAJOR 1
#define KVP_PLUGIN_VERSION_MINOR 0
#define KVP_REPLAY_PREFIX "kvora"
#define KVP_PLUGIN_READER CKvoraRec
#define KVP_PLUGIN_PROFILE kKvoraProfile
#define KVP_SAMPLE_SERIES 0
#include "replay/ReplayDescription.h"
